// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Colors.h"
#include "history/HistoryFigures.h"

#include <cstddef>
#include <optional>
#include <vector>

class TDataMod;

// The figures of one key of the keyboard: those of every character whose
// key it is (a letter and its capital, say).
struct TKeyButtonFigures
{
    std::vector<unsigned char> Characters; // in code order
    int Typed = 0;
    int Wrong = 0;
    // Over right keys, each character weighted by how often it was right;
    // 0 when none was.
    double MeanTime = 0;

    double ErrorRate() const { return Typed > 0 ? double(Wrong) / Typed : 0.0; }
    int Right() const { return Typed - Wrong; }
};

// One entry per button of the keyboard built from data's key table (the
// button's index is the key's row), with the figures of the characters the
// lookup finds on it. A key the user was never asked to type has Typed 0.
std::vector<TKeyButtonFigures> ButtonFigures(const TDataMod& data,
                                             const std::vector<TKeyFigures>& keys);

// What the keys are coloured by.
enum class TKeyMeasure
{
    ErrorRate,
    MeanTime,
};

// This error rate and above is drawn full red.
inline constexpr double RedErrorRate = 0.10;

// The keys without figures, apart from the scale's colours.
inline constexpr TColor NoFiguresColor = RGBColor(205, 205, 205);

// From green (0) over yellow (0.5) to red (1); t is clamped to 0..1.
TColor ScaleColor(double t);

// The colour of each key by one measure: error rates from 0 up to
// RedErrorRate; mean times from the fastest key to the slowest.
class TKeyShades
{
public:
    TKeyShades(const std::vector<TKeyButtonFigures>& buttons, TKeyMeasure measure);

    // None for a key without the measure: never asked, or, for times,
    // never typed right.
    std::optional<TColor> Shade(const TKeyButtonFigures& key) const;

private:
    TKeyMeasure measure_;
    double fastest_ = 0;
    double slowest_ = 0;
};

// The keys drilled as "my weak keys".
inline constexpr std::size_t WeakKeyCount = 10;
// Fewer times asked than this say too little about a key.
inline constexpr int WeakKeyMinCount = 10;

// The characters asked at least minCount times, highest error rate first;
// among equal rates the slower first, then by code. At most limit.
std::vector<TKeyFigures> WeakestKeys(std::vector<TKeyFigures> keys, int minCount = WeakKeyMinCount,
                                     std::size_t limit = WeakKeyCount);
