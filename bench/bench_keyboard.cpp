// SPDX-License-Identifier: GPL-3.0-or-later
// Times the on-screen keyboard (offscreen) with the shipped US template:
// loading the template and building the keys, and ShowKey alone and with
// the repaint it causes. Goals: load and build under 20 ms, ShowKey under
// 50 us. The template is the build's, or the file named on the command line.
#include "base/CodePage.h"
#include "keyboard/MainData.h"
#include "keyboard/ui/KbForm.h"
#include "keyboard/ui/keyboard.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <string_view>

namespace {

using Clock = std::chrono::steady_clock;

double Microseconds(Clock::time_point start, Clock::time_point stop, int runs)
{
    return std::chrono::duration<double, std::micro>(stop - start).count() / runs;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string layout =
        argc > 1 ? argv[1]
                 : (QCoreApplication::applicationDirPath() + "/../data/Courses/English/layout.twt")
                       .toStdString();
    const TCodePage codePage;
    TDataMod data(codePage);
    if (!data.LoadTemplate(layout)) {
        std::fprintf(stderr, "cannot load %s\n", layout.c_str());
        return 1;
    }
    TVKeyboard keyboard(data, codePage);
    keyboard.SetBlinking(false);
    keyboard.LoadTemplate(layout); // warm up fonts and caches
    keyboard.show();
    QApplication::processEvents();

    const int loads = 50;
    auto start = Clock::now();
    for (int i = 0; i < loads; ++i)
        data.LoadTemplate(layout);
    auto stop = Clock::now();
    const double readOnly = Microseconds(start, stop, loads);

    start = Clock::now();
    for (int i = 0; i < loads; ++i)
        keyboard.LoadTemplate(layout);
    stop = Clock::now();
    const double loadAndBuild = Microseconds(start, stop, loads);
    QApplication::processEvents();

    const std::string_view text = "The quick brown fox jumps over the lazy dog; 1234567890!?";
    const int keys = 100000;
    start = Clock::now();
    for (int i = 0; i < keys; ++i)
        keyboard.ShowKey(
            static_cast<unsigned char>(text[static_cast<std::size_t>(i) % text.size()]));
    stop = Clock::now();
    const double showKey = Microseconds(start, stop, keys);

    const int painted = 2000;
    start = Clock::now();
    for (int i = 0; i < painted; ++i) {
        keyboard.ShowKey(
            static_cast<unsigned char>(text[static_cast<std::size_t>(i) % text.size()]));
        QApplication::processEvents();
    }
    stop = Clock::now();
    const double showKeyPainted = Microseconds(start, stop, painted);

    std::printf("keys: %zu\n", keyboard.KbFrame->ButtonCount());
    std::printf("TDataMod::LoadTemplate: %.0f us\n", readOnly);
    std::printf("TVKeyboard::LoadTemplate (clear, read, fit, build): %.0f us (goal 20000)\n",
                loadAndBuild);
    std::printf("ShowKey: %.2f us (goal 50)\n", showKey);
    std::printf("ShowKey with repaint: %.1f us\n", showKeyPainted);
    return 0;
}
