// SPDX-License-Identifier: GPL-3.0-or-later
#include "drills/WeakKeyLines.h"

#include "base/Errors.h"
#include "base/WholeFile.h"
#include "history/HistoryFigures.h"

#include <algorithm>
#include <array>
#include <set>

namespace {

// How much more often a word comes for the keys and pairs to practise it
// holds: with their number, and steeply with their density, so that even a
// common letter comes twice as often as in the course's text.
constexpr double Boost = 2000.0;

bool IsSeparator(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\0';
}

double Weight(const std::string& word, const std::array<bool, 256>& isKey,
              const std::vector<TKeyPair>& pairs)
{
    // The space after the word is typed with it.
    const std::string typed = word + ' ';
    int hits = 0;
    for (const char ch : typed)
        hits += isKey[static_cast<unsigned char>(ch)] ? 1 : 0;
    for (std::size_t i = 1; i < typed.size(); ++i)
        hits += static_cast<int>(
            std::ranges::count(pairs, TKeyPair{static_cast<unsigned char>(typed[i - 1]),
                                               static_cast<unsigned char>(typed[i])}));
    const double density = hits / static_cast<double>(typed.size());
    return 1.0 + Boost * hits * density * density * density;
}

// One word in this many is drawn with no regard to the keys, so the rest of
// the keyboard stays in the lines.
constexpr int PlainEvery = 5;

} // namespace

std::vector<std::string> CourseWords(const std::vector<std::string>& texts)
{
    std::vector<std::string> words;
    std::set<std::string> seen;
    for (const std::string& text : texts) {
        std::size_t i = 0;
        while (i < text.size()) {
            while (i < text.size() && IsSeparator(text[i]))
                ++i;
            std::size_t end = i;
            while (end < text.size() && !IsSeparator(text[end]))
                ++end;
            if (end > i) {
                std::string word = text.substr(i, end - i);
                if (seen.insert(word).second)
                    words.push_back(std::move(word));
            }
            i = end;
        }
    }
    return words;
}

TWeakKeyLineBuilder::TWeakKeyLineBuilder(std::vector<std::string> words,
                                         const std::vector<unsigned char>& keys,
                                         const std::vector<TKeyPair>& pairs, std::uint32_t seed)
    : words_(std::move(words)), random_(seed)
{
    std::array<bool, 256> isKey{};
    for (const unsigned char key : keys)
        isKey[key] = true;
    for (std::size_t i = 0; i < words_.size(); ++i) {
        // A word longer than a line is cut to one.
        if (words_[i].size() > WeakKeyLineLength)
            words_[i].resize(WeakKeyLineLength);
        weights_.push_back(Weight(words_[i], isKey, pairs));
        if (words_[i].size() < words_[shortest_].size())
            shortest_ = i;
    }
    pick_ = std::discrete_distribution<std::size_t>(weights_.begin(), weights_.end());
    plain_ =
        std::uniform_int_distribution<std::size_t>(0, std::max<std::size_t>(words_.size(), 1) - 1);
}

std::size_t TWeakKeyLineBuilder::Draw()
{
    return ++drawn_ % PlainEvery == 0 ? plain_(random_) : pick_(random_);
}

std::string TWeakKeyLineBuilder::Next()
{
    std::string line;
    if (words_.empty())
        return line;
    const auto fits = [&line](const std::string& word) {
        return line.size() + (line.empty() ? 0 : 1) + word.size() <= WeakKeyLineLength;
    };
    const auto add = [&line](const std::string& word) {
        if (!line.empty())
            line += ' ';
        line += word;
    };
    while (fits(words_[shortest_])) {
        const std::string& word = words_[Draw()];
        // A word too long for the rest of the line gives way to one that fits,
        // drawn the same way.
        if (fits(word)) {
            add(word);
            continue;
        }
        std::vector<double> fitting(weights_.size(), 0.0);
        for (std::size_t i = 0; i < words_.size(); ++i)
            if (fits(words_[i]))
                fitting[i] = weights_[i];
        add(words_[std::discrete_distribution<std::size_t>(fitting.begin(),
                                                           fitting.end())(random_)]);
    }
    return line;
}

TWeakKeyLineBuilder WeakKeyLinesOfCourse(const std::string& practicePath,
                                         const std::string& gamePath,
                                         const std::vector<unsigned char>& keys,
                                         const THistoryQueries& history, const std::string& user,
                                         std::uint32_t seed)
{
    std::vector<std::string> texts;
    for (const std::string* path : {&practicePath, &gamePath}) {
        try {
            if (const auto text = ReadFileIfExists(*path))
                texts.push_back(*text);
        } catch (const TError&) {
            // An unreadable file gives no words; the other may still give some.
        }
    }
    // The slow pairs around the keys practised.
    std::vector<TKeyPair> pairs;
    for (const TPairTime& pair : history.SlowPairs(user, WeakPairMinCount, WeakPairCount))
        if (std::ranges::count(keys, pair.First) + std::ranges::count(keys, pair.Second) > 0)
            pairs.emplace_back(pair.First, pair.Second);
    return TWeakKeyLineBuilder(CourseWords(texts), keys, pairs, seed);
}
