// SPDX-License-Identifier: GPL-3.0-or-later
#include "DrillFiles.h"
#include "base/CodePage.h"
#include "base/Errors.h"
#include "drills/CourseDrill.h"
#include "drills/CourseFile.h"
#include "drills/FreeDrill.h"
#include "drills/LineEngine.h"
#include "drills/ParagraphDrill.h"
#include "drills/SentenceDrill.h"
#include "drills/WeakKeyDrill.h"
#include "drills/stopw.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// A drill window without a window: records what the drills and the engine
// ask of it, and answers input boxes from a queue.
class FakeWindow : public TCourseHost, public TParagraphHost
{
public:
    // TLineDrillHost
    void ShowNextKey(unsigned char ch) override
    {
        if (showNextKey)
            showNextKey(ch);
    }
    void MarkRight() override {}
    void MarkWrong() override {}
    bool HighlightNext() override { return false; }
    void NextLine() override { nextLine(); }
    void MoveCaretToEnd() override {}
    void ShowTimingMark(bool visible) override { timingMark = visible; }
    void HighlightSample(int) override {}
    void ShowStatistics(const TLineStatistics& s) override { statistics.push_back(s); }
    void CloseWindow() override { ++closes; }
    void WrongKey() override { ++wrongKeys; }
    void LineDone() override { ++linesDone; }

    // TSampleHost
    void SetSample(const std::string& text) override { engine->SetSample(text); }
    void HideTimingMark() override { timingMark = false; }

    // TDrillHost, TCourseHost
    void ShowFirstKey(unsigned char ch) override { firstKeys += static_cast<char>(ch); }
    void ResetDisplay() override { ++resets; }
    void Information(const std::string& message) override { messages.push_back(message); }
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& defaultText) override
    {
        prompts.push_back(caption + "|" + prompt + "|" + defaultText);
        if (answers.empty())
            return std::nullopt;
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowLessonPosition(const std::string& text) override { lessonPosition = text; }

    // TParagraphHost
    void ResetFormatting() override {}
    void ClearInput() override { ++inputClears; }
    void SetInputReadOnly(bool readOnly) override { inputReadOnly = readOnly; }
    void ShowReturnButton(bool visible) override { returnButton = visible; }
    void ReturnExpected() override { ++returnsExpected; }

    std::function<void(unsigned char)> showNextKey;
    std::function<void()> nextLine = [] {};
    std::deque<std::optional<std::string>> answers;

    Texts messages, prompts;
    std::vector<TLineStatistics> statistics;
    std::string firstKeys, lessonPosition;
    bool timingMark = false, inputReadOnly = false, returnButton = false;
    int closes = 0, wrongKeys = 0, linesDone = 0, resets = 0, inputClears = 0, returnsExpected = 0;
    TLineEngine* engine = nullptr;
};

// An engine on a fake clock in a fake window; each test binds the window's
// NextLine to its drill.
struct Rig
{
    Rig() { window.engine = &engine; }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    // Typed characters; "\r" is Enter, "\x1b" Esc, "\b" Backspace.
    void Type(const std::string& keys)
    {
        for (const char c : keys) {
            now += 100;
            engine.KeyPress(static_cast<unsigned char>(c));
        }
    }

    std::int32_t now = 0;
    stopwatch watch{[this] { return now; }};
    FakeWindow window;
    TLineEngine engine{window, watch};
};

// A line of n letters typed with the given number of wrong keys, then the
// key that completes it.
std::string Typing(const std::string& line, int errors)
{
    std::string keys = line;
    for (int i = 0; i < errors; ++i)
        keys[static_cast<std::size_t>(i)] = '#';
    return keys + " ";
}

// ---------------------------------------------------------------- course

