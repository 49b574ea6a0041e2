// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/XkbLayoutIds.h"

#include <algorithm>
#include <string_view>

namespace {

struct TWindowsLayout
{
    std::uint32_t Id;
    std::string_view Layout;
    std::string_view Variant;
};

// The Windows keyboard layout identifiers of XKB layouts, so that a profile
// written on Windows names the same layout here.
constexpr TWindowsLayout WindowsLayouts[] = {
    {0x00000409, "us", ""},         {0x00010409, "us", "dvorak"},   {0x00020409, "us", "intl"},
    {0x00030409, "us", "dvorak-l"}, {0x00040409, "us", "dvorak-r"}, {0x00000809, "gb", ""},
    {0x00000452, "gb", "extd"},     {0x00001809, "ie", ""},         {0x00000407, "de", ""},
    {0x00000807, "ch", ""},         {0x0000100C, "ch", "fr"},       {0x00000C07, "at", ""},
    {0x0000040C, "fr", ""},         {0x0000080C, "be", ""},         {0x00001009, "ca", ""},
    {0x00011009, "ca", "multix"},   {0x0000040A, "es", ""},         {0x0000080A, "latam", ""},
    {0x00000410, "it", ""},         {0x00000816, "pt", ""},         {0x00000416, "br", ""},
    {0x00000413, "nl", ""},         {0x0000041D, "se", ""},         {0x00000414, "no", ""},
    {0x00000406, "dk", ""},         {0x0000040B, "fi", ""},         {0x0000040F, "is", ""},
    {0x00000415, "pl", ""},         {0x00000405, "cz", ""},         {0x00010405, "cz", "qwerty"},
    {0x0000041B, "sk", ""},         {0x0000040E, "hu", ""},         {0x00000424, "si", ""},
    {0x0000041A, "hr", ""},         {0x00000425, "ee", ""},         {0x00000419, "ru", ""},
    {0x00000422, "ua", ""},         {0x00000402, "bg", ""},         {0x00000408, "gr", ""},
    {0x0000041F, "tr", ""},         {0x0001041F, "tr", "f"},        {0x0000040D, "il", ""},
    {0x00000401, "ara", ""},        {0x00000411, "jp", ""},
};

struct TLanguage
{
    std::string_view Iso639;
    std::uint16_t Primary; // Windows primary language id, 0 when Windows has none
    std::string_view Name;
};

constexpr TLanguage Languages[] = {
    {"afr", 0x36, "Afrikaans"},   {"amh", 0x5E, "Amharic"},    {"ara", 0x01, "Arabic"},
    {"aze", 0x2C, "Azerbaijani"}, {"bak", 0x6D, "Bashkir"},    {"bel", 0x23, "Belarusian"},
    {"ben", 0x45, "Bangla"},      {"bod", 0x51, "Tibetan"},    {"bos", 0x1A, "Bosnian"},
    {"bul", 0x02, "Bulgarian"},   {"cat", 0x03, "Catalan"},    {"ces", 0x05, "Czech"},
    {"cym", 0x52, "Welsh"},       {"dan", 0x06, "Danish"},     {"deu", 0x07, "German"},
    {"div", 0x65, "Divehi"},      {"ell", 0x08, "Greek"},      {"eng", 0x09, "English"},
    {"epo", 0x00, "Esperanto"},   {"est", 0x25, "Estonian"},   {"eus", 0x2D, "Basque"},
    {"fao", 0x38, "Faroese"},     {"fas", 0x29, "Persian"},    {"fin", 0x0B, "Finnish"},
    {"fra", 0x0C, "French"},      {"gle", 0x3C, "Irish"},      {"glg", 0x56, "Galician"},
    {"guj", 0x47, "Gujarati"},    {"hau", 0x68, "Hausa"},      {"heb", 0x0D, "Hebrew"},
    {"hin", 0x39, "Hindi"},       {"hrv", 0x1A, "Croatian"},   {"hun", 0x0E, "Hungarian"},
    {"hye", 0x2B, "Armenian"},    {"ibo", 0x70, "Igbo"},       {"iku", 0x5D, "Inuktitut"},
    {"ind", 0x21, "Indonesian"},  {"isl", 0x0F, "Icelandic"},  {"ita", 0x10, "Italian"},
    {"jpn", 0x11, "Japanese"},    {"kan", 0x4B, "Kannada"},    {"kat", 0x37, "Georgian"},
    {"kaz", 0x3F, "Kazakh"},      {"khm", 0x53, "Khmer"},      {"kir", 0x40, "Kyrgyz"},
    {"kor", 0x12, "Korean"},      {"kur", 0x92, "Kurdish"},    {"lao", 0x54, "Lao"},
    {"lav", 0x26, "Latvian"},     {"lit", 0x27, "Lithuanian"}, {"mal", 0x4C, "Malayalam"},
    {"mar", 0x4E, "Marathi"},     {"mkd", 0x2F, "Macedonian"}, {"mlt", 0x3A, "Maltese"},
    {"mon", 0x50, "Mongolian"},   {"mri", 0x81, "Maori"},      {"msa", 0x3E, "Malay"},
    {"mya", 0x55, "Burmese"},     {"nep", 0x61, "Nepali"},     {"nld", 0x13, "Dutch"},
    {"nor", 0x14, "Norwegian"},   {"oci", 0x82, "Occitan"},    {"ori", 0x48, "Odia"},
    {"pan", 0x46, "Punjabi"},     {"pol", 0x15, "Polish"},     {"por", 0x16, "Portuguese"},
    {"pus", 0x63, "Pashto"},      {"ron", 0x18, "Romanian"},   {"rus", 0x19, "Russian"},
    {"sah", 0x85, "Sakha"},       {"san", 0x4F, "Sanskrit"},   {"sin", 0x5B, "Sinhala"},
    {"slk", 0x1B, "Slovak"},      {"slv", 0x24, "Slovenian"},  {"sme", 0x3B, "Northern Sami"},
    {"snd", 0x59, "Sindhi"},      {"spa", 0x0A, "Spanish"},    {"sqi", 0x1C, "Albanian"},
    {"srp", 0x1A, "Serbian"},     {"swa", 0x41, "Swahili"},    {"swe", 0x1D, "Swedish"},
    {"syr", 0x5A, "Syriac"},      {"tam", 0x49, "Tamil"},      {"tat", 0x44, "Tatar"},
    {"tel", 0x4A, "Telugu"},      {"tgk", 0x28, "Tajik"},      {"tha", 0x1E, "Thai"},
    {"tuk", 0x42, "Turkmen"},     {"tur", 0x1F, "Turkish"},    {"tzm", 0x5F, "Tamazight"},
    {"uig", 0x80, "Uyghur"},      {"ukr", 0x22, "Ukrainian"},  {"urd", 0x20, "Urdu"},
    {"uzb", 0x43, "Uzbek"},       {"vie", 0x2A, "Vietnamese"}, {"wol", 0x88, "Wolof"},
    {"yor", 0x6A, "Yoruba"},      {"zho", 0x04, "Chinese"},
};

// Language ids of a language in a country other than its first one.
struct TRegionalLanguage
{
    std::string_view Iso639;
    std::string_view Iso3166;
    std::uint16_t LanguageId;
};

constexpr TRegionalLanguage RegionalLanguages[] = {
    {"eng", "GB", 0x0809}, {"eng", "AU", 0x0C09}, {"eng", "CA", 0x1009}, {"eng", "NZ", 0x1409},
    {"eng", "IE", 0x1809}, {"eng", "ZA", 0x1C09}, {"eng", "IN", 0x4009}, {"deu", "CH", 0x0807},
    {"deu", "AT", 0x0C07}, {"deu", "LU", 0x1007}, {"fra", "BE", 0x080C}, {"fra", "CA", 0x0C0C},
    {"fra", "CH", 0x100C}, {"nld", "BE", 0x0813}, {"por", "PT", 0x0816}, {"spa", "ES", 0x0C0A},
    {"spa", "MX", 0x080A}, {"spa", "AR", 0x2C0A}, {"ita", "CH", 0x0810}, {"swe", "FI", 0x081D},
    {"srp", "RS", 0x281A}, {"bos", "BA", 0x141A}, {"zho", "CN", 0x0804},
};

constexpr std::pair<std::string_view, std::string_view> Countries[] = {
    {"AE", "United Arab Emirates"},
    {"AF", "Afghanistan"},
    {"AL", "Albania"},
    {"AR", "Argentina"},
    {"AT", "Austria"},
    {"AU", "Australia"},
    {"AZ", "Azerbaijan"},
    {"BA", "Bosnia and Herzegovina"},
    {"BD", "Bangladesh"},
    {"BE", "Belgium"},
    {"BG", "Bulgaria"},
    {"BR", "Brazil"},
    {"BT", "Bhutan"},
    {"BW", "Botswana"},
    {"BY", "Belarus"},
    {"CA", "Canada"},
    {"CD", "Congo (DRC)"},
    {"CH", "Switzerland"},
    {"CM", "Cameroon"},
    {"CN", "China"},
    {"CZ", "Czechia"},
    {"DE", "Germany"},
    {"DK", "Denmark"},
    {"DZ", "Algeria"},
    {"EE", "Estonia"},
    {"ES", "Spain"},
    {"ET", "Ethiopia"},
    {"FI", "Finland"},
    {"FO", "Faroe Islands"},
    {"FR", "France"},
    {"GB", "United Kingdom"},
    {"GE", "Georgia"},
    {"GH", "Ghana"},
    {"GN", "Guinea"},
    {"GR", "Greece"},
    {"HR", "Croatia"},
    {"HU", "Hungary"},
    {"ID", "Indonesia"},
    {"IE", "Ireland"},
    {"IL", "Israel"},
    {"IN", "India"},
    {"IQ", "Iraq"},
    {"IR", "Iran"},
    {"IS", "Iceland"},
    {"IT", "Italy"},
    {"JP", "Japan"},
    {"KE", "Kenya"},
    {"KG", "Kyrgyzstan"},
    {"KH", "Cambodia"},
    {"KR", "Korea"},
    {"KZ", "Kazakhstan"},
    {"LA", "Laos"},
    {"LK", "Sri Lanka"},
    {"LT", "Lithuania"},
    {"LU", "Luxembourg"},
    {"LV", "Latvia"},
    {"MA", "Morocco"},
    {"MD", "Moldova"},
    {"ME", "Montenegro"},
    {"MK", "North Macedonia"},
    {"ML", "Mali"},
    {"MM", "Myanmar"},
    {"MN", "Mongolia"},
    {"MT", "Malta"},
    {"MV", "Maldives"},
    {"MX", "Mexico"},
    {"MY", "Malaysia"},
    {"NG", "Nigeria"},
    {"NL", "Netherlands"},
    {"NO", "Norway"},
    {"NP", "Nepal"},
    {"NZ", "New Zealand"},
    {"PH", "Philippines"},
    {"PK", "Pakistan"},
    {"PL", "Poland"},
    {"PT", "Portugal"},
    {"RO", "Romania"},
    {"RS", "Serbia"},
    {"RU", "Russia"},
    {"SE", "Sweden"},
    {"SI", "Slovenia"},
    {"SK", "Slovakia"},
    {"SN", "Senegal"},
    {"SY", "Syria"},
    {"TG", "Togo"},
    {"TH", "Thailand"},
    {"TJ", "Tajikistan"},
    {"TM", "Turkmenistan"},
    {"TR", "Turkey"},
    {"TW", "Taiwan"},
    {"TZ", "Tanzania"},
    {"UA", "Ukraine"},
    {"US", "United States"},
    {"UZ", "Uzbekistan"},
    {"VN", "Vietnam"},
    {"ZA", "South Africa"},
};

// Windows' id of a locale it has no number for.
constexpr std::uint16_t CustomLanguageId = 0x1000;
constexpr std::uint16_t DefaultSublanguage = 0x0400;

// FNV-1a: small, fixed, and the same everywhere.
std::uint32_t NameHash(std::string_view text)
{
    std::uint32_t h = 2166136261u;
    for (const unsigned char c : text) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

const TWindowsLayout* WindowsLayoutOf(const TXkbLayoutName& name)
{
    const auto found = std::find_if(std::begin(WindowsLayouts), std::end(WindowsLayouts),
                                    [&](const TWindowsLayout& w) {
                                        return w.Layout == name.Layout && w.Variant == name.Variant;
                                    });
    return found == std::end(WindowsLayouts) ? nullptr : found;
}

} // namespace

std::uint32_t XkbLayoutId(const TXkbLayoutName& name)
{
    if (const auto* w = WindowsLayoutOf(name))
        return w->Id;
    // "layout(variant)" is how XKB itself writes the pair, and cannot be
    // confused with another pair.
    const std::string key = name.Layout + "(" + name.Variant + ")";
    return DerivedLayoutIdBase | (NameHash(key) & DerivedLayoutIdMask);
}

std::optional<TXkbLayoutName> XkbLayoutOfWindowsId(std::uint32_t id)
{
    for (const auto& w : WindowsLayouts)
        if (w.Id == id)
            return TXkbLayoutName{std::string(w.Layout), std::string(w.Variant)};
    return std::nullopt;
}

std::vector<std::uint32_t> WindowsLayoutIds()
{
    std::vector<std::uint32_t> ids;
    for (const auto& w : WindowsLayouts)
        ids.push_back(w.Id);
    return ids;
}

TLayoutLocale LayoutLocale(const std::string& iso639, const std::string& iso3166)
{
    TLayoutLocale locale;
    const auto country = std::find_if(std::begin(Countries), std::end(Countries),
                                      [&](const auto& c) { return c.first == iso3166; });
    locale.Country = country != std::end(Countries) ? std::string(country->second) : iso3166;

    const auto language = std::find_if(std::begin(Languages), std::end(Languages),
                                       [&](const TLanguage& l) { return l.Iso639 == iso639; });
    if (language == std::end(Languages)) {
        locale.LanguageId = CustomLanguageId;
        locale.LanguageName = iso639;
    } else {
        locale.LanguageName = std::string(language->Name);
        locale.LanguageId =
            language->Primary == 0
                ? CustomLanguageId
                : static_cast<std::uint16_t>(DefaultSublanguage | language->Primary);
        for (const auto& r : RegionalLanguages)
            if (r.Iso639 == iso639 && r.Iso3166 == iso3166)
                locale.LanguageId = r.LanguageId;
    }
    if (!locale.Country.empty() && !locale.LanguageName.empty())
        locale.LanguageName += " (" + locale.Country + ")";
    return locale;
}

TInstalledLayout InstalledXkbLayout(const TXkbRegistryEntry& entry)
{
    TInstalledLayout layout;
    layout.Id = XkbLayoutId(entry.Name);
    layout.Name = entry.Description;
    layout.IsLanguageDefault = entry.Name.Variant.empty();
    layout.Locale = LayoutLocale(entry.Iso639, entry.Iso3166);
    // A Windows layout carries its language in its low 16 bits.
    if (WindowsLayoutOf(entry.Name))
        layout.Locale.LanguageId = static_cast<std::uint16_t>(layout.Id & 0xFFFF);
    return layout;
}
