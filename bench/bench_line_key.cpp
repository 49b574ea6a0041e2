// SPDX-License-Identifier: GPL-3.0-or-later
// Times one key press through the real line drill window (offscreen), for a
// 1 KB and a 1 MB sample of words in one paragraph (the worst case for the
// sample box). The cost of a key must not grow with the sample. Also with the
// keyboard and hands of the English course marking every next key, as windows
// of their own and inside the drill window: run it offscreen (the default),
// under X11 (QT_QPA_PLATFORM=xcb) and under Wayland (QT_QPA_PLATFORM=wayland).
#include "base/CodePage.h"
#include "drills/stopw.h"
#include "drills/ui/GuidanceWindows.h"
#include "drills/ui/line.h"
#include "history/Recording.h"
#include "keyboard/MainData.h"
#include "keyboard/ui/keyboard.h"
#include "keyboard/ui/palm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextEdit>
#include <chrono>
#include <cstdio>
#include <random>

namespace {

class TFmBenchLine : public TFmLinePractice
{
public:
    TFmBenchLine(const TCodePage& codePage, std::string sample)
        : TFmLinePractice(codePage), sample_(std::move(sample))
    {}
    void NextLine() override
    {
        SetSample(sample_);
        Engine.SampleLength = static_cast<int>(sample_.size());
        Engine.WordCount = 1;
        Engine.Position = 1;
        DrillStopwatch().SetElapsed(0);
        ShowNextKey(Engine.At(1));
        ResetDisplay();
    }
    void Start() { NextLine(); }

private:
    std::string sample_;
};

std::string MakeSample(std::size_t size)
{
    std::mt19937 random(42);
    std::string text;
    while (text.size() < size) {
        const int word = 2 + static_cast<int>(random() % 7);
        for (int i = 0; i < word; ++i)
            text += static_cast<char>('a' + random() % 26);
        text += ' ';
    }
    text.resize(size);
    return text;
}

// The guidance of a logged-on user: the English course's keyboard and hands.
struct TBenchGuidance
{
    explicit TBenchGuidance(const TCodePage& codePage) : keyboard(data, codePage)
    {
        keyboard.LoadTemplate(TAPWREN_BUILD_DATA_DIR "Courses/English/layout.twt");
        for (TPalmForm* hand : {&left, &right}) {
            hand->SetHand(hand == &left);
            hand->LayoutFingers(data);
        }
    }
    TDataMod data;
    TVKeyboard keyboard;
    TPalmForm left;
    TPalmForm right;
    TGuidanceWindows windows{keyboard, left, right};
};

double MicrosecondsPerKey(const TCodePage& codePage, std::size_t size, int keys,
                          TLineObserver* observer = nullptr, TGuidanceWindows* guidance = nullptr)
{
    const std::string sample = MakeSample(size);
    auto form = TFmLinePractice::Create<TFmBenchLine>(codePage, sample);
    if (guidance != nullptr) {
        guidance->DockIn(form->GuidanceDock);
        form->SetGuidanceWindows(guidance);
    }
    form->Engine.Observer = observer;
    form->Engine.HighlightFlag = true;
    form->Start();
    form->show();
    QApplication::processEvents();

    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < keys; ++i) {
        const QString text(QChar(sample[static_cast<std::size_t>(i)]));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(form->InputEdit, &press);
        QApplication::processEvents();
    }
    const auto stop = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(stop - start).count() / keys;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const TCodePage codePage;
    const int keys = 1000;
    MicrosecondsPerKey(codePage, 1024, 100); // warm up fonts and caches
    const double small = MicrosecondsPerKey(codePage, 1024, keys);
    const double large = MicrosecondsPerKey(codePage, 1024 * 1024, keys);
    // The keys kept for the history, as every drill's are.
    TLineRecorder recorder([](const TLineRecord&) {}, THistoryActivity::Course, "English");
    const double recorded = MicrosecondsPerKey(codePage, 1024, keys, &recorder);
    TBenchGuidance guidance(codePage);
    const bool embedded = guidance.windows.Embedded();
    const double guided = MicrosecondsPerKey(codePage, 1024, keys, nullptr, &guidance.windows);
    guidance.windows.Embed();
    const double inside = MicrosecondsPerKey(codePage, 1024, keys, nullptr, &guidance.windows);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("key press, 1 KB sample: %.1f us\n", small);
    std::printf("key press, 1 KB sample, guidance %s: %.1f us\n",
                embedded ? "inside the drill window" : "in windows of its own", guided);
    std::printf("key press, 1 KB sample, guidance inside the drill window: %.1f us\n", inside);
    std::printf("key press, 1 KB sample, keys kept for the history: %.1f us\n", recorded);
    std::printf("key press, 1 MB sample: %.1f us\n", large);
    std::printf("ratio 1 MB / 1 KB: %.2f\n", large / small);
    return 0;
}
