// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on the shipped data: from SetProfile (the template loaded,
// the keyboard and hands windows built) to the window painted; from each
// button's action to its activity's window painted (for the drills that
// guide, the keyboard and the hands painted too); and the CPU time the main
// window uses in 10 s of idling while nothing blinks.
// Build Release, then run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/bench/bench_main_window
#include "../tests/logic/FakeLayoutPlatform.h"
#include "ShippedData.h"
#include "app/GlobalVar.h"
#include "app/ui/Application.h"
#include "app/ui/FormInput.h"
#include "app/ui/TWMainForm.h"
#include "base/ui/MessageBoxes.h"
#include "game/ui/game.h"
#include "keyboard/MainData.h"
#include "keyboard/ui/KbForm.h"
#include "keyboard/ui/keyboard.h"
#include "keyboard/ui/palm.h"
#include "layout/KeyboardLayoutAgent.h"
#include "profile/ProfileStore.h"
#include "profile/ProfileVar.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Notes the first paint in each window, and runs Painted after each.
class TPaints : public QObject
{
public:
    std::map<QObject*, Clock::time_point> First;
    std::function<void()> Painted;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        // A window covered by its children gets no paint of its own.
        QWidget* window = static_cast<QWidget*>(watched)->window();
        if (!First.count(window)) {
            First[window] = Clock::now();
            if (Painted)
                Painted();
        }
        return false;
    }
    bool Has(QObject* window) const { return First.count(window) != 0; }
};

struct TSummary
{
    double Median;
    double Worst;
};

TSummary Summary(std::vector<double> times)
{
    std::ranges::sort(times);
    return {times[times.size() / 2], times.back()};
}

double CpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void RunEventLoopFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// CPU time the process takes while its event loop idles for 10 s, once the
// last window shown has settled (focus, activation and polish come after its
// first paint).
double IdleCpuMs()
{
    RunEventLoopFor(1000);
    const double before = CpuMs();
    RunEventLoopFor(10000);
    return CpuMs() - before;
}

std::unique_ptr<TKeyboardLayoutAgent> Desktop()
{
    auto platform = std::make_unique<TFakeLayoutPlatform>();
    const TInstalledLayout us = {
        0x00000409, "English (US)", true, {0x0409, "English (United States)", "United States"}};
    platform->Installed = {us, German()};
    platform->Loaded = {{{0x00000409, "English (US)"}}, 0};
    auto agent = std::make_unique<TKeyboardLayoutAgent>(std::move(platform));
    agent->Refresh();
    return agent;
}

// From the action to the window of the activity painted, with the windows
// that guide it; then the window is closed again.
double OpenOnce(TTWMainFm& main, QPushButton* button, TPaints& paints, bool guided)
{
    paints.First.clear();
    const auto allPainted = [&] {
        QWidget* shown = QApplication::activeModalWidget();
        if (shown == nullptr || !paints.Has(shown))
            return false;
        return !guided || (paints.Has(main.VKeyboard) && paints.Has(main.PalmForm));
    };
    bool closing = false;
    paints.Painted = [&] {
        if (closing || !allPainted())
            return;
        closing = true;
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    };
    const auto start = Clock::now();
    button->click();
    paints.Painted = nullptr;
    Clock::time_point last = start;
    for (const auto& [window, at] : paints.First)
        if (window != &main)
            last = std::max(last, at);
    return Ms(start, last);
}

