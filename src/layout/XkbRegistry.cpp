// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/XkbRegistry.h"

#include <map>
#include <memory>
#include <xkbcommon/xkbregistry.h>

namespace {

struct TContextUnref
{
    void operator()(rxkb_context* c) const { rxkb_context_unref(c); }
};

std::string Text(const char* s)
{
    return s ? s : "";
}

} // namespace

std::vector<TXkbRegistryEntry> ReadXkbRegistry()
{
    std::vector<TXkbRegistryEntry> entries;
    const std::unique_ptr<rxkb_context, TContextUnref> context(
        rxkb_context_new(RXKB_CONTEXT_NO_FLAGS));
    if (!context)
        return entries;
    rxkb_context_set_log_level(context.get(), RXKB_LOG_LEVEL_CRITICAL);
    if (!rxkb_context_parse_default_ruleset(context.get()))
        return entries;

    // A variant without codes of its own has its layout's.
    std::map<std::string, std::pair<std::string, std::string>> layoutCodes;
    for (rxkb_layout* l = rxkb_layout_first(context.get()); l; l = rxkb_layout_next(l)) {
        TXkbRegistryEntry e;
        e.Name = {Text(rxkb_layout_get_name(l)), Text(rxkb_layout_get_variant(l))};
        e.Description = Text(rxkb_layout_get_description(l));
        if (auto* code = rxkb_layout_get_iso639_first(l))
            e.Iso639 = Text(rxkb_iso639_code_get_code(code));
        if (auto* code = rxkb_layout_get_iso3166_first(l))
            e.Iso3166 = Text(rxkb_iso3166_code_get_code(code));
        if (e.Name.Variant.empty()) {
            layoutCodes[e.Name.Layout] = {e.Iso639, e.Iso3166};
        } else if (const auto base = layoutCodes.find(e.Name.Layout); base != layoutCodes.end()) {
            if (e.Iso639.empty())
                e.Iso639 = base->second.first;
            if (e.Iso3166.empty())
                e.Iso3166 = base->second.second;
        }
        entries.push_back(std::move(e));
    }
    return entries;
}
