// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/ListLayoutPlatform.h"

#include <memory>
#include <string>
#include <vector>

// An input source of GNOME's settings: ("xkb", "de"), ("xkb", "us+dvorak"),
// ("ibus", "anthy").
struct TInputSource
{
    std::string Type;
    std::string Id;

    bool operator==(const TInputSource&) const = default;
};
using TInputSources = std::vector<TInputSource>;

// The layouts of GNOME's sources; the active one is the first of the most
// recently used that is one of them. Nothing when a source is an input
// method rather than an XKB layout: such a list is the user's to manage.
std::optional<TLayoutList> LayoutListOfSources(const TInputSources& sources,
                                               const TInputSources& mostRecent);
TInputSource SourceOf(const TXkbLayoutName& name);

// One write of a key of org.gnome.desktop.input-sources.
struct TSourcesWrite
{
    const char* Key; // "sources" or "mru-sources"
    TInputSources Value;

    bool operator==(const TSourcesWrite&) const = default;
};

// The writes, in order, that make `list` GNOME's with its active layout
// active. GNOME Shell keeps its own most-recently-used order while it runs,
// and whenever "sources" changes it activates the most recent source still
// in the list; "mru-sources" it reads only when it starts. So the wanted
// layout is first made the only source (the shell activates it, and it
// becomes the most recent), then the whole list is written, and the shell
// keeps it active; "mru-sources" gets it first for a shell that starts later.
std::vector<TSourcesWrite> GnomeSwitchWrites(const TLayoutList& list);

struct _GSettings;

// GNOME's layouts: the org.gnome.desktop.input-sources settings, through
// GSettings (dconf on a GNOME desktop).
class TGnomeLayoutPlatform final : public TListLayoutPlatform
{
public:
    TGnomeLayoutPlatform();
    ~TGnomeLayoutPlatform() override;

    std::string Kind() const override { return "gnome"; }
    // Whether the settings' schema is installed at all.
    bool HasSettings() const { return settings_ != nullptr; }

protected:
    std::optional<TLayoutList> ReadList() override;
    bool WriteList(const TLayoutList& list, bool layoutsChanged) override;

private:
    TInputSources Read(const char* key) const;

    _GSettings* settings_ = nullptr;
};
