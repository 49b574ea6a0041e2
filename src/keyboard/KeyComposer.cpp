// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyComposer.h"

#include <xkbcommon/xkbcommon-compose.h>

struct TKeyComposer::TTables
{
    xkb_context* Context = nullptr;
    xkb_compose_table* Table = nullptr;
    xkb_compose_state* State = nullptr;

    ~TTables()
    {
        xkb_compose_state_unref(State);
        xkb_compose_table_unref(Table);
        xkb_context_unref(Context);
    }
};

TKeyComposer::TKeyComposer(const char* locale) : tables_(std::make_unique<TTables>())
{
    tables_->Context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (tables_->Context != nullptr)
        tables_->Table = xkb_compose_table_new_from_locale(tables_->Context, locale,
                                                           XKB_COMPOSE_COMPILE_NO_FLAGS);
    if (tables_->Table != nullptr)
        tables_->State = xkb_compose_state_new(tables_->Table, XKB_COMPOSE_STATE_NO_FLAGS);
}

TKeyComposer::~TKeyComposer() = default;

TKeyComposer::TStep TKeyComposer::Feed(std::uint32_t keysym)
{
    xkb_compose_state* state = tables_->State;
    if (state == nullptr || keysym == XKB_KEY_NoSymbol ||
        xkb_compose_state_feed(state, keysym) == XKB_COMPOSE_FEED_IGNORED)
        return TStep::Pass;
    switch (xkb_compose_state_get_status(state)) {
    case XKB_COMPOSE_NOTHING:
        return TStep::Pass;
    case XKB_COMPOSE_COMPOSING:
        return TStep::Swallow;
    case XKB_COMPOSE_COMPOSED: {
        char text[64];
        const int length = xkb_compose_state_get_utf8(state, text, sizeof text);
        composed_.assign(text, length > 0 ? static_cast<std::size_t>(length) : 0);
        xkb_compose_state_reset(state);
        return composed_.empty() ? TStep::Swallow : TStep::Composed;
    }
    case XKB_COMPOSE_CANCELLED:
        xkb_compose_state_reset(state);
        return TStep::Swallow;
    }
    return TStep::Pass;
}

void TKeyComposer::Reset()
{
    if (tables_->State != nullptr)
        xkb_compose_state_reset(tables_->State);
}
