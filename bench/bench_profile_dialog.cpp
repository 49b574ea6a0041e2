// SPDX-License-Identifier: GPL-3.0-or-later
// From ShowForProfile to the profile dialog painted on screen. The first
// opening of a run also reads the installed layouts; later ones do not.
// Run under an X server: xvfb-run -a -s "-noreset" build/bench/bench/bench_profile_dialog
#include "base/CodePage.h"
#include "layout/KeyboardLayoutAgent.h"
#include "profile/ProfileVar.h"
#include "profile/ui/ProfileForm.h"

#include <QApplication>
#include <QEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Closes the dialog at its first paint and notes when that was.
class TFirstPaint : public QObject
{
public:
    Clock::time_point At;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && At == Clock::time_point{}) {
            At = Clock::now();
            QMetaObject::invokeMethod(static_cast<QDialog*>(watched), "reject",
                                      Qt::QueuedConnection);
        }
        return false;
    }
};

double OpenOnce(TKeyboardLayoutAgent& agent, TProfile& profile, const TCodePage& codePage)
{
    TProfileFm dialog(codePage);
    dialog.SetCourses({"English", "Deutsch"});
    dialog.SetAgent(&agent);
    TFirstPaint paint;
    dialog.installEventFilter(&paint);
    const auto start = Clock::now();
    dialog.ShowForProfile(&profile);
    return std::chrono::duration<double, std::milli>(paint.At - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const TCodePage codePage;
    TProfile profile;
    profile.LoadFromStrings({});
    profile.UserName = "Ann";

    TKeyboardLayoutAgent agent;
    agent.Refresh();
    std::printf("first opening (reads the layouts)  %7.2f ms\n",
                OpenOnce(agent, profile, codePage));
    std::vector<double> later;
    for (int run = 0; run < 20; ++run)
        later.push_back(OpenOnce(agent, profile, codePage));
    std::ranges::sort(later);
    std::printf("later openings                     median %7.2f ms   worst %7.2f ms\n",
                later[later.size() / 2], later.back());
    return 0;
}
