// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CodePage.h"

#include <string>

// The one settings object of the run: where the program and its data live,
// the last user who logged on and the interface font, kept in tw.ini.
class TSettings
{
public:
    // ProgramDir is the folder of the running program, DataDir the working
    // directory now; both end with a path separator.
    TSettings();
    TSettings(std::string programDir, std::string dataDir);
    virtual ~TSettings() = default;

    virtual bool Load();
    virtual void Save();

    std::string ProgramDir;
    std::string DataDir;
    bool ToRestoreLayout = false;
    std::string User;
    std::string FontName;
    int FontCharset = 0;

    // The 8-bit code page of text files and typed characters ([General]
    // CodePage, read by Load, never written).
    const TCodePage& CodePage() const { return codePage_; }

    std::string FileName() const { return DataDir + "tw.ini"; }
    // Every user's profile, in the same folder.
    std::string ProfileFileName() const { return DataDir + "twc.ini"; }

private:
    TCodePage codePage_;
};

// The process-wide settings, created at start-up.
extern TSettings* Settings;

// The folder of the running program, with a trailing separator.
std::string ProgramFolder();
// The working directory, with a trailing separator.
std::string WorkingFolder();
