// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/KdeLayoutPlatform.h"

#include "base/Errors.h"
#include "base/IniDocument.h"
#include "base/WholeFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gio/gio.h>
#include <thread>

namespace {

constexpr const char* Service = "org.kde.keyboard";
constexpr const char* Path = "/Layouts";
constexpr const char* Interface = "org.kde.KeyboardLayouts";
constexpr const char* Section = "Layout";
// The service answers at once; one that does not must not freeze the window.
constexpr int CallTimeoutMs = 500;
// How long KDE may take to read kxkbrc again and list the new layouts.
constexpr std::chrono::milliseconds ReloadWait{2000};
constexpr std::chrono::milliseconds ReloadPoll{50};

std::string ConfigPath()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config != '\0')
        return std::string(config) + "/kxkbrc";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/kxkbrc";
}

} // namespace

std::vector<TXkbLayoutName>
KdeLayouts(const std::vector<TKdeLayoutNames>& listed, const std::string& layoutList,
           const std::string& variantList,
           const std::function<std::optional<TXkbLayoutName>(const std::string&)>& byDescription)
{
    const auto configured = ParseNameLists(layoutList, variantList);
    bool same = configured.size() == listed.size();
    for (std::size_t i = 0; same && i < listed.size(); ++i)
        same = configured[i].Layout == listed[i].ShortName;
    if (same)
        return configured;
    std::vector<TXkbLayoutName> layouts;
    for (const auto& names : listed) {
        const auto described = byDescription(names.LongName);
        layouts.push_back(described && described->Layout == names.ShortName
                              ? *described
                              : TXkbLayoutName{names.ShortName, ""});
    }
    return layouts;
}

bool TKdeLayoutPlatform::WriteConfig(const TLayoutList& list) const
{
    // KDE's file, with every other line of it kept; replaced whole, so that
    // KDE never reads half of it.
    try {
        TIniDocument config(ReadFileIfExists(config_).value_or(""));
        config.SetValue(Section, "LayoutList", LayoutNamesList(list.Layouts));
        config.SetValue(Section, "VariantList", VariantNamesList(list.Layouts));
        config.SetValue(Section, "Use", "true");
        const std::string written = config_ + ".new";
        {
            std::ofstream out(written, std::ios::binary | std::ios::trunc);
            out << config.Content();
            if (!out.flush())
                return false;
        }
        return std::rename(written.c_str(), config_.c_str()) == 0;
    } catch (const TError&) {
        return false;
    }
}

TKdeLayoutPlatform::TKdeLayoutPlatform() : config_(ConfigPath())
{
    bus_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
}

TKdeLayoutPlatform::~TKdeLayoutPlatform()
{
    if (bus_ != nullptr)
        g_object_unref(bus_);
}

std::optional<std::vector<TKdeLayoutNames>> TKdeLayoutPlatform::Listed() const
{
    if (bus_ == nullptr)
        return std::nullopt;
    GVariant* answer = g_dbus_connection_call_sync(
        bus_, Service, Path, Interface, "getLayoutsList", nullptr, G_VARIANT_TYPE("(a(sss))"),
        G_DBUS_CALL_FLAGS_NO_AUTO_START, CallTimeoutMs, nullptr, nullptr);
    if (answer == nullptr)
        return std::nullopt;
    std::vector<TKdeLayoutNames> listed;
    GVariantIter* iter = nullptr;
    g_variant_get(answer, "(a(sss))", &iter);
    const char *shortName = nullptr, *displayName = nullptr, *longName = nullptr;
    while (g_variant_iter_next(iter, "(&s&s&s)", &shortName, &displayName, &longName))
        listed.push_back({shortName, displayName, longName});
    g_variant_iter_free(iter);
    g_variant_unref(answer);
    return listed;
}

std::optional<unsigned> TKdeLayoutPlatform::Active() const
{
    GVariant* answer = g_dbus_connection_call_sync(
        bus_, Service, Path, Interface, "getLayout", nullptr, G_VARIANT_TYPE("(u)"),
        G_DBUS_CALL_FLAGS_NO_AUTO_START, CallTimeoutMs, nullptr, nullptr);
    if (answer == nullptr)
        return std::nullopt;
    guint32 index = 0;
    g_variant_get(answer, "(u)", &index);
    g_variant_unref(answer);
    return index;
}

bool TKdeLayoutPlatform::SetActive(unsigned index) const
{
    GVariant* answer = g_dbus_connection_call_sync(
        bus_, Service, Path, Interface, "setLayout", g_variant_new("(u)", index),
        G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, CallTimeoutMs, nullptr, nullptr);
    if (answer == nullptr)
        return false;
    gboolean done = FALSE;
    g_variant_get(answer, "(b)", &done);
    g_variant_unref(answer);
    return done != FALSE;
}

std::optional<TLayoutList> TKdeLayoutPlatform::ReadList()
{
    const auto listed = Listed();
    const auto active = listed ? Active() : std::nullopt;
    if (!listed || listed->empty() || !active)
        return std::nullopt;
    std::string layouts, variants;
    try {
        const TIniDocument config(ReadFileIfExists(config_).value_or(""));
        layouts = config.Value(Section, "LayoutList").value_or("");
        variants = config.Value(Section, "VariantList").value_or("");
    } catch (const TError&) {
        // An unreadable kxkbrc: the service's names alone.
    }
    return TLayoutList{KdeLayouts(*listed, layouts, variants,
                                  [this](const std::string& d) { return NameOfDescription(d); }),
                       static_cast<int>(*active)};
}

bool TKdeLayoutPlatform::WriteList(const TLayoutList& list, bool layoutsChanged)
{
    if (bus_ == nullptr)
        return false;
    if (layoutsChanged) {
        if (!WriteConfig(list))
            return false;
        g_dbus_connection_emit_signal(bus_, nullptr, Path, "org.kde.keyboard", "reloadConfig",
                                      nullptr, nullptr);
        g_dbus_connection_flush_sync(bus_, nullptr, nullptr);
        const auto deadline = std::chrono::steady_clock::now() + ReloadWait;
        for (;;) {
            const auto listed = Listed();
            if (listed && listed->size() == list.Layouts.size())
                break;
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(ReloadPoll);
        }
    }
    return SetActive(static_cast<unsigned>(list.Active));
}
