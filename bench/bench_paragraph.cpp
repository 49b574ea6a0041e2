// SPDX-License-Identifier: GPL-3.0-or-later
// Loads a 1 MB plain text and a 1 MB RTF file into the paragraph drill and
// types through the first 1,000 characters of each; a 1 KB text gives the
// per-key cost to compare with. Then types a single paragraph of 20,000
// characters to its end: a key near the end must cost about what one near
// the start does.
#include "base/CodePage.h"
#include "drills/stopw.h"
#include "drills/ui/LongText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextEdit>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <time.h>

namespace {

using Clock = std::chrono::steady_clock;

std::string Words(std::size_t size)
{
    std::mt19937 random(7);
    std::string text;
    std::size_t line = 0;
    while (text.size() < size) {
        const int word = 2 + static_cast<int>(random() % 7);
        for (int i = 0; i < word; ++i)
            text += static_cast<char>('a' + random() % 26);
        line += static_cast<std::size_t>(word) + 1;
        if (line > 600) { // paragraphs of a few lines
            text += '\n';
            line = 0;
        } else {
            text += ' ';
        }
    }
    text.resize(size);
    return text;
}

// One paragraph of words, no line break.
std::string Paragraph(std::size_t size)
{
    std::string text = Words(size * 2);
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    text.resize(size);
    return text;
}

std::string Rtf(const std::string& plain)
{
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ";
    for (const char c : plain)
        rtf += c == '\n' ? std::string("\\par\n") : std::string(1, c);
    return rtf + "}";
}

struct TFigures
{
    double loadMs;
    double keyUs;
};

void PressKey(QWidget* box, char c)
{
    const bool lineBreak = c == '\r' || c == '\n';
    QKeyEvent press(QEvent::KeyPress, lineBreak ? Qt::Key_Return : Qt::Key_unknown, Qt::NoModifier,
                    lineBreak ? QString() : QString(QChar(c)));
    QApplication::sendEvent(box, &press);
    QApplication::processEvents();
}

TFigures Run(const TCodePage& codePage, const std::string& path, int keys)
{
    auto form = TFmLinePractice::Create<TFmLongText>(codePage);
    form->show();
    QApplication::processEvents();

    const auto loadStart = Clock::now();
    form->LoadTextFrom(path);
    QApplication::processEvents();
    const auto loadEnd = Clock::now();

    const std::string sample = form->Engine.Sample();
    const auto typeStart = Clock::now();
    for (int i = 0; i < keys; ++i) {
        const char c = sample[static_cast<std::size_t>(i)];
        if (c != '\n') // the Enter at the CR types the whole line break
            PressKey(form->InputEdit, c);
    }
    const auto typeEnd = Clock::now();
    return {std::chrono::duration<double, std::milli>(loadEnd - loadStart).count(),
            std::chrono::duration<double, std::micro>(typeEnd - typeStart).count() / keys};
}

// Processor time of this thread: a busy machine that holds the program
// back from running does not count.
double ThreadMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

struct TWholeParagraph
{
    double firstUs; // mean cost of the first 1,000 keys
    double lastUs;  // and of the last 1,000
    double slowestUs;
    int overOneMs;
};

TWholeParagraph TypeWholeParagraph(const TCodePage& codePage, const std::string& path)
{
    auto form = TFmLinePractice::Create<TFmLongText>(codePage);
    form->show();
    QApplication::processEvents();
    form->LoadTextFrom(path);
    QApplication::processEvents();
    const std::string sample = form->Engine.Sample();
    const std::size_t keys = sample.size();
    TWholeParagraph figures{0, 0, 0, 0};
    for (std::size_t i = 0; i < keys; ++i) {
        const double start = ThreadMicroseconds();
        PressKey(form->InputEdit, sample[i]);
        const double us = ThreadMicroseconds() - start;
        if (i < 1000)
            figures.firstUs += us / 1000;
        if (i >= keys - 1000)
            figures.lastUs += us / 1000;
        figures.slowestUs = std::max(figures.slowestUs, us);
        if (us > 1000)
            ++figures.overOneMs;
    }
    if (form->Engine.Position != static_cast<int>(keys) + 1)
        std::printf("the paragraph was not typed to its end\n");
    return figures;
}

void Write(const QString& path, const std::string& content)
{
    std::ofstream(path.toStdString(), std::ios::binary) << content;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const TCodePage codePage;
    QTemporaryDir dir;
    const QString small = dir.filePath(QStringLiteral("small.txt"));
    const QString plain = dir.filePath(QStringLiteral("large.txt"));
    const QString rtf = dir.filePath(QStringLiteral("large.rtf"));
    Write(small, Words(1024));
    Write(plain, Words(1024 * 1024));
    Write(rtf, Rtf(Words(1024 * 1024)));
    const QString paragraph = dir.filePath(QStringLiteral("paragraph.txt"));
    Write(paragraph, Paragraph(20000));

    Run(codePage, small.toStdString(), 200); // warm up fonts and caches
    const TFigures base = Run(codePage, small.toStdString(), 1000);
    const TFigures text = Run(codePage, plain.toStdString(), 1000);
    const TFigures rich = Run(codePage, rtf.toStdString(), 1000);
    std::printf("1 KB text: load %.1f ms, %.1f us per key\n", base.loadMs, base.keyUs);
    std::printf("1 MB text: load %.1f ms, %.1f us per key (%.2f x)\n", text.loadMs, text.keyUs,
                text.keyUs / base.keyUs);
    std::printf("1 MB RTF:  load %.1f ms, %.1f us per key (%.2f x)\n", rich.loadMs, rich.keyUs,
                rich.keyUs / base.keyUs);
    const TWholeParagraph whole = TypeWholeParagraph(codePage, paragraph.toStdString());
    std::printf(
        "20,000-character paragraph typed to its end, processor time per key: first "
        "1,000 keys %.1f us, last 1,000 keys %.1f us (%.2f x), slowest key %.1f us, %d keys "
        "over 1 ms\n",
        whole.firstUs, whole.lastUs, whole.lastUs / whole.firstUs, whole.slowestUs,
        whole.overOneMs);
    return 0;
}
