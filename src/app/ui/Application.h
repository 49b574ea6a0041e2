// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <exception>

// The application object. An error that no handler catches ends up in its
// general error report: an error box with the message, and the program goes
// on with the next event.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the message of an error in an error box.
    static void ShowException(const std::exception& error);

    // The application's main window, the logon window: closing it ends the
    // run. None until the start-up sets it (and in tests that do not).
    static void SetMainForm(QWidget* form);
    static QWidget* MainForm();
};

// Runs an event handler; an error it raises goes to the general error report
// here, as an error of any other event does, instead of unwinding through the
// toolkit's event handling.
template <class Action> void Guarded(Action&& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        TApplication::ShowException(error);
    }
}
