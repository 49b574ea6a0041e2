// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ui/StarterBase.h"

// The starter on the INI profile store in the data folder; the one the
// program runs with.
class TTWStarterLocal : public TTWStarterBase
{
    Q_OBJECT
public:
    using TTWStarterBase::TTWStarterBase;

    void LoadProfile(TProfile& sender, const std::string& name) override;
    void SaveProfile(TProfile& sender, const std::string& name) override;

    // Runs the profile dialog for a new user based on the profile's
    // settings; returns the dialog's result (QDialog::Accepted when the user
    // accepted). The profile is not saved here.
    int EditNewProfile(TProfile& profile);

protected:
    void PrepareMain(TTWMainFm& mainFm) override;
};
