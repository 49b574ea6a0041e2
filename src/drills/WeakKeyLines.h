// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

class THistoryQueries;

// The length a weak-key line is filled up to, as the free drill fills its own.
inline constexpr std::size_t WeakKeyLineLength = 80;
// The slow key pairs of the history that the words are also chosen for.
inline constexpr int WeakPairCount = 10;
inline constexpr int WeakPairMinCount = 10;

using TKeyPair = std::pair<unsigned char, unsigned char>;

// The course's words, each once, in the order first seen: the words of its
// sentences (Practice.txt) and its game words (Game.txt). Words are runs of
// characters other than spaces, tabs and line ends.
std::vector<std::string> CourseWords(const std::vector<std::string>& texts);

// Lines of the course's words, drawn at random so that words holding the
// keys and pairs to practise come often; words without them still come, so
// the rest of the keyboard stays in the lines. A space among the keys favours
// short words. Every line is filled as far as the words allow.
class TWeakKeyLineBuilder
{
public:
    TWeakKeyLineBuilder(std::vector<std::string> words, const std::vector<unsigned char>& keys,
                        const std::vector<TKeyPair>& pairs, std::uint32_t seed);

    // The next line; empty when there are no words.
    std::string Next();

private:
    // The index of the next word.
    std::size_t Draw();

    std::vector<std::string> words_;
    std::vector<double> weights_;
    std::size_t shortest_ = 0; // index of the shortest word
    std::mt19937 random_;
    std::discrete_distribution<std::size_t> pick_;
    std::uniform_int_distribution<std::size_t> plain_;
    int drawn_ = 0;
};

// The course's words from its sentence and game files (a missing or
// unreadable file gives none), and the user's slow pairs that hold one of
// the keys, from the history. A weak-key drill takes its lines from it:
//   [lines = WeakKeyLinesOfCourse(...)]() mutable { return lines.Next(); }
TWeakKeyLineBuilder WeakKeyLinesOfCourse(const std::string& practicePath,
                                         const std::string& gamePath,
                                         const std::vector<unsigned char>& keys,
                                         const THistoryQueries& history, const std::string& user,
                                         std::uint32_t seed = std::random_device{}());
