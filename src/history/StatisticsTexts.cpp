// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/StatisticsTexts.h"

#include "base/CodePage.h"
#include "base/Errors.h"
#include "base/Translate.h"
#include "history/KeyShades.h"

#include <algorithm>
#include <cmath>

const std::array<TActivityChoice, 7> ActivityChoices = {{
    {0, N_("All activities")},
    {int(THistoryActivity::Course), N_("Course")},
    {int(THistoryActivity::Sentence), N_("Sentence Drills")},
    {int(THistoryActivity::Free), N_("Free Drills")},
    {int(THistoryActivity::Paragraph), N_("Paragraph Drills")},
    {int(THistoryActivity::WeakKeys), N_("Weak Keys")},
    {int(THistoryActivity::Game), N_("Game")},
}};

const std::array<TMeasureChoice, 4> MeasureChoices = {{
    {TProgressMeasure::KeysPerMinute, N_("Keys per minute")},
    {TProgressMeasure::WordsPerMinute, N_("Words per minute")},
    {TProgressMeasure::Accuracy, N_("Accuracy (%)")},
    {TProgressMeasure::Lesson, N_("Lesson reached")},
}};

std::string KeyName(unsigned char ch, const TCodePage& codePage)
{
    if (ch == ' ')
        return _("Space");
    if (ch == '\r')
        return _("Enter");
    if (ch < ' ' || ch == 127)
        return Format("#%d", ch);
    return codePage.ToUtf8(std::string(1, static_cast<char>(ch)));
}

std::string PairName(unsigned char first, unsigned char second, const TCodePage& codePage)
{
    std::string name = KeyName(first, codePage);
    name += " \u2192 ";
    name += KeyName(second, codePage);
    return name;
}

std::string PercentText(double share)
{
    return Format("%.1f %%", share * 100);
}

std::string MillisecondsText(double ms)
{
    return Format(_("%ld ms"), std::lround(ms));
}

std::string DurationText(std::int64_t ms)
{
    const std::int64_t seconds = std::max<std::int64_t>(ms, 0) / 1000;
    return Format(_("%lld h %d m %d s"), static_cast<long long>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
}

std::string KeyFiguresText(const TKeyButtonFigures& key, const TCodePage& codePage)
{
    if (key.Typed <= 0)
        return _("Not typed yet.");
    std::string characters;
    for (unsigned char ch : key.Characters) {
        if (!characters.empty())
            characters += ' ';
        characters += KeyName(ch, codePage);
    }
    std::string text = Format(_("%s: typed %d times, %d wrong (%s)"), characters.c_str(), key.Typed,
                              key.Wrong, PercentText(key.ErrorRate()).c_str());
    if (key.Right() > 0) {
        text += '\n';
        text += Format(_("Mean time: %s"), MillisecondsText(key.MeanTime).c_str());
    }
    return text;
}

std::string ExportFileName(std::string_view user, std::string_view day)
{
    std::string name(user);
    for (char& c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < ' ' || byte == 127 ||
            std::string_view("/\\:*?\"<>| ").find(c) != std::string_view::npos)
            c = '_';
    }
    return "tapwren-" + name + "-" + std::string(day) + ".csv";
}

std::vector<TProgressPoint> ProgressPoints(std::vector<TDayFigures> days, TProgressMeasure measure)
{
    std::sort(days.begin(), days.end(),
              [](const TDayFigures& a, const TDayFigures& b) { return a.Day < b.Day; });
    std::vector<TProgressPoint> points;
    points.reserve(days.size());
    for (const TDayFigures& day : days) {
        switch (measure) {
        case TProgressMeasure::KeysPerMinute:
            points.push_back({day.Day, day.KeysPerMinute});
            break;
        case TProgressMeasure::WordsPerMinute:
            points.push_back({day.Day, day.WordsPerMinute});
            break;
        case TProgressMeasure::Accuracy:
            points.push_back({day.Day, day.Accuracy});
            break;
        case TProgressMeasure::Lesson:
            if (day.Lesson > 0)
                points.push_back({day.Day, double(day.Lesson)});
            break;
        }
    }
    return points;
}
