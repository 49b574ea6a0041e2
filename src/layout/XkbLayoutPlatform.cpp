// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/XkbLayoutPlatform.h"

#include "base/RunProgram.h"
#include "layout/LayoutList.h"
#include "layout/XkbRegistry.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <cstdlib>

namespace {

// setxkbmap compiles a keymap in a fraction of a second; a server that does
// not answer must not hang the program.
constexpr std::chrono::milliseconds KeymapTimeout{5000};

std::vector<std::string> SplitList(const std::string& list, char separator = ',')
{
    std::vector<std::string> items;
    std::string::size_type start = 0;
    for (;;) {
        const auto comma = list.find(separator, start);
        items.push_back(list.substr(start, comma - start));
        if (comma == std::string::npos)
            return items;
        start = comma + 1;
    }
}

} // namespace

TXkbLayoutPlatform::TXkbLayoutPlatform() = default;

TXkbLayoutPlatform::TXkbLayoutPlatform(const std::string& displayName)
{
    int event = 0, error = 0, reason = 0;
    int major = XkbMajorVersion, minor = XkbMinorVersion;
    display_ = XkbOpenDisplay(displayName.empty() ? nullptr : displayName.c_str(), &event, &error,
                              &major, &minor, &reason);
}

TXkbLayoutPlatform::~TXkbLayoutPlatform()
{
    if (display_)
        XCloseDisplay(display_);
}

std::vector<TInstalledLayout> TXkbLayoutPlatform::InstalledLayouts()
{
    std::vector<TInstalledLayout> layouts;
    names_.emplace();
    for (const auto& entry : ReadXkbRegistry()) {
        layouts.push_back(InstalledXkbLayout(entry));
        names_->emplace(layouts.back().Id, entry.Name);
    }
    return layouts;
}

const TXkbLayoutName* TXkbLayoutPlatform::NameOf(std::uint32_t id)
{
    if (!names_)
        InstalledLayouts();
    const auto found = names_->find(id);
    return found == names_->end() ? nullptr : &found->second;
}

std::optional<TXkbLayoutPlatform::TRulesNames> TXkbLayoutPlatform::ReadRulesNames() const
{
    if (!display_)
        return std::nullopt;
    const Atom atom = XInternAtom(display_, "_XKB_RULES_NAMES", True);
    if (atom == None)
        return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, DefaultRootWindow(display_), atom, 0, 1024, False, XA_STRING,
                           &type, &format, &count, &after, &data) != Success ||
        !data)
        return std::nullopt;
    // Five NUL-separated names: rules, model, layouts, variants, options.
    std::vector<std::string> fields(1);
    for (unsigned long i = 0; i < count; ++i) {
        if (data[i] == '\0')
            fields.emplace_back();
        else
            fields.back() += static_cast<char>(data[i]);
    }
    XFree(data);
    fields.resize(5);
    if (fields[2].empty())
        return std::nullopt;
    return TRulesNames{fields[0], fields[1], fields[2], fields[3], fields[4]};
}

std::vector<TXkbLayoutName> TXkbLayoutPlatform::Groups(const TRulesNames& names)
{
    const auto layouts = SplitList(names.Layout);
    auto variants = SplitList(names.Variant);
    variants.resize(layouts.size());
    std::vector<TXkbLayoutName> groups;
    for (std::size_t i = 0; i < layouts.size() && i < XkbNumKbdGroups; ++i)
        groups.push_back({layouts[i], variants[i]});
    return groups;
}

int TXkbLayoutPlatform::LockedGroup() const
{
    XkbStateRec state{};
    if (!display_ || XkbGetState(display_, XkbUseCoreKbd, &state) != Success)
        return -1;
    return state.locked_group;
}

bool TXkbLayoutPlatform::LockGroup(int group)
{
    if (!display_ || group < 0 || group >= XkbNumKbdGroups)
        return false;
    XkbLockGroup(display_, XkbUseCoreKbd, static_cast<unsigned>(group));
    XSync(display_, False);
    return LockedGroup() == group;
}

