// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/ProfileFormRules.h"

#include "base/Errors.h"
#include "base/TextCase.h"
#include "base/Translate.h"
#include "layout/KeyboardLayoutAgent.h"

#include <algorithm>
#include <exception>

TProfileFormValues FormValuesOf(const TProfile& profile)
{
    TProfileFormValues v;
    v.FullScreen = profile.FullScreen;
    v.BgColor = profile.BgColor;
    v.GameBgColor = profile.GameBgColor;
    v.FunSpeed = profile.FunSpeed;
    v.Course = profile.Course;
    v.PracticeFont = profile.PracticeFont;
    v.TextFont = profile.TextFont;
    v.GameFont = profile.GameFont;
    v.HighLight = profile.HighLight;
    v.Blinking = profile.Blinking;
    v.GameSoundEnabled = profile.GameSoundEnabled;
    v.DrillSoundEnabled = profile.DrillSoundEnabled;
    v.PopupAtEnd = profile.PopupAtEnd;
    return v;
}

void ReadFormValues(const TProfileFormValues& values, const TKeyboardLayoutAgent& agent, bool isNew,
                    TProfile& profile)
{
    profile.FullScreen = values.FullScreen;
    profile.BgColor = values.BgColor;
    profile.GameBgColor = values.GameBgColor;
    profile.FunSpeed = values.FunSpeed;
    profile.Course = values.Course;
    profile.AssignPracticeFont(values.PracticeFont);
    profile.AssignTextFont(values.TextFont);
    profile.AssignGameFont(values.GameFont);
    profile.HighLight = values.HighLight;
    profile.Blinking = values.Blinking;
    profile.GameSoundEnabled = values.GameSoundEnabled;
    profile.DrillSoundEnabled = values.DrillSoundEnabled;
    profile.PopupAtEnd = values.PopupAtEnd;
    profile.KeyboardLayout = agent.LayoutIdAt(values.LayoutIndex);
    if (isNew) {
        profile.Progress = 0;
        profile.TimeTotal = 0;
    }
}

bool SaveAsNewUser(const TProfile& current, const TProfileFormValues& values,
                   const TKeyboardLayoutAgent& agent, const std::string& name)
{
    try {
        TProfile added;
        added.OnSave = current.OnSave;
        ReadFormValues(values, agent, true, added);
        added.SaveAs(name);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool NamesAnotherUser(const std::vector<std::string>& users, std::string_view current,
                      std::string_view name)
{
    return !SameText(name, current) && std::ranges::any_of(users, [&](const std::string& user) {
        return SameText(user, name);
    });
}

std::optional<std::string> NewUserName(const std::string& typed)
{
    const auto first = typed.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const auto last = typed.find_last_not_of(" \t");
    return typed.substr(first, last - first + 1);
}

std::string PracticeTimeText(std::int32_t milliseconds)
{
    return Format(_("%d h %d m %d s"), milliseconds / 3600000, milliseconds / 60000 % 60,
                  milliseconds / 1000 % 60);
}

const std::vector<TNamedColor>& PickerColors()
{
    static const std::vector<TNamedColor> colors{
        {N_("Black"), RGBColor(0, 0, 0)},
        {N_("Maroon"), RGBColor(128, 0, 0)},
        {N_("Green"), RGBColor(0, 128, 0)},
        {N_("Olive"), RGBColor(128, 128, 0)},
        {N_("Navy"), RGBColor(0, 0, 128)},
        {N_("Purple"), RGBColor(128, 0, 128)},
        {N_("Teal"), RGBColor(0, 128, 128)},
        {N_("Gray"), RGBColor(128, 128, 128)},
        {N_("Silver"), RGBColor(192, 192, 192)},
        {N_("Red"), RGBColor(255, 0, 0)},
        {N_("Lime"), RGBColor(0, 255, 0)},
        {N_("Yellow"), RGBColor(255, 255, 0)},
        {N_("Blue"), RGBColor(0, 0, 255)},
        {N_("Fuchsia"), RGBColor(255, 0, 255)},
        {N_("Aqua"), RGBColor(0, 255, 255)},
        {N_("White"), RGBColor(255, 255, 255)},
        {N_("Window background"), SystemColor(COLOR_WINDOW)},
        {N_("Window text"), SystemColor(COLOR_WINDOWTEXT)},
        {N_("Highlight"), SystemColor(COLOR_HIGHLIGHT)},
        {N_("Highlight text"), SystemColor(COLOR_HIGHLIGHTTEXT)},
        {N_("Button face"), SystemColor(COLOR_BTNFACE)},
        {N_("Button text"), SystemColor(COLOR_BTNTEXT)},
        {N_("Info text"), SystemColor(COLOR_INFOTEXT)},
        {N_("Info background"), SystemColor(COLOR_INFOBK)},
    };
    return colors;
}
