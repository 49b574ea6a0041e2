// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyboardDescription.h"

#include "base/CodePage.h"
#include "base/IniFile.h"
#include "keyboard/KeyTypes.h"
#include "keyboard/ZipArchive.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace {

struct TKeyTypeName
{
    std::string_view Name;
    std::int32_t Code;
};
constexpr std::array<TKeyTypeName, 18> KeyTypes = {{
    {"letter", KeyTypeLetter},
    {"char", KeyTypeChar},
    {"backspace", KeyTypeBackspace},
    {"tab", KeyTypeTab},
    {"enter", KeyTypeEnter},
    {"capslock", KeyTypeCapsLock},
    {"delete", KeyTypeDelete},
    {"altgr", KeyTypeAltGr},
    {"lshift", KeyTypeLeftShift},
    {"rshift", KeyTypeRightShift},
    {"grave", KeyTypeGrave},
    {"acute", KeyTypeAcute},
    {"circumflex", KeyTypeCircumflex},
    {"tilde", KeyTypeTilde},
    {"umlaut", KeyTypeUmlaut},
    {"ring", KeyTypeRing},
    {"ese", KeyTypeEse},
    {"cedilla", KeyTypeCedilla},
}};

[[noreturn]] void Fail(int line, const std::string& message)
{
    throw TDescriptionError(line, message);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A quoted value from the opening quote at pos; pos ends after the closing one.
std::string Quoted(std::string_view line, std::size_t& pos, int number)
{
    std::string value;
    for (++pos; pos < line.size() && line[pos] != '"'; ++pos) {
        if (line[pos] == '\\' && pos + 1 < line.size() &&
            (line[pos + 1] == '"' || line[pos + 1] == '\\'))
            ++pos;
        value += line[pos];
    }
    if (pos == line.size())
        Fail(number, "a quoted value has no closing quote");
    ++pos;
    if (pos < line.size() && !IsBlank(line[pos]))
        Fail(number, "a blank must follow the closing quote");
    return value;
}

std::string Bare(std::string_view line, std::size_t& pos)
{
    const std::size_t begin = pos;
    while (pos < line.size() && !IsBlank(line[pos]))
        ++pos;
    return std::string(line.substr(begin, pos - begin));
}

// The values of one line after its directive: positional values in order
// and name=value fields, each of which the directive must take.
class TFields
{
public:
    TFields(std::string_view rest, int number) : number_(number)
    {
        std::size_t pos = 0;
        for (;;) {
            while (pos < rest.size() && IsBlank(rest[pos]))
                ++pos;
            if (pos == rest.size())
                break;
            if (rest[pos] == '"') {
                positional_.push_back(Quoted(rest, pos, number));
                continue;
            }
            std::size_t end = pos;
            while (end < rest.size() && !IsBlank(rest[end]) && rest[end] != '=')
                ++end;
            if (end == pos || end == rest.size() || rest[end] != '=') {
                positional_.push_back(Bare(rest, pos));
                continue;
            }
            std::string name(rest.substr(pos, end - pos));
            pos = end + 1;
            std::string value =
                pos < rest.size() && rest[pos] == '"' ? Quoted(rest, pos, number) : Bare(rest, pos);
            if (!named_.emplace(name, std::move(value)).second)
                Fail(number, "the field " + name + " is given twice");
        }
    }

    const std::vector<std::string>& Positional() const { return positional_; }

    std::optional<std::string> Take(const std::string& name)
    {
        const auto it = named_.find(name);
        if (it == named_.end())
            return std::nullopt;
        std::string value = std::move(it->second);
        named_.erase(it);
        return value;
    }

    std::string Need(const std::string& name)
    {
        std::optional<std::string> value = Take(name);
        if (!value)
            Fail(number_, "the field " + name + " is missing");
        return std::move(*value);
    }

    // Call once every field the directive knows was taken.
    void NoneLeft() const
    {
        if (!named_.empty())
            Fail(number_, "unknown field " + named_.begin()->first);
    }

private:
    int number_;
    std::vector<std::string> positional_;
    std::map<std::string, std::string> named_;
};

std::int32_t Number(const std::string& text, int line, std::int32_t least)
{
    const std::optional<std::int32_t> value = ParseInteger(text);
    if (!value)
        Fail(line, "'" + text + "' is not a number");
    if (*value < least)
        Fail(line, text + " is less than " + std::to_string(least));
    return *value;
}

TColor Color(const std::string& text, int line)
{
    const bool wellFormed =
        text.size() == 7 && text[0] == '#' && std::all_of(text.begin() + 1, text.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        });
    if (!wellFormed)
        Fail(line, "'" + text + "' is not a colour written #RRGGBB");
    const int rgb = std::stoi(text.substr(1), nullptr, 16);
    return RGBColor(rgb >> 16, rgb >> 8, rgb);
}

