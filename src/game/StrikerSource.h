// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/GameActors.h"
#include "game/GameSettings.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

using TWordGroup = std::vector<std::string>;

// The words of a word file (Game.txt), group by group. Words are runs of
// characters other than the space; empty lines separate groups (several in a
// row count as one, those before the first word line count as none); a line
// of spaces is no separator. Lines end with CR LF, LF or CR. There is always
// at least one group, and an empty line after the last word line opens one
// more, empty group.
std::vector<TWordGroup> ReadWordGroups(std::string_view content);

// The chance in percent that a word is taken from a group (1-based). Files
// may hold more than 60 groups; those beyond get 10 % like groups 27 to 60.
int GroupChance(int group);

// The group the next word is looked for in after the current one, for the
// whole run: a later game goes on from where the last one left it.
extern int GroupCursor;

// Hands out the words of a word file one at a time, as falling words.
class strikerSourceType
{
public:
    // Keeps the path; the file is read by Load. Settings and random must
    // outlive the source.
    strikerSourceType(std::string wordFile, const TGameSettings& settings, const TRandom& random);

    // Reads the whole file. Throws TError when it cannot be opened or read.
    void Load();
    // Puts the next word in Current and answers true, or answers false when
    // no group has words left. An error on the way is reported through
    // OnError and answers false.
    bool Next();

    std::function<void(const std::string& message)> OnError;

    std::string WordFile;
    std::vector<TWordGroup> Groups;
    int GroupCount = 0;
    std::vector<bool> Exhausted;
    int ExhaustedCount = 0;
    int LastColumn = 0;
    int LastLength = 0;
    TStrikerPtr Current;

private:
    void AdvanceCursor() const;
    TStrikerPtr TakeWord(TWordGroup& group) const;

    const TGameSettings& settings_;
    const TRandom& random_;
};
