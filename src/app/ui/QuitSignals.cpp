// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/QuitSignals.h"

#include "app/ui/Application.h"
#include "app/ui/TWMainForm.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> EndingSignals{SIGTERM, SIGINT, SIGHUP};

// A modal window that will not close (a box waiting for an answer it must
// have) stops the ending after this many steps; the run then goes on.
constexpr int MaxSteps = 300;
constexpr int StepInterval = 10; // ms

// The write end of the pipe, for the handler, which may touch nothing else.
volatile std::sig_atomic_t signalPipe = -1;

extern "C" void WriteSignal(int signal)
{
    const char number = static_cast<char>(signal);
    const int fd = signalPipe;
    if (fd >= 0) [[maybe_unused]]
        const auto written = write(fd, &number, 1);
}

TTWMainFm* MainWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<TTWMainFm*>(window))
            return main;
    return nullptr;
}

} // namespace

TQuitSignals::TQuitSignals(QObject* parent) : QObject(parent)
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipe_.data()) != 0)
        return;
    signalPipe = pipe_[0];
    notifier_ = new QSocketNotifier(pipe_[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TQuitSignals::Received);
    struct sigaction action = {};
    action.sa_handler = WriteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : EndingSignals)
        sigaction(signal, &action, nullptr);
}

TQuitSignals::~TQuitSignals()
{
    for (const int signal : EndingSignals)
        std::signal(signal, SIG_DFL);
    signalPipe = -1;
    for (const int fd : pipe_)
        if (fd >= 0)
            close(fd);
}

void TQuitSignals::Received()
{
    char numbers[16];
    while (read(pipe_[1], numbers, sizeof numbers) > 0) {
    }
    if (ending_)
        return;
    ending_ = true;
    EndStep();
}

void TQuitSignals::EndStep()
{
    const auto again = [this] {
        if (++steps_ < MaxSteps)
            QTimer::singleShot(StepInterval, this, &TQuitSignals::EndStep);
        else
            ending_ = false;
    };
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        again();
        return;
    }
    // The window that ran a modal one finishes its work (a drill's lesson
    // and time) once that modal loop has returned.
    if (QThread::currentThread()->loopLevel() > 1) {
        again();
        return;
    }
    if (TTWMainFm* main = MainWindow()) {
        main->CloseWithoutReport();
        // A save that failed keeps the window, and its box told why; a
        // later signal tries again.
        ending_ = false;
        return;
    }
    if (QWidget* logon = TApplication::MainForm())
        logon->close();
}
