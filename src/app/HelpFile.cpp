// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HelpFile.h"

#include "base/Translate.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

std::string CatalogueLanguage()
{
    // The empty message id translates to the catalogue's header.
    static const char* const HeaderId = "";
    const std::string_view header = gettext(HeaderId);
    constexpr std::string_view Field = "Language:";
    std::size_t at = header.find(Field);
    if (at == std::string_view::npos || (at != 0 && header[at - 1] != '\n'))
        return {};
    at += Field.size();
    const std::size_t end = header.find('\n', at);
    std::string_view value = header.substr(at, end == std::string_view::npos ? end : end - at);
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\r'))
        value.remove_suffix(1);
    return std::string(value);
}

std::string ManualPath(const std::string& programDir, const std::string& language)
{
    const std::string help = programDir + "help/";
    std::vector<std::string> candidates;
    if (!language.empty()) {
        candidates.push_back(language);
        const std::size_t cut = language.find_first_of("_.@-");
        if (cut != std::string::npos && cut > 0)
            candidates.push_back(language.substr(0, cut));
    }
    for (const std::string& lang : candidates) {
        // A name that could leave the help folder is no language.
        if (lang.find('/') != std::string::npos || lang.find("..") != std::string::npos)
            continue;
        const std::string path = help + "manual." + lang + ".html";
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            return path;
    }
    return help + "manual.html";
}