bool TXkbLayoutPlatform::LoadKeymap(const TRulesNames& names)
{
    std::vector<std::string> argv{"setxkbmap", "-display", DisplayString(display_)};
    if (!names.Rules.empty())
        argv.insert(argv.end(), {"-rules", names.Rules});
    if (!names.Model.empty())
        argv.insert(argv.end(), {"-model", names.Model});
    argv.insert(argv.end(), {"-layout", names.Layout, "-variant", names.Variant, "-option", ""});
    if (!names.Options.empty())
        argv.insert(argv.end(), {"-option", names.Options});
    return RunProgram(argv, KeymapTimeout) == 0;
}

TLoadedLayouts TXkbLayoutPlatform::LoadedLayouts()
{
    TLoadedLayouts loaded;
    const auto names = ReadRulesNames();
    if (!names)
        return loaded;
    for (const auto& group : Groups(*names)) {
        const std::string name =
            group.Variant.empty() ? group.Layout : group.Layout + "(" + group.Variant + ")";
        loaded.Items.push_back({XkbLayoutId(group), name});
    }
    const int active = LockedGroup();
    loaded.Active = active < static_cast<int>(loaded.Items.size()) ? active : -1;
    return loaded;
}

bool TXkbLayoutPlatform::Activate(std::uint32_t id)
{
    const auto* wanted = NameOf(id);
    auto names = ReadRulesNames();
    if (!wanted || !names || !IsPlainXkbName(wanted->Layout) || !IsPlainXkbName(wanted->Variant))
        return false;
    const auto groups = Groups(*names);
    const auto own =
        OwnLayouts(groups, added_, rememberedNames_ ? Groups(*rememberedNames_) : groups);
    const auto plan = PlanActivation(own, *wanted);
    if (!plan)
        return false;
    if (plan->Layouts != groups) {
        TRulesNames changed = *names;
        changed.Layout = LayoutNamesList(plan->Layouts);
        changed.Variant = VariantNamesList(plan->Layouts);
        if (!LoadKeymap(changed))
            return false;
        names = ReadRulesNames();
        if (!names || Groups(*names) != plan->Layouts)
            return false;
    }
    added_.reset();
    if (std::find(own.begin(), own.end(), *wanted) == own.end())
        added_ = *wanted;
    return LockGroup(plan->Active);
}

void TXkbLayoutPlatform::RememberCurrent()
{
    rememberedNames_ = ReadRulesNames();
    rememberedGroup_ = std::max(LockedGroup(), 0);
}

bool TXkbLayoutPlatform::RestoreRemembered()
{
    if (!rememberedNames_ || !Restore(*rememberedNames_, rememberedGroup_))
        return false;
    added_.reset();
    return true;
}

bool TXkbLayoutPlatform::Restore(const TRulesNames& names, int group)
{
    if (ReadRulesNames() != names && !LoadKeymap(names))
        return false;
    return LockGroup(group);
}

// "layouts;variants;group;rules;model;options": no XKB name holds a ";".
std::string TXkbLayoutPlatform::RememberedState() const
{
    if (!rememberedNames_)
        return {};
    const auto& n = *rememberedNames_;
    return n.Layout + ";" + n.Variant + ";" + std::to_string(rememberedGroup_) + ";" + n.Rules +
           ";" + n.Model + ";" + n.Options;
}

bool TXkbLayoutPlatform::RestoreState(const std::string& state)
{
    const auto fields = SplitList(state, ';');
    if (fields.size() != 6 || fields[0].empty() || fields[2].size() != 1 || fields[2][0] < '0' ||
        fields[2][0] >= '0' + XkbNumKbdGroups)
        return false;
    return Restore({fields[3], fields[4], fields[0], fields[1], fields[5]}, fields[2][0] - '0');
}