std::size_t FingerByName(const std::string& name, int line)
{
    const auto it = std::find(FingerNames.begin(), FingerNames.end(), name);
    if (it == FingerNames.end())
        Fail(line, "unknown finger " + name);
    return static_cast<std::size_t>(it - FingerNames.begin());
}

std::int32_t KeyType(const std::string& name, int line)
{
    for (const TKeyTypeName& type : KeyTypes)
        if (type.Name == name)
            return type.Code;
    Fail(line, "unknown key type " + name);
}

std::int32_t DeadKey(const std::string& name, int line)
{
    const std::int32_t type = KeyType(name, line);
    if (!IsDeadKey(type))
        Fail(line, name + " is not a dead key");
    return type;
}

// Text in the code page, which must hold every character of it.
std::string InCodePage(const std::string& utf8, const TCodePage& codePage, int line,
                       std::size_t width)
{
    std::string text = codePage.FromUtf8(utf8);
    if (codePage.ToUtf8(text) != utf8)
        Fail(line, "'" + utf8 + "' is not text of code page " + std::to_string(codePage.Number()));
    if (text.size() > width)
        Fail(line, "'" + utf8 + "' is longer than " + std::to_string(width) + " characters");
    return text;
}

unsigned char Character(const std::string& utf8, const TCodePage& codePage, int line)
{
    const std::string text = codePage.FromUtf8(utf8);
    if (text.size() != 1 || codePage.ToUtf8(text) != utf8)
        Fail(line, "'" + utf8 + "' is not one character of code page " +
                       std::to_string(codePage.Number()));
    return static_cast<unsigned char>(text[0]);
}

// "de", "us(dvorak)": XKB's own characters for layout and variant names.
bool IsXkbName(std::string_view name)
{
    const auto plain = [](std::string_view part, bool variant) {
        return !part.empty() && std::all_of(part.begin(), part.end(), [variant](char c) {
            return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                   (variant && c == '-');
        });
    };
    const std::size_t open = name.find('(');
    if (open == std::string_view::npos)
        return plain(name, false);
    return name.back() == ')' && plain(name.substr(0, open), false) &&
           plain(name.substr(open + 1, name.size() - open - 2), true);
}

class TParser
{
public:
    explicit TParser(const TCodePage& codePage) : codePage_(codePage) {}

    TKeyboardDescription Parse(std::string_view text)
    {
        if (text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);
        int number = 0;
        while (!text.empty()) {
            ++number;
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            if (line.ends_with('\r'))
                line.remove_suffix(1);
            Directive(line, number);
        }
        if (bkColorLine_ == 0)
            Fail(0, "there is no bkcolor line");
        return std::move(keyboard_);
    }

private:
    const TCodePage& codePage_;
    TKeyboardDescription keyboard_;
    int bkColorLine_ = 0;
    std::array<int, FingerCount> fingerLine_{};
    std::int32_t keyWidth_ = 24;
    std::int32_t keyHeight_ = 24;
    std::int32_t gap_ = 2;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
    std::map<std::string, std::size_t> keyByName_;
    std::map<unsigned char, int> charLine_;

    void Directive(std::string_view line, int number)
    {
        std::size_t pos = 0;
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        if (pos == line.size() || line[pos] == '#')
            return;
        const std::string directive = Bare(line, pos);
        std::string_view rest = line.substr(pos);
        if (directive == "author" || directive == "misc") {
            while (!rest.empty() && IsBlank(rest.front()))
                rest.remove_prefix(1);
            while (!rest.empty() && IsBlank(rest.back()))
                rest.remove_suffix(1);
            // A readme line ends at the line break; anything longer is fine.
            (directive == "author" ? keyboard_.Author : keyboard_.Misc) =
                InCodePage(std::string(rest), codePage_, number, std::string::npos);
            return;
        }
        TFields fields(rest, number);
        using Handler = void (TParser::*)(TFields&, int);
        static const std::map<std::string_view, Handler> handlers = {
            {"bkcolor", &TParser::BkColor}, {"finger", &TParser::Finger},
            {"keysize", &TParser::KeySize}, {"row", &TParser::Row},
            {"key", &TParser::Key},         {"char", &TParser::Char},
            {"xkb", &TParser::Xkb},
        };
        const auto handler = handlers.find(directive);
        if (handler == handlers.end())
            Fail(number, "unknown directive " + directive);
        (this->*handler->second)(fields, number);
        fields.NoneLeft();
    }

