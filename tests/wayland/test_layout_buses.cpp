// SPDX-License-Identifier: GPL-3.0-or-later
// The GNOME and KDE Plasma backends against the services they talk to, on a
// private session bus (run under dbus-run-session, with XDG_CONFIG_HOME a
// folder of the test's own, set before the bus starts so that the services it
// starts write there too): GSettings with its dconf
// backend and the input-sources schema, watched by `gsettings monitor` as
// GNOME Shell watches it; and a stand-in for KDE's keyboard service that
// reads kxkbrc as KDE does.
#include "layout/GnomeLayoutPlatform.h"
#include "layout/KdeLayoutPlatform.h"
#include "layout/KeyboardLayoutAgent.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Output(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (fgets(buffer, sizeof buffer, pipe) != nullptr)
            text += buffer;
        pclose(pipe);
    }
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

bool Have(const std::string& tool)
{
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// A program in the background for the length of a test.
class TBackground
{
public:
    explicit TBackground(const std::vector<std::string>& argv, const std::string& output = {})
    {
        pid_ = fork();
        if (pid_ == 0) {
            if (!output.empty())
                freopen(output.c_str(), "w", stdout);
            std::vector<char*> args;
            for (const auto& a : argv)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
    }
    ~TBackground()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    TBackground(const TBackground&) = delete;
    TBackground& operator=(const TBackground&) = delete;

private:
    pid_t pid_ = -1;
};

class BusTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const char* config = std::getenv("XDG_CONFIG_HOME");
        if (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr || config == nullptr)
            GTEST_SKIP() << "no session bus: run under dbus-run-session, XDG_CONFIG_HOME set";
        configFolder = config;
        folder = fs::temp_directory_path() /
                 ("tapwren-bus-" + std::to_string(getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    fs::path configFolder;
};

using GnomeTest = BusTest;

std::string Gsettings(const std::string& verb, const std::string& key,
                      const std::string& value = {})
{
    return Output("gsettings " + verb + " org.gnome.desktop.input-sources " + key +
                  (value.empty() ? "" : " \"" + value + "\""));
}

TEST_F(GnomeTest, SwitchesAsGnomeShellFollowsAndPutsTheListBack)
{
    if (!Have("gsettings") || !fs::exists("/usr/share/glib-2.0/schemas/"
                                          "org.gnome.desktop.input-sources.gschema.xml"))
        GTEST_SKIP() << "gsettings or the input-sources schema is not installed";
    setenv("GSETTINGS_BACKEND", "dconf", 1);
    Gsettings("set", "sources", "[('xkb', 'us'), ('xkb', 'fr')]");
    Gsettings("set", "mru-sources", "[('xkb', 'fr'), ('xkb', 'us')]");
    const fs::path watched = folder / "monitor.txt";
    TBackground monitor({"gsettings", "monitor", "org.gnome.desktop.input-sources", "sources"},
                        watched.string());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    TKeyboardLayoutAgent agent(std::make_unique<TGnomeLayoutPlatform>());
    ASSERT_TRUE(agent.CanActivateLayouts());
    EXPECT_EQ(agent.OriginalLayoutName(), "French");
    ASSERT_TRUE(agent.ActivateLayout("00000407"));
    EXPECT_EQ(Gsettings("get", "sources"), "[('xkb', 'us'), ('xkb', 'fr'), ('xkb', 'de')]");
    EXPECT_EQ(Gsettings("get", "mru-sources").rfind("[('xkb', 'de')", 0), 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // What the shell sees: German alone (it activates it), then the list.
    std::ifstream seen(watched);
    const std::string changes((std::istreambuf_iterator<char>(seen)), {});
    const auto alone = changes.find("sources: [('xkb', 'de')]\n");
    ASSERT_NE(alone, std::string::npos) << changes;
    EXPECT_NE(changes.find("sources: [('xkb', 'us'), ('xkb', 'fr'), ('xkb', 'de')]", alone),
              std::string::npos)
        << changes;

    // Another layout replaces the added one; the user's own takes it out.
    ASSERT_TRUE(agent.ActivateLayout("0000040A"));
    EXPECT_EQ(Gsettings("get", "sources"), "[('xkb', 'us'), ('xkb', 'fr'), ('xkb', 'es')]");
    ASSERT_TRUE(agent.ActivateLayout("00000409"));
    EXPECT_EQ(Gsettings("get", "sources"), "[('xkb', 'us'), ('xkb', 'fr')]");
    ASSERT_TRUE(agent.ActivateLayout("00000407"));
    EXPECT_TRUE(agent.RestoreOriginalLayout());
    EXPECT_EQ(Gsettings("get", "sources"), "[('xkb', 'us'), ('xkb', 'fr')]");
    EXPECT_EQ(Gsettings("get", "mru-sources").rfind("[('xkb', 'fr')", 0), 0u);
}

TEST_F(GnomeTest, FourSourcesGetNoFifthAndInputMethodsAreLeftAlone)
{
    if (!Have("gsettings"))
        GTEST_SKIP() << "gsettings is not installed";
    setenv("GSETTINGS_BACKEND", "dconf", 1);
    const std::string four = "[('xkb', 'us'), ('xkb', 'fr'), ('xkb', 'it'), ('xkb', 'es')]";
    Gsettings("set", "sources", four);
    {
        TKeyboardLayoutAgent agent(std::make_unique<TGnomeLayoutPlatform>());
        EXPECT_FALSE(agent.ActivateLayout("00000407"));
        EXPECT_TRUE(agent.ActivateLayout("00000410"));
    }
    EXPECT_EQ(Gsettings("get", "sources"), four);
    Gsettings("set", "sources", "[('xkb', 'us'), ('ibus', 'anthy')]");
    TKeyboardLayoutAgent agent(std::make_unique<TGnomeLayoutPlatform>());
    EXPECT_FALSE(agent.CanActivateLayouts());
    EXPECT_EQ(Gsettings("get", "sources"), "[('xkb', 'us'), ('ibus', 'anthy')]");
}

using KdeTest = BusTest;

TEST_F(KdeTest, AddsThroughKxkbrcAndTakesItOutAgain)
{
    if (std::system("/usr/bin/python3 -c 'import dbus, gi' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "Debian's python3 with dbus and gi is needed for the stand-in";
    const fs::path kxkbrc = configFolder / "kxkbrc";
    std::ofstream(kxkbrc) << "[Layout]\nDisplayNames=\nLayoutList=us,fr\nUse=true\n"
                             "VariantList=,\n\n[Other]\nKept=1\n";
    TBackground standin({TAPWREN_STANDIN});
    const std::string ask = "gdbus call --session --dest org.kde.keyboard --object-path /Layouts "
                            "--method org.kde.KeyboardLayouts.";
    for (int i = 0; i < 100 && Output(ask + "getLayout 2>/dev/null").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    TKeyboardLayoutAgent agent(std::make_unique<TKdeLayoutPlatform>());
    ASSERT_TRUE(agent.CanActivateLayouts());
    ASSERT_TRUE(agent.ActivateLayout("0000040C")); // the user's own
    EXPECT_EQ(Output(ask + "getLayout"), "(uint32 1,)");
    ASSERT_TRUE(agent.ActivateLayout("00000407"));
    EXPECT_EQ(Output(ask + "getLayout"), "(uint32 2,)");
    const auto config = [&] {
        std::ifstream in(kxkbrc);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    };
    EXPECT_NE(config().find("LayoutList=us,fr,de"), std::string::npos) << config();
    EXPECT_NE(config().find("Kept=1"), std::string::npos) << "the rest of KDE's file stays";
    ASSERT_TRUE(agent.ActivateLayout("0000040A"));
    EXPECT_NE(config().find("LayoutList=us,fr,es"), std::string::npos) << "no piling up";
    EXPECT_TRUE(agent.RestoreOriginalLayout());
    EXPECT_NE(config().find("LayoutList=us,fr\n"), std::string::npos) << config();
    EXPECT_EQ(Output(ask + "getLayout"), "(uint32 0,)");
}

} // namespace
