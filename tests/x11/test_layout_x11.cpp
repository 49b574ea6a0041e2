// SPDX-License-Identifier: GPL-3.0-or-later
// The layout agent on a real X server: run by with-xvfb under Xvfb, read
// back with setxkbmap and the server's own keyboard state.
#include "layout/KeyboardLayoutAgent.h"
#include "layout/XkbLayoutPlatform.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>

// After the test framework: Xlib's macros (None, Bool) clash with its names.
#include <X11/XKBlib.h>

namespace {

// `setxkbmap -query` as key and value ("layout" -> "us,de").
std::map<std::string, std::string> Query()
{
    std::map<std::string, std::string> values;
    FILE* pipe = popen("setxkbmap -query", "r");
    if (!pipe)
        return values;
    std::array<char, 256> line{};
    while (fgets(line.data(), line.size(), pipe)) {
        std::istringstream in(line.data());
        std::string key, value;
        in >> key >> value;
        if (!key.empty())
            values[key.substr(0, key.size() - 1)] = value;
    }
    pclose(pipe);
    return values;
}

void SetKeymap(const std::string& arguments)
{
    ASSERT_EQ(std::system(("setxkbmap -option '' " + arguments).c_str()), 0) << arguments;
}

class X11LayoutTest : public testing::Test
{
protected:
    void SetUp() override
    {
        display = XkbOpenDisplay(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(display, nullptr) << "no X display";
        SetKeymap("-layout us -variant ''");
        LockGroup(0);
    }
    void TearDown() override
    {
        if (display)
            XCloseDisplay(display);
    }

    // Through a connection of the test's own, not the agent's.
    int ActiveGroup()
    {
        XkbStateRec state{};
        XkbGetState(display, XkbUseCoreKbd, &state);
        return state.locked_group;
    }
    void LockGroup(unsigned group)
    {
        XkbLockGroup(display, XkbUseCoreKbd, group);
        XSync(display, False);
    }
    std::unique_ptr<TKeyboardLayoutAgent> NewAgent()
    {
        auto agent =
            std::make_unique<TKeyboardLayoutAgent>(std::make_unique<TXkbLayoutPlatform>(""));
        agent->Refresh();
        return agent;
    }

    Display* display = nullptr;
};

TEST_F(X11LayoutTest, SwitchesBetweenUsAndGerman)
{
    const auto agent = NewAgent();
    ASSERT_TRUE(agent->ActivateLayout("00000407"));
    EXPECT_EQ(Query()["layout"], "us,de");
    EXPECT_EQ(ActiveGroup(), 1);
    // The user's own layout again: the added one is no longer needed.
    ASSERT_TRUE(agent->ActivateLayout("00000409"));
    EXPECT_EQ(Query()["layout"], "us");
    EXPECT_EQ(ActiveGroup(), 0);
    ASSERT_TRUE(agent->ActivateAvailable(agent->IndexOfLayout("00000407")));
    EXPECT_EQ(ActiveGroup(), 1);
}

TEST_F(X11LayoutTest, AddedLayoutsDoNotPileUp)
{
    const auto agent = NewAgent();
    for (const char* id : {"00000407", "0000040C", "0000040A", "00000407"})
        ASSERT_TRUE(agent->ActivateLayout(id)) << id;
    EXPECT_EQ(Query()["layout"], "us,de");
    EXPECT_EQ(ActiveGroup(), 1);
}

TEST_F(X11LayoutTest, StateOfAKilledRunIsPutBackByTheNext)
{
    SetKeymap("-layout us,fr -variant dvorak, -option grp:alt_shift_toggle");
    LockGroup(1);
    std::string state;
    {
        const auto agent = NewAgent();
        TXkbLayoutPlatform platform("");
        platform.RememberCurrent();
        state = platform.RememberedState();
        ASSERT_TRUE(agent->ActivateLayout("00000407"));
    } // killed: nothing restored
    ASSERT_EQ(Query()["layout"], "us,fr,de");
    TXkbLayoutPlatform next("");
    EXPECT_TRUE(next.RestoreState(state));
    const auto query = Query();
    EXPECT_EQ(query.at("layout"), "us,fr");
    EXPECT_EQ(query.at("variant"), "dvorak,");
    EXPECT_EQ(query.at("options"), "grp:alt_shift_toggle");
    EXPECT_EQ(ActiveGroup(), 1);
    for (const char* bad : {"", "us", "us;;9;evdev;pc105;", "us;;0;evdev"})
        EXPECT_FALSE(next.RestoreState(bad)) << bad;
}

TEST_F(X11LayoutTest, KeepsTheUsersLayoutsVariantsAndOptions)
{
    SetKeymap("-layout us,fr -variant dvorak, -option grp:alt_shift_toggle");
    const auto agent = NewAgent();
    ASSERT_TRUE(agent->ActivateLayout("00000407"));
    auto query = Query();
    EXPECT_EQ(query["layout"], "us,fr,de");
    EXPECT_EQ(query["variant"], "dvorak,,");
    EXPECT_EQ(query["options"], "grp:alt_shift_toggle");
    EXPECT_EQ(ActiveGroup(), 2);
    ASSERT_TRUE(agent->ActivateLayout("00010409"));
    EXPECT_EQ(Query()["layout"], "us,fr");
    EXPECT_EQ(Query()["variant"], "dvorak,");
    EXPECT_EQ(ActiveGroup(), 0);
}

TEST_F(X11LayoutTest, UnknownIdentifiersAnswerFalse)
{
    const auto agent = NewAgent();
    for (const char* id : {"7FFFFFFF", "00000000", "0000040G", "407", "00000407;ls"})
        EXPECT_FALSE(agent->ActivateLayout(id)) << id;
    EXPECT_EQ(Query()["layout"], "us");
    EXPECT_EQ(ActiveGroup(), 0);
}

TEST_F(X11LayoutTest, AFifthLayoutIsRefusedAndTheFourStay)
{
    SetKeymap("-layout us,fr,it,es -variant ,,,");
    const auto agent = NewAgent();
    EXPECT_FALSE(agent->ActivateLayout("00000407"));
    EXPECT_EQ(Query()["layout"], "us,fr,it,es");
    EXPECT_TRUE(agent->ActivateLayout("00000410"));
    EXPECT_EQ(ActiveGroup(), 2);
}

TEST_F(X11LayoutTest, RestoreBringsBackTheLayoutsOfTheStart)
{
    SetKeymap("-layout us,fr -variant , -option grp:alt_shift_toggle");
    LockGroup(1);
    {
        const auto agent = NewAgent();
        EXPECT_EQ(agent->OriginalLayoutName(), "French");
        ASSERT_TRUE(agent->ActivateLayout("00000407"));
        ASSERT_EQ(ActiveGroup(), 2);
        // What the end of the run does when ToRestoreLayout is set.
        EXPECT_TRUE(agent->RestoreOriginalLayout());
    }
    const auto query = Query();
    EXPECT_EQ(query.at("layout"), "us,fr");
    EXPECT_EQ(query.at("options"), "grp:alt_shift_toggle");
    EXPECT_EQ(ActiveGroup(), 1);
}

TEST_F(X11LayoutTest, InfoDescribesTheServersGroups)
{
    SetKeymap("-layout us,de -variant ,");
    LockGroup(1);
    const auto agent = NewAgent();
    const auto& lines = agent->InfoLines();
    const auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("  English (United States) = English (US)-0409"));
    EXPECT_TRUE(has("  German (Germany) = German-0407"));
    EXPECT_TRUE(has("  Display name: German (Germany)"));
    EXPECT_TRUE(has("  Country: Germany"));
}

TEST_F(X11LayoutTest, UnderWaylandTheXServerIsLeftAlone)
{
    setenv("WAYLAND_DISPLAY", "wayland-0", 1);
    TKeyboardLayoutAgent agent(DesktopLayoutPlatform());
    unsetenv("WAYLAND_DISPLAY");
    agent.Refresh();
    EXPECT_FALSE(agent.AvailableNames().empty());
    EXPECT_FALSE(agent.ActivateLayout("00000407"));
    EXPECT_EQ(Query()["layout"], "us");
}

} // namespace
