// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CodePage.h"

#include <string>

// The one settings object of the run: where the program and its data live,
// the last user who logged on and the interface font, kept in tw.ini.
class TSettings
{
public:
    // ProgramDir is the folder of the running program's own files (see
    // ProgramFiles), DataDir the working directory now; both end with a path
    // separator.
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
    // The desktop's keyboard layouts to put back, while the run has them switched.
    std::string LayoutRestoreFileName() const { return DataDir + "twlayout.ini"; }

private:
    TCodePage codePage_;
};

// The process-wide settings, created at start-up.
extern TSettings* Settings;

// The folder of the running program, with a trailing separator.
std::string ProgramFolder();

// Where the program's own files lie. Installed, the program is in bin/ and
// finds its sound cues (media/), manual (help/) and shipped data in
// share/tapwren/, its catalogues in share/locale/; in the build folder all of
// them lie beside it. Folders end with a separator.
struct TProgramFiles
{
    std::string Dir;
    std::string LocaleDir;
    // Installed, the program works in the user's data folder, made from the
    // shipped data in Dir; otherwise in the working directory it is given.
    bool Installed = false;
};
// For a program in programFolder.
TProgramFiles ProgramFilesOf(const std::string& programFolder);
// For the running program.
TProgramFiles ProgramFiles();
// The working directory, with a trailing separator.
std::string WorkingFolder();