// The game: from the action to its window painted; the difficulty is
// answered and the game left at once.
double OpenGame(TTWMainFm& main, TPaints& paints)
{
    paints.First.clear();
    bool answering = false;
    paints.Painted = [&] {
        if (answering || main.gameFrame == nullptr || !paints.Has(main.gameFrame))
            return;
        answering = true;
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<THInputBox*>(QApplication::activeModalWidget())) {
                box->Edit->setText(QStringLiteral("1"));
                box->BnOK->click();
            }
        });
    };
    const auto start = Clock::now();
    main.GameBn->click();
    paints.Painted = nullptr;
    const double ms = Ms(start, paints.First.at(main.gameFrame));
    main.gameFrame->close();
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const auto [data, program] = CopyShippedData(dir.path().toStdString());
    TSettings settings(program.string() + "/", data.string() + "/");
    settings.Load();
    Settings = &settings;
    TDataMod dataMod(settings.CodePage());
    DataMod = &dataMod;
    // Only the game's exit question is expected; anything else spoils the figures.
    TMessageBoxes::SetResponder([](TMessageBoxes::Kind kind, const QString& text) {
        if (kind != TMessageBoxes::Kind::Confirmation)
            std::fprintf(stderr, "unexpected message: %s\n", qPrintable(text));
        return true;
    });
    QWidget logon;
    TApplication::SetMainForm(&logon);
    const std::unique_ptr<TKeyboardLayoutAgent> agent = Desktop();
    TProfile profile;
    TProfileStore store(settings.DataDir + "twc.ini");
    store.Bind(profile);
    profile.UserName = "Default";
    profile.Load();
    TPaints paints;
    app.installEventFilter(&paints);

    std::vector<double> created;
    std::vector<double> shown;
    for (int run = 0; run < 15; ++run) {
        const auto start = Clock::now();
        auto* main = new TTWMainFm();
        main->SetLayoutAgent(agent.get());
        const auto made = Clock::now();
        paints.First.clear();
        main->SetProfile(profile);
        main->show();
        while (!paints.Has(main))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        created.push_back(Ms(start, made));
        shown.push_back(Ms(made, paints.First.at(main)));
        delete main;
    }
    const TSummary make = Summary(created);
    const TSummary show = Summary(shown);
    std::printf("main window: created                    median %7.2f ms   worst %7.2f ms\n",
                make.Median, make.Worst);
    std::printf("main window: SetProfile to painted      median %7.2f ms   worst %7.2f ms\n",
                show.Median, show.Worst);

    auto* main = new TTWMainFm();
    main->SetLayoutAgent(agent.get());
    main->SetProfile(profile);
    main->show();
    while (!paints.Has(main))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("on-screen keyboard: %zu keys\n", main->VKeyboard->KbFrame->ButtonCount());
    std::printf("main window idle, 10 s after logon      CPU %7.2f ms\n", IdleCpuMs());

    struct Activity
    {
        const char* name;
        QPushButton* button;
        bool guided;
    };
    const Activity drills[] = {{"course", main->CourseBn, true},
                               {"sentence", main->SentenceBn, true},
                               {"free", main->FreeBn, true},
                               {"paragraph", main->ParagraphBn, false}};
    for (const Activity& drill : drills) {
        std::vector<double> times;
        for (int run = 0; run < 15; ++run)
            times.push_back(OpenOnce(*main, drill.button, paints, drill.guided));
        const TSummary s = Summary(times);
        std::printf("%-9s drill: action to painted       median %7.2f ms   worst %7.2f ms\n",
                    drill.name, s.Median, s.Worst);
    }
    std::printf("main window idle, 10 s after the drills CPU %7.2f ms\n", IdleCpuMs());
    const double firstGame = OpenGame(*main, paints);
    std::vector<double> games;
    for (int run = 0; run < 15; ++run)
        games.push_back(OpenGame(*main, paints));
    const TSummary g = Summary(games);
    std::printf("game: first action to painted           %7.2f ms\n", firstGame);
    std::printf("game: later actions to painted          median %7.2f ms   worst %7.2f ms\n",
                g.Median, g.Worst);
    std::printf("main window idle, 10 s after the games  CPU %7.2f ms\n", IdleCpuMs());

    delete main;
    app.removeEventFilter(&paints);
    TMessageBoxes::SetResponder({});
    TApplication::SetMainForm(nullptr);
    DataMod = nullptr;
    Settings = nullptr;
    return 0;
}
