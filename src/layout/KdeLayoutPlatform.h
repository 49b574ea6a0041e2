// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout/ListLayoutPlatform.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// A layout as KDE's keyboard service lists it: short name ("de"), display
// name (the user's own label, often empty) and long name ("German").
struct TKdeLayoutNames
{
    std::string ShortName, DisplayName, LongName;
};

// The user's list from what KDE's service lists and what kxkbrc's [Layout]
// LayoutList and VariantList say: the variants come from kxkbrc when its
// layouts are the service's, otherwise from the long names.
std::vector<TXkbLayoutName>
KdeLayouts(const std::vector<TKdeLayoutNames>& listed, const std::string& layoutList,
           const std::string& variantList,
           const std::function<std::optional<TXkbLayoutName>(const std::string&)>& byDescription);

struct _GDBusConnection;

// KDE Plasma's layouts: the org.kde.keyboard service, object /Layouts
// (getLayoutsList, getLayout, setLayout). A layout not in the user's list is
// added through kxkbrc's [Layout] LayoutList and VariantList, which KDE reads
// again on the reloadConfig signal, and taken out the same way.
class TKdeLayoutPlatform final : public TListLayoutPlatform
{
public:
    // kxkbrc: $XDG_CONFIG_HOME/kxkbrc, or ~/.config/kxkbrc.
    TKdeLayoutPlatform();
    ~TKdeLayoutPlatform() override;

    std::string Kind() const override { return "kde"; }

protected:
    std::optional<TLayoutList> ReadList() override;
    bool WriteList(const TLayoutList& list, bool layoutsChanged) override;

private:
    std::optional<std::vector<TKdeLayoutNames>> Listed() const;
    std::optional<unsigned> Active() const;
    bool SetActive(unsigned index) const;
    bool WriteConfig(const TLayoutList& list) const;

    _GDBusConnection* bus_ = nullptr;
    std::string config_;
};
