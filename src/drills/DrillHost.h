// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class TLineEngine;
class stopwatch;

// What every drill asks of its window when it starts a sample. The drill
// hosts derive from it virtually, so that a window serving several drills
// answers each call once.
class TSampleHost
{
public:
    virtual ~TSampleHost() = default;

    // Shows the text in the sample box and gives it to the engine
    // (TLineEngine::SetSample).
    virtual void SetSample(const std::string& text) = 0;
    virtual void HideTimingMark() = 0;
};

// What the course, sentence and free drills ask of their window when they
// prepare a line, besides what the line engine asks (TLineDrillHost).
// Texts handed over are UTF-8 and already translated.
class TDrillHost : public virtual TSampleHost
{
public:
    // Key and finger of a new sample's first character: ShowKey of the
    // keyboard, then ShowFinger with its result.
    virtual void ShowFirstKey(unsigned char ch) = 0;
    virtual void ResetDisplay() = 0;
    // An information box with OK.
    virtual void Information(const std::string& message) = 0;
    // The standard input box: what the user typed, or nullopt for Cancel;
    // the drills apply InputBoxAnswer to it.
    virtual std::optional<std::string> InputBox(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& defaultText) = 0;
};

// The keys the drills' key filters tell apart; every other key is Other.
enum class TDrillKey
{
    Home,
    End,
    Left,
    Up,
    Right,
    Down,
    Insert,
    Delete,
    PageUp,
    PageDown,
    Other,
};

// What the edit field of the standard input box holds.
constexpr std::size_t InputBoxMaxLength = 255;

// The answer of the standard input box: the typed text (UTF-8) cut to the
// characters its field holds, or the default text on Cancel.
std::string InputBoxAnswer(const std::optional<std::string>& typed, std::string_view defaultText);

// The first count characters of a UTF-8 text; a character is never split.
std::string FirstCharacters(std::string_view utf8, std::size_t count);

// What every line drill does once it has chosen its sample: the sample is
// shown, the engine starts a fresh untimed line at position 1, the first
// key is shown, Passed is true and the display is reset.
void StartLine(TLineEngine& engine, stopwatch& watch, TDrillHost& host, const std::string& sample,
               int wordCount);
