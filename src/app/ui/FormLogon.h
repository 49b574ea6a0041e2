// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/UserList.h"
#include "app/ui/about.h"

class QComboBox;
class TTWStarterLocal;

// The first window of the run and the application's main window: the user
// picks or types a name and logs on, adds a user based on another one, or
// removes a user. Closing it ends the run.
class TFmLogon : public TAboutBox
{
    Q_OBJECT
public:
    explicit TFmLogon(QWidget* parent = nullptr);

    QLabel* Label1;
    QComboBox* ComboUser;
    QPushButton* BnAdd;
    QPushButton* BnRemove;
    QPushButton* BnCancel;

    // Set by the start-up right after the window is created.
    TTWStarterLocal* Starter = nullptr;

    void FormShow();
    void OKButtonClick() override;
    void BnAddClick();
    void BnRemoveClick();
    void BnCancelClick();

signals:
    // The window has closed: the run is over.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    std::string TypedName() const;
    void FillList();

    TUserList users_;
};
