// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/UserDataFolder.h"

#include "app/DataFolder.h"
#include "base/Errors.h"
#include "base/Translate.h"
#include "base/ui/MessageBoxes.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

void TellError(const std::string& message)
{
    std::fprintf(stderr, "tapwren: %s\n", message.c_str());
    TMessageBoxes::Error(nullptr, QString::fromStdString(message));
}

} // namespace

bool EnterUserDataFolder(const std::string& shipped)
{
    std::string folder;
    bool told = false;
    try {
        folder = UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
        std::string notices;
        for (const std::string& notice : PrepareDataFolder(shipped, folder)) {
            std::fprintf(stderr, "tapwren: %s\n", notice.c_str());
            notices += (notices.empty() ? "" : "\n") + notice;
        }
        if (!notices.empty())
            TMessageBoxes::Information(nullptr, QString::fromStdString(notices));
    } catch (const TError& error) {
        // A course file that could not be brought up to date still leaves a
        // folder to practise in.
        TellError(error.what());
        told = true;
    }
    if (folder.empty())
        return false;
    if (chdir(folder.c_str()) != 0) {
        const int reason = errno;
        if (!told)
            TellError(
                Format(_("Cannot open file \"%s\". %s"), folder.c_str(), std::strerror(reason)));
        return false;
    }
    return true;
}
