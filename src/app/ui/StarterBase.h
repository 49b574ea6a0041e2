// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ui/TWMainForm.h"
#include "profile/ProfileVar.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

class TDataMod;
class TKeyboardLayoutAgent;

// Stands between the logon window and the rest of the program: owns the two
// profiles the logon window works with and the run's one keyboard layout
// agent, and starts the main window for the user who logs on. Subclasses
// decide where profiles are stored.
class TTWStarterBase : public QObject
{
    Q_OBJECT
public:
    // The agent is the run's only one; the starter reads the layouts through
    // it at once.
    TTWStarterBase(QObject* owner, std::unique_ptr<TKeyboardLayoutAgent> agent);
    ~TTWStarterBase() override;

    std::unique_ptr<TProfile> UserProfile;
    std::unique_ptr<TProfile> NewUserProfile;
    std::unique_ptr<TKeyboardLayoutAgent> LayoutAgent;

    // Creates the main window, loads the profile and shows the main window
    // in place of the logon window. A failed load throws, and leaves no main
    // window behind.
    virtual void StartMain(TProfile& profile);
    virtual void LoadProfile(TProfile& sender, const std::string& name) = 0;
    virtual void SaveProfile(TProfile& sender, const std::string& name) = 0;

    // The main window once a user has logged on; null before, and again
    // once it has closed (it frees itself).
    TTWMainFm* MainFm() const { return mainFm_; }

protected:
    // Points the profile's OnLoad and OnSave at this starter's store.
    void BindProfile(TProfile& profile);
    // Between the profile's load and the main window's showing.
    virtual void PrepareMain(TTWMainFm&) {}

private:
    std::unique_ptr<TDataMod> dataMod_;
    QPointer<TTWMainFm> mainFm_;
};
