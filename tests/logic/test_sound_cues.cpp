// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SoundCues.h"
#include "profile/ProfileVar.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class TRecordingPlayer : public TCuePlayer
{
public:
    void PlayCue(const std::string& path) override { played.push_back(path); }
    std::vector<std::string> played;
};

class SoundCues : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tapwren-cues-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern + "/";
        fs::create_directories(dir_ + "media");
    }
    void TearDown() override { fs::remove_all(dir_); }

    void WriteMediaIni(const std::string& content)
    {
        std::ofstream(dir_ + "media/media.ini") << content;
    }

    std::string dir_;
    TRecordingPlayer player_;
    TProfile profile_;
};

const char* const ShippedIni = "[WAV]\n"
                               "word_ok=ok.wav\n"
                               "WORD_ERR=err.wav\n"
                               "Game_CityMissShoot=miss.wav\n"
                               "Game_CityShoot=shoot.wav\n"
                               "Game_CityHurt=hurt.wav\n"
                               "Game_DifficultyIncrease=level.wav\n";

struct HandlerCase
{
    const char* name;
    std::function<void(TSoundCues&)> handler;
    bool game; // under GameSoundEnabled, else DrillSoundEnabled
    const char* file;
};

class CueHandlers : public SoundCues, public testing::WithParamInterface<HandlerCase>
{};

TEST_P(CueHandlers, PlayOnlyUnderTheirOwnSwitch)
{
    WriteMediaIni(ShippedIni);
    TSoundCues cues(player_);
    cues.ReadCueNames(dir_);
    cues.SetProfile(&profile_);
    const HandlerCase& c = GetParam();
    for (const bool drill : {false, true}) {
        for (const bool game : {false, true}) {
            profile_.DrillSoundEnabled = drill;
            profile_.GameSoundEnabled = game;
            player_.played.clear();
            c.handler(cues);
            const bool sounds = c.game ? game : drill;
            if (sounds) {
                EXPECT_EQ(player_.played, std::vector<std::string>{dir_ + "media/" + c.file});
            } else {
                EXPECT_TRUE(player_.played.empty()) << drill << game;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllSeven, CueHandlers,
    testing::Values(HandlerCase{"LineDone", &TSoundCues::CueLineDone, false, "ok.wav"},
                    HandlerCase{"WrongKey", &TSoundCues::CueWrongKey, false, "err.wav"},
                    HandlerCase{"ReturnExpected", &TSoundCues::CueReturnExpected, false, "ok.wav"},
                    HandlerCase{"Miss", &TSoundCues::CueMiss, true, "miss.wav"},
                    HandlerCase{"Shoot", &TSoundCues::CueShoot, true, "shoot.wav"},
                    HandlerCase{"CityHurt", &TSoundCues::CueCityHurt, true, "hurt.wav"},
                    HandlerCase{"LevelUp", &TSoundCues::CueLevelUp, true, "level.wav"}),
    [](const testing::TestParamInfo<HandlerCase>& p) { return std::string(p.param.name); });

TEST_F(SoundCues, SwitchIsReadAtTheMomentOfTheEvent)
{
    WriteMediaIni(ShippedIni);
    TSoundCues cues(player_);
    cues.ReadCueNames(dir_);
    cues.SetProfile(&profile_);
    cues.CueShoot();
    EXPECT_TRUE(player_.played.empty());
    profile_.GameSoundEnabled = true; // as the profile dialog does between two games
    cues.CueShoot();
    EXPECT_EQ(player_.played.size(), 1u);
}

TEST_F(SoundCues, MissingFileOrKeyNamesTheMediaFolder)
{
    TSoundCues cues(player_);
    cues.ReadCueNames(dir_);
    EXPECT_EQ(cues.CuePath(TCue::WordOk), dir_ + "media/");

    WriteMediaIni("[wav]\nword_ok=ok.wav\n");
    cues.ReadCueNames(dir_);
    EXPECT_EQ(cues.CuePath(TCue::WordOk), dir_ + "media/ok.wav");
    EXPECT_EQ(cues.CuePath(TCue::GameLevelUp), dir_ + "media/");
}

TEST_F(SoundCues, NoProfileNoSound)
{
    WriteMediaIni(ShippedIni);
    TSoundCues cues(player_);
    cues.ReadCueNames(dir_);
    cues.CueLineDone();
    cues.CueShoot();
    EXPECT_TRUE(player_.played.empty());
}

// The format fields of a RIFF WAVE file, and its length in seconds.
struct TWaveFormat
{
    int format = 0, channels = 0, rate = 0, bits = 0;
    double seconds = 0;
};

std::optional<TWaveFormat> ReadWaveFormat(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    const auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
        return v;
    };
    const auto u16 = [&](std::size_t at) { return u32(at) & 0xFFFF; };
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return std::nullopt;
    TWaveFormat wave;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const std::uint32_t size = u32(at + 4);
        if (id == "fmt " && at + 24 <= bytes.size()) {
            wave.format = static_cast<int>(u16(at + 8));
            wave.channels = static_cast<int>(u16(at + 10));
            wave.rate = static_cast<int>(u32(at + 12));
            wave.bits = static_cast<int>(u16(at + 22));
        } else if (id == "data" && wave.rate > 0) {
            wave.seconds = size / double(wave.rate * wave.channels * wave.bits / 8);
        }
        at += 8 + size + (size & 1);
    }
    return wave;
}

TEST(ShippedCues, SixShortSixteenBitPcmFiles)
{
    const std::string media = std::string(TAPWREN_SOURCE_DIR) + "/";
    TRecordingPlayer player;
    TSoundCues cues(player);
    cues.ReadCueNames(media);
    for (std::size_t i = 0; i < CueCount; ++i) {
        const std::string path = cues.CuePath(static_cast<TCue>(i));
        const auto wave = ReadWaveFormat(path);
        ASSERT_TRUE(wave) << CueKeys[i] << ": " << path;
        EXPECT_EQ(wave->format, 1) << path; // PCM
        EXPECT_EQ(wave->bits, 16) << path;
        EXPECT_GT(wave->seconds, 0.05) << path;
        EXPECT_LT(wave->seconds, 0.6) << path;
    }
}

} // namespace
