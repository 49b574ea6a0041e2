// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ui/MessageBoxes.h"

#include "base/Translate.h"

#include <QApplication>
#include <QMessageBox>

namespace {

TMessageBoxes::Responder& CurrentResponder()
{
    static TMessageBoxes::Responder responder;
    return responder;
}

} // namespace

void TMessageBoxes::Information(QWidget* parent, const QString& text)
{
    Show(parent, Kind::Information, text);
}

void TMessageBoxes::Warning(QWidget* parent, const QString& text)
{
    Show(parent, Kind::Warning, text);
}

void TMessageBoxes::Error(QWidget* parent, const QString& text)
{
    Show(parent, Kind::Error, text);
}

bool TMessageBoxes::Confirm(QWidget* parent, const QString& text)
{
    return Show(parent, Kind::Confirmation, text);
}

void TMessageBoxes::Plain(QWidget* parent, const QString& text)
{
    Show(parent, Kind::Plain, text);
}

void TMessageBoxes::SetResponder(Responder responder)
{
    CurrentResponder() = std::move(responder);
}

bool TMessageBoxes::Show(QWidget* parent, Kind kind, const QString& text)
{
    if (CurrentResponder())
        return CurrentResponder()(kind, text);

    QMessageBox box(parent);
    box.setText(text);
    switch (kind) {
    case Kind::Information:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(QString::fromUtf8(_("Information")));
        break;
    case Kind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(QString::fromUtf8(_("Warning")));
        break;
    case Kind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setWindowTitle(QString::fromUtf8(_("Error")));
        break;
    case Kind::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(QString::fromUtf8(_("Confirm")));
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    case Kind::Plain:
        box.setWindowTitle(QApplication::applicationDisplayName());
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return true;
}