    // The one positional value a directive takes, besides the flags it allows.
    static const std::string& Subject(const TFields& fields, int number, const char* what,
                                      std::size_t flags = 0)
    {
        if (fields.Positional().empty())
            Fail(number, std::string("the ") + what + " is missing");
        if (fields.Positional().size() > 1 + flags)
            Fail(number, "unexpected " + fields.Positional().back());
        return fields.Positional().front();
    }

    void BkColor(TFields& fields, int number)
    {
        if (bkColorLine_ != 0)
            Fail(number, "bkcolor is given on line " + std::to_string(bkColorLine_) + " already");
        keyboard_.BkColor = Color(Subject(fields, number, "colour"), number);
        bkColorLine_ = number;
    }

    // The desktop layout the keyboard is, as XKB names it: "de" or "us(dvorak)".
    void Xkb(TFields& fields, int number)
    {
        if (!keyboard_.Xkb.empty())
            Fail(number, "xkb is given twice");
        const std::string& name = Subject(fields, number, "XKB layout");
        if (!IsXkbName(name))
            Fail(number, "bad XKB layout " + name + ", expected layout or layout(variant)");
        keyboard_.Xkb = name;
    }

    void Finger(TFields& fields, int number)
    {
        const std::size_t finger = FingerByName(Subject(fields, number, "finger name"), number);
        if (fingerLine_[finger] != 0)
            Fail(number, std::string(FingerNames[finger]) + " is described on line " +
                             std::to_string(fingerLine_[finger]) + " already");
        keyboard_.FingerLength[finger] = Number(fields.Need("length"), number, 0);
        keyboard_.FingerColor[finger] = Color(fields.Need("color"), number);
        fingerLine_[finger] = number;
    }

    static void NoSubject(const TFields& fields, int number)
    {
        if (!fields.Positional().empty())
            Fail(number, "unexpected " + fields.Positional().front());
    }

    void KeySize(TFields& fields, int number)
    {
        NoSubject(fields, number);
        keyWidth_ = Number(fields.Need("width"), number, 1);
        keyHeight_ = Number(fields.Need("height"), number, 1);
        gap_ = Number(fields.Need("gap"), number, 0);
    }

    void Row(TFields& fields, int number)
    {
        NoSubject(fields, number);
        x_ = Number(fields.Need("x"), number, 0);
        y_ = Number(fields.Need("y"), number, 0);
    }

    std::int32_t Geometry(TFields& fields, const char* name, std::int32_t flow, int number,
                          std::int32_t least)
    {
        const std::optional<std::string> value = fields.Take(name);
        return value ? Number(*value, number, least) : flow;
    }

    void Key(TFields& fields, int number)
    {
        TKeyDescription key;
        TKeyRow& row = key.Row;
        const std::string& name = Subject(fields, number, "key name");
        row.Name = InCodePage(name, codePage_, number, KeyNameWidth);
        if (keyByName_.contains(row.Name))
            Fail(number, "there is a key " + name + " already");
        row.KeyValue = static_cast<std::int32_t>(keyboard_.Keys.size()) + 1;
        row.KeyType = KeyType(fields.Need("type"), number);
        if (const std::optional<std::string> dead2 = fields.Take("dead2")) {
            if (!IsCharacterKey(row.KeyType) && !IsDeadKey(row.KeyType))
                Fail(number, "only character and dead keys have a dead key on their second level");
            row.KeyType2 = DeadKey(*dead2, number);
        }
        const std::size_t finger = FingerByName(fields.Need("finger"), number);
        if (fingerLine_[finger] == 0)
            Fail(number,
                 "describe the finger " + std::string(FingerNames[finger]) + " before its keys");
        row.Finger = static_cast<std::int32_t>(FingerIndex(finger));
        row.X = Geometry(fields, "x", x_, number, 0);
        row.Y = Geometry(fields, "y", y_, number, 0);
        row.Width = Geometry(fields, "w", keyWidth_, number, 1);
        row.Height = Geometry(fields, "h", keyHeight_, number, 1);
        x_ = row.X + row.Width + gap_;
        if (const std::optional<std::string> hint = fields.Take("hint"))
            row.Hint = InCodePage(*hint, codePage_, number, HintWidth);

        const std::optional<std::string> base = fields.Take("base");
        const std::optional<std::string> shift = fields.Take("shift");
        const std::optional<std::string> altGr = fields.Take("altgr");
        if ((base || shift || altGr) && !IsCharacterKey(row.KeyType) && !IsDeadKey(row.KeyType))
            Fail(number, "only character and dead keys type characters");
        keyByName_.emplace(row.Name, keyboard_.Keys.size());
        if (base)
            AddChar(*base, row.KeyValue, false, false, 0, std::nullopt, number);
        if (shift)
            AddChar(*shift, row.KeyValue, true, false, 0, std::nullopt, number);
        if (altGr)
            AddChar(*altGr, row.KeyValue, false, true, 0, std::nullopt, number);

        const bool letter = row.KeyType == KeyTypeLetter;
        key.Label = fields.Take("label").value_or(letter && shift ? *shift : base.value_or(""));
        key.ShiftLabel = fields.Take("label2").value_or(letter ? "" : shift.value_or(""));
        key.AltGrLabel = fields.Take("label3").value_or(altGr.value_or(""));
        keyboard_.Keys.push_back(std::move(key));
    }

