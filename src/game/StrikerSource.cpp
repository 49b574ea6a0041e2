// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/StrikerSource.h"

#include "base/WholeFile.h"

#include <algorithm>
#include <array>
#include <utility>

int GroupCursor = 1;

namespace {

// Groups 1 to 26; every later group has 10 %.
constexpr std::array<int, 26> GroupChanceTable = {
    60, 50, 70, 60, 50, 50, 45, 45,      // 1-8
    20, 15, 15, 20, 40, 25, 35, 45,      // 9-16
    10, 60, 65, 60, 5,  5,  5,  3,  3, 3 // 17-26
};
constexpr int LaterGroupChance = 10;

} // namespace

std::vector<TWordGroup> ReadWordGroups(std::string_view content)
{
    std::vector<TWordGroup> groups(1);
    bool seenLine = false;  // a non-empty line came before
    bool separated = false; // the last line was empty
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t end = content.find_first_of("\r\n", pos);
        if (end == content.npos)
            end = content.size();
        const std::string_view line = content.substr(pos, end - pos);
        pos = end;
        if (pos < content.size())
            pos += content.compare(pos, 2, "\r\n") == 0 ? 2 : 1;

        if (line.empty()) {
            if (seenLine && !separated)
                groups.emplace_back();
            separated = true;
            continue;
        }
        seenLine = true;
        separated = false;
        std::size_t word = line.find_first_not_of(' ');
        while (word != line.npos) {
            const std::size_t wordEnd = std::min(line.find(' ', word), line.size());
            groups.back().emplace_back(line.substr(word, wordEnd - word));
            word = line.find_first_not_of(' ', wordEnd);
        }
    }
    return groups;
}

int GroupChance(int group)
{
    if (group < 1 || group > static_cast<int>(GroupChanceTable.size()))
        return LaterGroupChance;
    return GroupChanceTable[static_cast<std::size_t>(group - 1)];
}

strikerSourceType::strikerSourceType(std::string wordFile, const TGameSettings& settings,
                                     const TRandom& random)
    : WordFile(std::move(wordFile)), settings_(settings), random_(random)
{}

void strikerSourceType::Load()
{
    Groups.clear();
    GroupCount = 0;
    Exhausted.clear();
    ExhaustedCount = 0;

    Groups = ReadWordGroups(ReadWholeFile(WordFile));
    GroupCount = static_cast<int>(Groups.size());
    Exhausted.assign(Groups.size(), false);
}

void strikerSourceType::AdvanceCursor() const
{
    ++GroupCursor;
    if (GroupCursor > GroupCount || GroupCursor < 1)
        GroupCursor = 1;
}

TStrikerPtr strikerSourceType::TakeWord(TWordGroup& group) const
{
    auto word = std::make_shared<strikerType>();
    const auto taken = group.begin() + random_(static_cast<int>(group.size()));
    word->Word = std::move(*taken);
    group.erase(taken);
    word->Len = static_cast<int>(word->Word.size());
    word->Y = 0;

    // Somewhere in the half of the field to the right of the last word, round
    // the edge; a word that would not end before the last column starts at
    // the left.
    const int columns = std::max(1, settings_.Columns);
    const int spread = random_(std::max(1, columns / 2));
    word->Column = (spread + LastColumn + LastLength) % columns + 1;
    if (word->Column + word->Len > columns)
        word->Column = 1;
    word->X = (word->Column - 1) * settings_.GameFontSize;

    word->Speed = settings_.FunSpeed ? random_(3) + 1 : 2;
    word->Typed = -1;
    return word;
}

bool strikerSourceType::Next()
{
    try {
        if (GroupCount < 1)
            return false;
        AdvanceCursor();
        for (;;) {
            const auto index = static_cast<std::size_t>(GroupCursor - 1);
            TWordGroup& group = Groups[index];
            if (Chance(random_, GroupChance(GroupCursor)) && !group.empty()) {
                Current = TakeWord(group);
                LastColumn = Current->Column;
                LastLength = Current->Len;
                return true;
            }
            if (group.empty() && !Exhausted[index]) {
                Exhausted[index] = true;
                ++ExhaustedCount;
            }
            if (ExhaustedCount >= GroupCount)
                return false;
            AdvanceCursor();
        }
    } catch (const std::exception& e) {
        if (OnError)
            OnError(std::string(e.what()) + " StrikerSource available");
        return false;
    }
}