struct CourseRig : Rig
{
    explicit CourseRig(int lessons, int start = 0)
    {
        window.nextLine = [this] { course.NextLine(); };
        for (int i = 1; i <= lessons; ++i)
            course.Lines.push_back(" lesson" + std::to_string(i) + " ");
        course.SetLesson(start);
        course.NextLine();
        window.messages.clear();
    }
    TCourseDrill course{engine, watch, window};
};

TEST(CourseDrill, NavigationKeysStopAtBothEnds)
{
    const struct
    {
        int start;
        TDrillKey key;
        int lesson;
        const char* message;
    } cases[] = {
        {0, TDrillKey::Left, 0, "Beginning of the course."},
        {0, TDrillKey::Up, 0, "Beginning of the course."},
        {1, TDrillKey::Left, 0, nullptr},
        {1, TDrillKey::Right, 2, nullptr},
        {1, TDrillKey::Down, 2, nullptr},
        {2, TDrillKey::Right, 2, "End of the course."},
        {2, TDrillKey::Down, 2, "End of the course."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "start " << c.start << " key " << int(c.key));
        CourseRig rig(3, c.start);
        rig.Type("les"); // half a lesson, timed
        EXPECT_FALSE(rig.course.KeyDown(c.key));
        EXPECT_EQ(rig.course.Lesson, c.lesson);
        EXPECT_EQ(rig.window.messages, c.message ? Texts{c.message} : Texts{});
        // The chosen lesson starts afresh and untimed, its time dropped.
        EXPECT_EQ(rig.engine.Sample(), "lesson" + std::to_string(c.lesson + 1));
        EXPECT_EQ(rig.engine.Position, 1);
        EXPECT_FALSE(rig.engine.Timing);
        EXPECT_FALSE(rig.window.timingMark);
        EXPECT_EQ(rig.engine.PracticeTime, 0);
        EXPECT_EQ(rig.window.lessonPosition, std::to_string(c.lesson + 1) + " / 3");
    }
}

TEST(CourseDrill, KeyFilterDiscardsEndHomeDeleteAndLetsOthersPass)
{
    const struct
    {
        TDrillKey key;
        bool discarded;
        TCourseCommand command;
    } cases[] = {
        {TDrillKey::End, true, TCourseCommand::Discarded},
        {TDrillKey::Home, true, TCourseCommand::Discarded},
        {TDrillKey::Delete, true, TCourseCommand::Discarded},
        {TDrillKey::PageUp, false, TCourseCommand::Other},
        {TDrillKey::PageDown, false, TCourseCommand::Other},
        {TDrillKey::Other, false, TCourseCommand::Other},
    };
    for (const auto& c : cases) {
        CourseRig rig(3, 1);
        const int resets = rig.window.resets;
        rig.Type("l");
        EXPECT_EQ(rig.course.KeyDown(c.key), c.discarded);
        EXPECT_EQ(rig.course.Command, c.command);
        EXPECT_EQ(rig.window.resets, resets) << "no lesson was prepared";
        EXPECT_EQ(rig.engine.Position, 2);
    }
}

