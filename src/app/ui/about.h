// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QFrame;
class QIcon;
class QLabel;
class QPushButton;

// The program's about panel: name, icon, version, licence and web address on
// a money-green borderless window. The logon window builds on it.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* Panel1;
    QFrame* Bevel1;
    QLabel* ProductNameLb;
    QLabel* Image1;
    QLabel* VersionLb;
    QLabel* LicenceLb;
    QLabel* WebLb;
    QPushButton* OKButton;

    virtual void OKButtonClick();
    void WebLbClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The program's icon, for windows and the about panel.
QIcon ProgramIcon();
