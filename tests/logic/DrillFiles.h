// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
#include <string_view>

// A fresh folder for the files a drill test reads, removed afterwards.
class DrillFiles : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tapwren-drills-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Write(const std::string& name, std::string_view bytes) const
    {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

private:
    std::filesystem::path folder_;
};
