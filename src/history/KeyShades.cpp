// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/KeyShades.h"

#include "keyboard/KeyLookup.h"
#include "keyboard/MainData.h"

#include <algorithm>
#include <cmath>

std::vector<TKeyButtonFigures> ButtonFigures(const TDataMod& data,
                                             const std::vector<TKeyFigures>& keys)
{
    std::vector<TKeyButtonFigures> buttons(data.MainTbl().RowCount());
    std::vector<TKeyFigures> byCode = keys;
    std::sort(byCode.begin(), byCode.end(),
              [](const TKeyFigures& a, const TKeyFigures& b) { return a.Key < b.Key; });
    std::vector<double> rightTime(buttons.size(), 0.0);
    for (const TKeyFigures& key : byCode) {
        const std::optional<std::size_t> button = FindKey(data, key.Key).Button;
        if (!button || *button >= buttons.size())
            continue;
        TKeyButtonFigures& figures = buttons[*button];
        figures.Characters.push_back(key.Key);
        figures.Typed += key.Typed;
        figures.Wrong += key.Wrong;
        rightTime[*button] += key.MeanTime * std::max(0, key.Typed - key.Wrong);
    }
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].Right() > 0)
            buttons[i].MeanTime = rightTime[i] / buttons[i].Right();
    return buttons;
}

TColor ScaleColor(double t)
{
    t = std::clamp(std::isnan(t) ? 0.0 : t, 0.0, 1.0);
    // Green (60, 180, 75), yellow (240, 200, 40), red (220, 50, 40).
    const auto mix = [](int from, int to, double part) {
        return static_cast<int>(std::lround(from + (to - from) * part));
    };
    if (t <= 0.5) {
        const double part = t * 2;
        return RGBColor(mix(60, 240, part), mix(180, 200, part), mix(75, 40, part));
    }
    const double part = (t - 0.5) * 2;
    return RGBColor(mix(240, 220, part), mix(200, 50, part), 40);
}

TKeyShades::TKeyShades(const std::vector<TKeyButtonFigures>& buttons, TKeyMeasure measure)
    : measure_(measure)
{
    bool first = true;
    for (const TKeyButtonFigures& key : buttons) {
        if (key.Right() <= 0)
            continue;
        fastest_ = first ? key.MeanTime : std::min(fastest_, key.MeanTime);
        slowest_ = first ? key.MeanTime : std::max(slowest_, key.MeanTime);
        first = false;
    }
}

std::optional<TColor> TKeyShades::Shade(const TKeyButtonFigures& key) const
{
    if (key.Typed <= 0)
        return std::nullopt;
    if (measure_ == TKeyMeasure::ErrorRate)
        return ScaleColor(key.ErrorRate() / RedErrorRate);
    if (key.Right() <= 0)
        return std::nullopt;
    const double span = slowest_ - fastest_;
    return ScaleColor(span > 0 ? (key.MeanTime - fastest_) / span : 0.0);
}

std::vector<TKeyFigures> WeakestKeys(std::vector<TKeyFigures> keys, int minCount, std::size_t limit)
{
    std::erase_if(keys, [minCount](const TKeyFigures& key) { return key.Typed < minCount; });
    std::sort(keys.begin(), keys.end(), [](const TKeyFigures& a, const TKeyFigures& b) {
        // Compared as fractions, so that equal rates of different counts tie.
        const long long left = static_cast<long long>(a.Wrong) * b.Typed;
        const long long right = static_cast<long long>(b.Wrong) * a.Typed;
        if (left != right)
            return left > right;
        if (a.MeanTime != b.MeanTime)
            return a.MeanTime > b.MeanTime;
        return a.Key < b.Key;
    });
    if (keys.size() > limit)
        keys.resize(limit);
    return keys;
}