TEST(CourseDrill, HowALessonEndsDecidesTheNextLesson)
{
    // Lessons of 20 and 17 letters: one error gives 95 and 94 %.
    const std::string twenty(20, 'a'), seventeen(17, 'a');
    const struct
    {
        const char* name;
        std::string line;
        std::string keys;
        int lesson;
        int closes;
    } cases[] = {
        {"95 % moves on", twenty, Typing(twenty, 1), 2, 0},
        {"100 % moves on", twenty, Typing(twenty, 0), 2, 0},
        {"94 % repeats", seventeen, Typing(seventeen, 1), 1, 0},
        {"Enter moves on", twenty, "aa\r", 2, 0},
        {"Esc closes without advancing", twenty, "aa\x1b", 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CourseRig rig(3, 1);
        rig.course.Lines[1] = c.line;
        rig.course.NextLine();
        rig.Type(c.keys);
        EXPECT_EQ(rig.course.Lesson, c.lesson);
        EXPECT_EQ(rig.window.lessonPosition, std::to_string(c.lesson + 1) + " / 3");
        EXPECT_EQ(rig.window.closes, c.closes);
        EXPECT_EQ(rig.engine.Position, 1);
        EXPECT_TRUE(rig.engine.Passed);
        EXPECT_TRUE(rig.window.messages.empty());
    }
}

TEST(CourseDrill, CompletingTheLastLessonRepeatsItWithAMessage)
{
    CourseRig rig(3, 2);
    rig.Type("lesson3 ");
    EXPECT_EQ(rig.course.Lesson, 2);
    EXPECT_EQ(rig.window.messages, Texts{"End of the course."});
    EXPECT_EQ(rig.window.linesDone, 1);
}

TEST(CourseDrill, EmptyLessonIsCompletedByTheFirstKey)
{
    CourseRig rig(3, 0);
    rig.course.Lines[0] = " \t ";
    rig.course.NextLine();
    EXPECT_EQ(rig.engine.Sample(), "");
    rig.Type("x");
    EXPECT_EQ(rig.window.firstKeys, "ll"); // none for the empty lesson
    EXPECT_EQ(rig.window.linesDone, 1);
    EXPECT_TRUE(rig.window.statistics.empty());
    EXPECT_EQ(rig.course.Lesson, 1);
}

TEST(CourseDrill, GoToAnswers)
{
    const struct
    {
        std::optional<std::string> answer;
        int lesson; // 0-based; the drill stands at index 2 ("3 / 120")
        const char* message;
    } cases[] = {
        {"7", 6, nullptr},
        {"120", 119, nullptr},
        {"0", 2, nullptr},
        {"121", 2, nullptr},
        {"-5", 2, nullptr},
        {"seven", 2, "Invalid input."},
        {"", 2, "Invalid input."},
        {"7 ", 2, "Invalid input."},
        {std::nullopt, 2, nullptr},           // Cancel: the current lesson again
        {"00000000051", 4, nullptr},          // read as "0000000005"
        {"10000000000", 2, nullptr},          // read as 1000000000
        {"-2147483648", 2, nullptr},          // read as -214748364
        {"99999999999", 2, "Invalid input."}, // 9999999999 is beyond 32 bits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.value_or("(Cancel)"));
        CourseRig rig(120, 2);
        rig.Type("les");
        rig.window.answers.push_back(c.answer);
        EXPECT_FALSE(rig.course.KeyDown(TDrillKey::Insert));
        EXPECT_EQ(rig.window.prompts,
                  Texts{"Input Box|Please input a number to goto somewhere of the course:|3"});
        EXPECT_EQ(rig.course.Lesson, c.lesson);
        EXPECT_EQ(rig.window.lessonPosition, std::to_string(c.lesson + 1) + " / 120");
        EXPECT_EQ(rig.window.messages, c.message ? Texts{c.message} : Texts{});
        EXPECT_EQ(rig.engine.Position, 1) << "the lesson starts from its beginning";
    }
}

class CourseDrillFile : public DrillFiles
{
protected:
    Rig rig;
    TCourseDrill course{rig.engine, rig.watch, rig.window};
    void SetUp() override
    {
        DrillFiles::SetUp();
        rig.window.nextLine = [this] { course.NextLine(); };
    }
};

TEST_F(CourseDrillFile, LoadFileShowsTheStoredLesson)
{
    course.SetFileName(Write("course.txt", "one\rtwo\r\n  three  \n"));
    course.SetLesson(2);
    course.LoadFile();
    EXPECT_EQ(rig.engine.Sample(), "three");
    EXPECT_EQ(rig.window.lessonPosition, "3 / 3");
    EXPECT_EQ(rig.window.firstKeys, "t");
    EXPECT_EQ(rig.engine.WordCount, 1);
}

TEST_F(CourseDrillFile, StoredLessonBeyondAShorterFileBecomesItsLastLesson)
{
    course.SetFileName(Write("course.txt", "one\ntwo\n"));
    course.SetLesson(40);
    course.LoadFile();
    EXPECT_EQ(course.Lesson, 1);
    EXPECT_EQ(rig.engine.Sample(), "two");
    course.SetLesson(-3);
    course.NextLine();
    EXPECT_EQ(course.Lesson, 0);
}

TEST_F(CourseDrillFile, FileWithoutLinesOrMissingIsAnError)
{
    course.SetFileName(Write("empty.txt", ""));
    EXPECT_THROW(
        {
            try {
                course.LoadFile();
            } catch (const TError& error) {
                EXPECT_EQ(std::string(error.what()),
                          "The file \"" + Path("empty.txt") + "\" has no lines.");
                throw;
            }
        },
        TError);
    course.SetFileName(Path("missing.txt"));
    EXPECT_THROW(course.LoadFile(), TError);
    EXPECT_TRUE(course.Lines.empty());
    EXPECT_EQ(rig.window.resets, 0) << "no lesson was shown";
}

// ---------------------------------------------------------------- sentence

struct SentenceRig : Rig
{
    explicit SentenceRig(Texts lines)
    {
        window.nextLine = [this] { sentences.NextLine(); };
        sentences.Lines = std::move(lines);
    }
    std::deque<std::size_t> draws;
    std::vector<std::size_t> counts;
    TSentenceDrill sentences{engine, watch, window, [this](std::size_t count) {
                                 counts.push_back(count);
                                 const std::size_t i = draws.front();
                                 draws.pop_front();
                                 return i;
                             }};
};

TEST(SentenceDrill, RedrawsUnlessTheSentenceWasCompletedBelow95)
{
    const std::string twenty(20, 'b'), seventeen(17, 'b');
    const struct
    {
        const char* name;
        std::string keys;
        bool redrawn;
    } cases[] = {
        {"95 %", Typing(twenty, 1), true},
        {"94 %", Typing(seventeen, 1), false},
        {"Enter", "bb\r", true},
        {"Esc", "bb\x1b", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SentenceRig rig({"\t" + twenty + " ", seventeen, "other"});
        rig.draws = {c.name == std::string("94 %") ? 1u : 0u, 2};
        rig.sentences.NextLine(); // the first draw, as LoadFile makes it
        const std::string first = rig.engine.Sample();
        rig.Type(c.keys);
        EXPECT_EQ(rig.engine.Sample(), c.redrawn ? "other" : first);
        EXPECT_EQ(rig.counts.size(), c.redrawn ? 2u : 1u);
        EXPECT_EQ(rig.counts.front(), 3u);
        EXPECT_EQ(rig.engine.Position, 1);
        EXPECT_TRUE(rig.engine.Passed);
    }
}

TEST(SentenceDrill, SentencesAreTrimmedAndCountedBySpaces)
{
    SentenceRig rig({"  Hello,  world \t", " \t "});
    rig.draws = {0, 1};
    rig.sentences.NextLine();
    EXPECT_EQ(rig.engine.Sample(), "Hello,  world");
    EXPECT_EQ(rig.engine.SampleLength, 13);
    EXPECT_EQ(rig.engine.WordCount, 2);
    EXPECT_EQ(rig.window.firstKeys, "H");
    rig.Type("\r");
    EXPECT_EQ(rig.engine.Sample(), "");
    EXPECT_EQ(rig.window.firstKeys, "H") << "no key for an empty sentence";
}

TEST(SentenceDrill, SentenceFileWithoutLinesIsAnError)
{
    SentenceRig rig({});
    EXPECT_THROW(rig.sentences.NextLine(), TError);
    EXPECT_TRUE(rig.counts.empty());
}

TEST(SentenceDrill, ClockSeededSourceStaysInRange)
{
    const TRandomIndex random = ClockSeededIndex();
    for (int i = 0; i < 200; ++i) {
        EXPECT_LT(random(3), 3u);
        EXPECT_EQ(random(1), 0u);
    }
}

// ---------------------------------------------------------------- free

TEST(FreeLine, RepeatsTheTextToFillALine)
{
    const std::string thirtyNine(39, 'x'), forty(40, 'y');
    const struct
    {
        std::string text;
        std::string line;
        int words;
    } cases[] = {
        {"qwerty", "qwerty qwerty qwerty qwerty qwerty qwerty qwerty qwerty qwerty qwerty", 10},
        {"asdf", "asdf asdf asdf asdf asdf asdf asdf asdf asdf asdf asdf asdf asdf", 13},
        {thirtyNine, thirtyNine, 1},
        {forty, forty, 1},
        {forty + "z", forty, 1},
        {"a b", "a b a b a b a b a b a b a b a b a b a b a b a b a b a b a b a b", 32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string line = MakeFreeLine(c.text);
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(CountSpaceWords(line), c.words);
    }
    EXPECT_EQ(MakeFreeLine("qwerty").size(), 69u);
    EXPECT_EQ(MakeFreeLine("asdf").size(), 64u);
}

TEST(InputBox, HoldsAtMost255CharactersAndCancelGivesTheDefault)
{
    const std::string umlauts = [] {
        std::string s;
        for (int i = 0; i < 300; ++i)
            s += "\xC3\xA4"; // ä in UTF-8
        return s;
    }();
    const struct
    {
        std::optional<std::string> typed;
        std::string answer;
    } cases[] = {
        {std::nullopt, "qwerty"},
        {"", ""},
        {"abc", "abc"},
        {std::string(255, 'a'), std::string(255, 'a')},
        {std::string(256, 'a'), std::string(255, 'a')},
        {umlauts, umlauts.substr(0, 510)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InputBoxAnswer(c.typed, "qwerty"), c.answer);
}

struct FreeRig : Rig
{
    FreeRig()
    {
        window.nextLine = [this] { free.NextLine(); };
    }
    TCodePage codePage{1252};
    TFreeDrill free{engine, watch, window, codePage};
};

TEST(FreeDrill, CancelGivesTheLineOfTheDefaultText)
{
    FreeRig rig;
    rig.window.answers = {std::nullopt};
    rig.Type("x"); // ends the empty line the window opens with
    EXPECT_EQ(rig.window.prompts, Texts{"Input Box|Please input what to practise:|qwerty"});
    EXPECT_EQ(rig.engine.Sample(), MakeFreeLine("qwerty"));
    EXPECT_EQ(rig.engine.SampleLength, 69);
    EXPECT_EQ(rig.engine.WordCount, 10);
    EXPECT_TRUE(rig.free.LineDefined);
    EXPECT_EQ(rig.window.linesDone, 0);
    EXPECT_EQ(rig.engine.LineResult, TLineResult::None);
}

TEST(FreeDrill, AsdfIsPractisedAgainAndAgain)
{
    FreeRig rig;
    rig.window.answers = {"asdf"};
    rig.free.KeyDown(TDrillKey::Insert);
    const std::string line = rig.engine.Sample();
    rig.Type(line + " ");
    ASSERT_EQ(rig.window.statistics.size(), 1u);
    EXPECT_EQ(rig.engine.WordCount, 13);
    EXPECT_EQ(rig.engine.Sample(), line);
    EXPECT_EQ(rig.engine.Position, 1);
    rig.Type("as\r");
    EXPECT_EQ(rig.engine.Sample(), line);
    EXPECT_EQ(rig.window.prompts.size(), 1u);
}

TEST(FreeDrill, EmptyAnswerWithoutALineAsksAgainAtTheNextKey)
{
    FreeRig rig;
    rig.window.answers = {"", "ab"};
    rig.Type("x");
    EXPECT_EQ(rig.engine.Sample(), "");
    EXPECT_FALSE(rig.free.LineDefined);
    rig.Type("y");
    EXPECT_EQ(rig.window.prompts.size(), 2u);
    EXPECT_EQ(rig.window.linesDone, 0);
    EXPECT_EQ(rig.engine.Sample().substr(0, 6), "ab ab ");
}

TEST(FreeDrill, InsertWithAnEmptyAnswerRestartsTheOldLineAndAsksAgainAtItsEnd)
{
    FreeRig rig;
    rig.window.answers = {"ab", "", "cd"};
    rig.free.KeyDown(TDrillKey::Insert);
    const std::string line = rig.engine.Sample();
    rig.Type("ab");
    EXPECT_TRUE(rig.window.timingMark);
    EXPECT_FALSE(rig.free.KeyDown(TDrillKey::Insert));
    EXPECT_EQ(rig.engine.Sample(), line);
    EXPECT_EQ(rig.engine.Position, 1);
    EXPECT_FALSE(rig.engine.Timing);
    EXPECT_FALSE(rig.window.timingMark);
    EXPECT_FALSE(rig.free.LineDefined);
    rig.Type(line + " ");
    EXPECT_EQ(rig.window.prompts.size(), 3u);
    EXPECT_EQ(rig.engine.Sample().substr(0, 6), "cd cd ");
}

TEST(FreeDrill, KeyFilter)
{
    const struct
    {
        TDrillKey key;
        bool discarded;
    } cases[] = {
        {TDrillKey::End, true},    {TDrillKey::Home, true},    {TDrillKey::Left, true},
        {TDrillKey::Up, true},     {TDrillKey::Right, true},   {TDrillKey::Down, true},
        {TDrillKey::Delete, true}, {TDrillKey::PageUp, false}, {TDrillKey::PageDown, false},
        {TDrillKey::Other, false},
    };
    for (const auto& c : cases) {
        FreeRig rig;
        EXPECT_EQ(rig.free.KeyDown(c.key), c.discarded);
        EXPECT_TRUE(rig.window.prompts.empty());
    }
}

TEST(FreeDrill, AnswerIsConvertedToTheCodePage)
{
    FreeRig rig;
    rig.window.answers = {"\xE2\x80\x9C\xC3\xA4\xC5\x81\xE2\x80\x9D"}; // “äŁ”
    rig.free.KeyDown(TDrillKey::Insert);
    EXPECT_EQ(rig.engine.Sample().substr(0, 5), "\"\xE4L\" ");
}

// ---------------------------------------------------------------- paragraph

TEST(ParagraphDrill, CountsWordsBetweenSeparators)
{
    const struct
    {
        std::string text;
        int words;
    } cases[] = {
        {"3.14", 2},     {"and/or", 2},      {"ab\r\ncd", 2}, {"a, b. c / d", 4},
        {"tab\tbed", 1}, {"..,, //\r\n", 0}, {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CountParagraphWords(c.text), c.words) << c.text;
}

struct ParagraphRig : Rig
{
    ParagraphRig()
    {
        window.nextLine = [this] { paragraph.NextLine(); };
        window.showNextKey = [this](unsigned char ch) { paragraph.ShowNextKey(ch); };
        paragraph.Create();
    }
    void Keys(const std::string& keys)
    {
        for (const char c : keys) {
            now += 100;
            paragraph.KeyPress(static_cast<unsigned char>(c));
        }
    }
    TCodePage codePage{1252};
    TParagraphDrill paragraph{engine, watch, window, codePage};
};

TEST(ParagraphDrill, TwoParagraphsTypedWithSpaceForTheLineBreak)
{
    ParagraphRig rig;
    rig.paragraph.SetText("ab\r\ncd");
    EXPECT_FALSE(rig.engine.Guidance);
    EXPECT_FALSE(rig.engine.EnterEndsLine);
    rig.Keys("ab cd");
    EXPECT_EQ(rig.window.linesDone, 0);
    rig.Keys("x");
    EXPECT_EQ(rig.window.linesDone, 1);
    EXPECT_EQ(rig.engine.SampleLength, 6);
    EXPECT_EQ(rig.engine.WordCount, 2);
    ASSERT_EQ(rig.window.statistics.size(), 1u);
    EXPECT_EQ(rig.window.statistics[0].Accuracy, 100);
    EXPECT_TRUE(rig.paragraph.Finished());
    EXPECT_TRUE(rig.window.inputReadOnly);
}

TEST(ParagraphDrill, LetterAtALineBreakDoesNothing)
{
    ParagraphRig rig;
    rig.paragraph.SetText("ab\r\ncd");
    rig.Keys("abxyz");
    EXPECT_EQ(rig.engine.Position, 3);
    EXPECT_EQ(rig.window.wrongKeys, 0);
    rig.Keys("\rcd ");
    EXPECT_EQ(rig.window.statistics.at(0).Accuracy, 100);
}

TEST(ParagraphDrill, ReturnButtonShowsWhileALineBreakIsNext)
{
    const struct
    {
        const char* name;
        std::string breakKey;
        bool visibleAfterBreak;
    } cases[] = {
        {"Enter hides it at once", "\r", false},
        {"Space leaves it until the next character", " ", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ParagraphRig rig;
        rig.paragraph.SetText("ab\r\ncd");
        rig.Keys("ab");
        EXPECT_TRUE(rig.window.returnButton);
        EXPECT_EQ(rig.window.returnsExpected, 1);
        rig.Keys(c.breakKey);
        EXPECT_EQ(rig.window.returnButton, c.visibleAfterBreak);
        rig.Keys("c");
        EXPECT_FALSE(rig.window.returnButton);
        rig.Keys("\b\b"); // back over c, then over the line break
        EXPECT_TRUE(rig.window.returnButton);
        EXPECT_EQ(rig.window.returnsExpected, 2);
    }
}

TEST(ParagraphDrill, KeysAfterTheEndAreIgnoredAndEscCloses)
{
    ParagraphRig rig;
    rig.paragraph.SetText("ab");
    rig.Keys("ab ");
    const std::int32_t practiceTime = rig.engine.PracticeTime;
    rig.Keys("cd \r\b");
    EXPECT_EQ(rig.window.linesDone, 1);
    EXPECT_EQ(rig.window.statistics.size(), 1u);
    EXPECT_EQ(rig.engine.PracticeTime, practiceTime);
    EXPECT_EQ(rig.window.closes, 0);
    rig.Keys("\x1b");
    EXPECT_EQ(rig.window.closes, 1);
    EXPECT_EQ(rig.window.linesDone, 1);

    rig.paragraph.Restart();
    EXPECT_FALSE(rig.paragraph.Finished());
    EXPECT_FALSE(rig.window.inputReadOnly);
    rig.Keys("ab ");
    EXPECT_EQ(rig.window.linesDone, 2);
}

TEST(ParagraphDrill, WindowOpensWithAnEmptySampleThatTheFirstKeyEnds)
{
    ParagraphRig rig;
    rig.Keys("x");
    EXPECT_EQ(rig.engine.LineResult, TLineResult::None);
    EXPECT_EQ(rig.window.linesDone, 0);
    EXPECT_TRUE(rig.paragraph.Finished());
    EXPECT_TRUE(rig.window.inputReadOnly);
}

TEST(ParagraphDrill, RestartWithAnEmptyTextIsCompletedByTheFirstKey)
{
    ParagraphRig rig;
    rig.paragraph.PasteText("");
    rig.Keys("x");
    EXPECT_EQ(rig.window.linesDone, 1);
    EXPECT_TRUE(rig.window.statistics.empty());
    EXPECT_TRUE(rig.paragraph.Finished());
}

TEST(ParagraphDrill, NewTextHalfwayStartsFromItsBeginning)
{
    ParagraphRig rig;
    rig.paragraph.SetText("abc\r\ndef");
    rig.Keys("abc");
    const int clears = rig.window.inputClears;
    rig.paragraph.PasteText("\r\n\xE2\x80\x9Cxy\xE2\x80\x9D and/or\n"); // “xy” and/or
    EXPECT_EQ(rig.engine.Sample(), "\"xy\" and/or");
    EXPECT_EQ(rig.engine.Position, 1);
    EXPECT_EQ(rig.engine.WordCount, 3);
    EXPECT_FALSE(rig.engine.Timing);
    EXPECT_FALSE(rig.window.timingMark);
    EXPECT_EQ(rig.window.inputClears, clears + 1);
    EXPECT_FALSE(rig.window.returnButton);
    EXPECT_EQ(rig.engine.Marks, std::vector<bool>(rig.engine.Sample().size() + 1, false));
}

class ParagraphDrillFile : public DrillFiles
{
protected:
    ParagraphRig rig;
};

TEST_F(ParagraphDrillFile, LoadsAFileAndKeepsTheTextWhenOneCannotBeRead)
{
    rig.paragraph.LoadText(Write("text.rtf", "{\\rtf1 K\\'e4se\\par Brot}"));
    EXPECT_EQ(rig.engine.Sample(), "K\xE4se\r\nBrot");
    EXPECT_THROW(rig.paragraph.LoadText(Path("missing.txt")), TError);
    EXPECT_EQ(rig.engine.Sample(), "K\xE4se\r\nBrot");
}

// ---------------------------------------------------------------- weak keys

struct WeakKeyRig : Rig
{
    explicit WeakKeyRig(std::deque<std::string> built) : lines(std::move(built))
    {
        window.nextLine = [this] { drill.NextLine(); };
    }
    std::deque<std::string> lines;
    int builds = 0;
    TWeakKeyDrill drill{engine, watch, window, [this] {
                            ++builds;
                            std::string line = lines.empty() ? std::string() : lines.front();
                            if (!lines.empty())
                                lines.pop_front();
                            return line;
                        }};
};

TEST(WeakKeyDrill, BuildsAnotherLineUnlessTheLineWasCompletedBelow95)
{
    const std::string twenty(20, 'a'), seventeen(17, 'a');
    const struct
    {
        const char* name;
        std::string first;
        std::string keys;
        bool rebuilt;
    } cases[] = {
        {"95 %", twenty, Typing(twenty, 1), true},
        {"94 %", seventeen, Typing(seventeen, 1), false},
        {"Enter", twenty, "aa\r", true},
        {"Esc", twenty, "aa\x1b", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WeakKeyRig rig({c.first, "as sea"});
        rig.drill.Start();
        EXPECT_EQ(rig.engine.Sample(), c.first);
        rig.Type(c.keys);
        EXPECT_EQ(rig.engine.Sample(), c.rebuilt ? "as sea" : c.first);
        EXPECT_EQ(rig.builds, c.rebuilt ? 2 : 1);
        EXPECT_EQ(rig.engine.Position, 1);
        EXPECT_TRUE(rig.engine.Passed);
    }
}

TEST(WeakKeyDrill, LinesAreCountedBySpacesAndShowTheirFirstKey)
{
    WeakKeyRig rig({"sass as a sea"});
    rig.drill.Start();
    EXPECT_EQ(rig.engine.SampleLength, 13);
    EXPECT_EQ(rig.engine.WordCount, 4);
    EXPECT_EQ(rig.window.firstKeys, "s");
    EXPECT_EQ(rig.window.resets, 1);
}

TEST(WeakKeyDrill, NothingToBuildFromIsAnError)
{
    WeakKeyRig rig({});
    EXPECT_THROW(rig.drill.Start(), TError);
    EXPECT_EQ(rig.window.resets, 0) << "no line was shown";
}

} // namespace
