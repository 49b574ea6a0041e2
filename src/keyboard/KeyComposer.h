// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct xkb_compose_state;

// Dead keys: a dead key followed by a letter types one composed character
// ("^" then "e" types "ê"), by the desktop's compose tables for the locale
// (or the user's own ~/.XCompose). The drills and the game compose keys
// themselves, in the order they were struck, instead of leaving it to an
// input method, whose result would overtake keys still waiting in the
// toolkit's queue.
class TKeyComposer
{
public:
    // Without a compose table for the locale, every key passes.
    explicit TKeyComposer(const char* locale);
    ~TKeyComposer();
    TKeyComposer(const TKeyComposer&) = delete;
    TKeyComposer& operator=(const TKeyComposer&) = delete;

    enum class TStep
    {
        Pass,     // not part of a composition: the key types as it is
        Swallow,  // a dead key, or a sequence that composes nothing: it types nothing
        Composed, // the sequence is complete: Composed() is what it types
    };
    // A key press, by its X key symbol; modifier keys leave a composition as it is.
    TStep Feed(std::uint32_t keysym);
    // The character just composed, UTF-8.
    const std::string& Composed() const { return composed_; }
    void Reset();

private:
    struct TTables;
    std::unique_ptr<TTables> tables_;
    std::string composed_;
};
