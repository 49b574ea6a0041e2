// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Application.h"

#include "base/Translate.h"
#include "base/ui/MessageBoxes.h"

#include <QPointer>
#include <QWidget>

namespace {

QPointer<QWidget>& TheMainForm()
{
    static QPointer<QWidget> form;
    return form;
}

} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("tapwren"));
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowException(std::runtime_error(_("An unexpected error occurred.")));
    }
    return false;
}

void TApplication::ShowException(const std::exception& error)
{
    TMessageBoxes::Error(activeWindow(), QString::fromUtf8(error.what()));
}

void TApplication::SetMainForm(QWidget* form)
{
    TheMainForm() = form;
}

QWidget* TApplication::MainForm()
{
    return TheMainForm();
}
