// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <array>

class QSocketNotifier;

// Ends the run as Exit does when the system asks the program to stop:
// SIGTERM (kill, the end of the session), SIGINT (Ctrl+C in its terminal)
// and SIGHUP (its terminal closed). The handler only writes the signal to a
// pipe; the event loop then closes the modal windows, so a drill hands back
// its practice time and lesson, and then the main window without the report
// of practice time: the profile and the settings are saved and the keyboard
// layout put back. Before anyone has logged on, the logon window closes.
//
// One for the run, made once the application object exists.
class TQuitSignals : public QObject
{
    Q_OBJECT
public:
    explicit TQuitSignals(QObject* parent = nullptr);
    ~TQuitSignals() override;
    TQuitSignals(const TQuitSignals&) = delete;
    TQuitSignals& operator=(const TQuitSignals&) = delete;

    // Whether a signal has started the end of the run.
    bool Ending() const { return ending_; }

private:
    void Received();
    // One step towards the end; repeated until the main window can close.
    void EndStep();

    std::array<int, 2> pipe_{-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    bool ending_ = false;
    int steps_ = 0;
};
