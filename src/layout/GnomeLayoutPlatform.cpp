// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/GnomeLayoutPlatform.h"

#include <algorithm>
#include <chrono>
#include <gio/gio.h>
#include <thread>

namespace {

constexpr const char* Schema = "org.gnome.desktop.input-sources";
// Time for GNOME Shell to take a change of "sources" before the next one, so
// that it sees the wanted layout alone.
constexpr std::chrono::milliseconds ShellTurn{150};

} // namespace

std::optional<TLayoutList> LayoutListOfSources(const TInputSources& sources,
                                               const TInputSources& mostRecent)
{
    if (sources.empty())
        return std::nullopt;
    TLayoutList list;
    for (const auto& source : sources) {
        if (source.Type != "xkb" || source.Id.empty())
            return std::nullopt;
        const auto plus = source.Id.find('+');
        list.Layouts.push_back(
            plus == std::string::npos
                ? TXkbLayoutName{source.Id, ""}
                : TXkbLayoutName{source.Id.substr(0, plus), source.Id.substr(plus + 1)});
    }
    for (const auto& recent : mostRecent) {
        const auto at = std::find(sources.begin(), sources.end(), recent);
        if (at != sources.end()) {
            list.Active = static_cast<int>(at - sources.begin());
            break;
        }
    }
    return list;
}

TInputSource SourceOf(const TXkbLayoutName& name)
{
    return {"xkb", name.Variant.empty() ? name.Layout : name.Layout + "+" + name.Variant};
}

std::vector<TSourcesWrite> GnomeSwitchWrites(const TLayoutList& list)
{
    TInputSources all;
    for (const auto& name : list.Layouts)
        all.push_back(SourceOf(name));
    const TInputSource wanted = all.at(static_cast<std::size_t>(list.Active));
    TInputSources mostRecent{wanted};
    for (const auto& source : all)
        if (!(source == wanted))
            mostRecent.push_back(source);
    return {{"mru-sources", mostRecent}, {"sources", {wanted}}, {"sources", all}};
}

TGnomeLayoutPlatform::TGnomeLayoutPlatform()
{
    // g_settings_new aborts the program for a schema that is not installed.
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source != nullptr ? g_settings_schema_source_lookup(source, Schema, TRUE) : nullptr;
    if (schema == nullptr)
        return;
    g_settings_schema_unref(schema);
    settings_ = g_settings_new(Schema);
}

TGnomeLayoutPlatform::~TGnomeLayoutPlatform()
{
    if (settings_ != nullptr)
        g_object_unref(settings_);
}

TInputSources TGnomeLayoutPlatform::Read(const char* key) const
{
    TInputSources sources;
    GVariant* value = g_settings_get_value(settings_, key);
    GVariantIter iter;
    g_variant_iter_init(&iter, value);
    const char* type = nullptr;
    const char* id = nullptr;
    while (g_variant_iter_next(&iter, "(&s&s)", &type, &id))
        sources.push_back({type, id});
    g_variant_unref(value);
    return sources;
}

std::optional<TLayoutList> TGnomeLayoutPlatform::ReadList()
{
    if (settings_ == nullptr)
        return std::nullopt;
    return LayoutListOfSources(Read("sources"), Read("mru-sources"));
}

bool TGnomeLayoutPlatform::WriteList(const TLayoutList& list, bool)
{
    if (settings_ == nullptr)
        return false;
    const auto writes = GnomeSwitchWrites(list);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const TSourcesWrite& write = writes[i];
        if (i + 1 == writes.size())
            std::this_thread::sleep_for(ShellTurn);
        GVariantBuilder builder;
        g_variant_builder_init(&builder, G_VARIANT_TYPE("a(ss)"));
        for (const auto& source : write.Value)
            g_variant_builder_add(&builder, "(ss)", source.Type.c_str(), source.Id.c_str());
        if (!g_settings_set_value(settings_, write.Key, g_variant_builder_end(&builder)))
            return false;
        g_settings_sync();
    }
    return true;
}