    void Char(TFields& fields, int number)
    {
        const std::string& ch = Subject(fields, number, "character", 2);
        bool shift = false;
        bool altGr = false;
        for (std::size_t i = 1; i < fields.Positional().size(); ++i) {
            const std::string& flag = fields.Positional()[i];
            if (flag != "shift" && flag != "altgr")
                Fail(number, "unknown flag " + flag);
            (flag == "shift" ? shift : altGr) = true;
        }
        const std::string keyName = fields.Need("key");
        const auto key = keyByName_.find(codePage_.FromUtf8(keyName));
        if (key == keyByName_.end())
            Fail(number, "there is no key " + keyName + " above this line");
        std::int32_t accent = 0;
        if (const std::optional<std::string> dead = fields.Take("dead")) {
            accent = DeadKey(*dead, number);
            const bool onKeyboard =
                std::any_of(keyboard_.Keys.begin(), keyboard_.Keys.end(), [&](const auto& k) {
                    return k.Row.KeyType == accent || k.Row.KeyType2 == accent;
                });
            if (!onKeyboard)
                Fail(number, "no key above this line gives the dead key " + *dead);
        }
        AddChar(ch, keyboard_.Keys[key->second].Row.KeyValue, shift, altGr, accent,
                fields.Take("name"), number);
    }

    void AddChar(const std::string& utf8, std::int32_t keyValue, bool shift, bool altGr,
                 std::int32_t accent, const std::optional<std::string>& name, int number)
    {
        const unsigned char code = Character(utf8, codePage_, number);
        const auto [earlier, added] = charLine_.emplace(code, number);
        if (!added)
            Fail(number,
                 "'" + utf8 + "' is typed on line " + std::to_string(earlier->second) + " already");
        keyboard_.Chars.push_back({name ? InCodePage(*name, codePage_, number, CharNameWidth)
                                        : std::string(1, static_cast<char>(code)),
                                   code, keyValue, shift, altGr, accent});
    }
};

} // namespace

TDescriptionError::TDescriptionError(int line, const std::string& message)
    : std::runtime_error(line == 0 ? message : "line " + std::to_string(line) + ": " + message),
      line_(line)
{}

TKeyboardDescription ParseKeyboardDescription(std::string_view text, const TCodePage& codePage)
{
    return TParser(codePage).Parse(text);
}

std::size_t FingerIndex(std::int32_t finger)
{
    // The left hand counts the same both ways; the right hand is mirrored.
    return static_cast<std::size_t>(finger < 5 ? finger : 14 - finger);
}

std::string TemplateReadme(const TKeyboardDescription& keyboard)
{
    std::string readme = "bkcolor=" + std::to_string(keyboard.BkColor) + "\n";
    readme += "Author=" + keyboard.Author + "\n";
    readme += "misc=" + keyboard.Misc + "\n";
    for (std::size_t i = 0; i < FingerCount; ++i)
        readme +=
            std::string(FingerNames[i]) + "=" + std::to_string(keyboard.FingerLength[i]) + "\n";
    for (std::size_t i = 0; i < FingerCount; ++i)
        readme +=
            std::string(FingerNames[i]) + "Color=" + std::to_string(keyboard.FingerColor[i]) + "\n";
    return readme;
}

std::string TemplateArchive(const TKeyboardDescription& keyboard, const TCodePage& codePage)
{
    TTable keys = NewKeyTable();
    for (const TKeyDescription& key : keyboard.Keys)
        AppendKeyRow(keys, key.Row);
    TTable chars = NewCharTable();
    for (const TCharRow& ch : keyboard.Chars)
        AppendCharRow(chars, ch);
    return WriteZip({{KeyMember, keys.ToXml(codePage)},
                     {CharMember, chars.ToXml(codePage)},
                     {ReadmeMember, TemplateReadme(keyboard)}});
}
