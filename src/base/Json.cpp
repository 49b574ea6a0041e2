// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Json.h"

#include "base/Utf8.h"

#include <cctype>
#include <charconv>
#include <cstdlib>

namespace {

// Deeper nesting than any desktop answers is refused, so that no text can
// exhaust the stack.
constexpr int MaxDepth = 64;

class TJsonReader
{
public:
    explicit TJsonReader(std::string_view text) : text_(text) {}

    std::optional<TJson> Whole()
    {
        auto value = Value(0);
        Blanks();
        if (!value || at_ != text_.size())
            return std::nullopt;
        return value;
    }

private:
    void Blanks()
    {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])))
            ++at_;
    }
    bool Take(char c)
    {
        Blanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool Word(std::string_view word)
    {
        if (text_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }

    std::optional<TJson> Value(int depth)
    {
        if (depth > MaxDepth)
            return std::nullopt;
        Blanks();
        if (at_ >= text_.size())
            return std::nullopt;
        const char c = text_[at_];
        if (c == '{')
            return ObjectValue(depth);
        if (c == '[')
            return ArrayValue(depth);
        if (c == '"') {
            auto s = String();
            return s ? std::optional<TJson>(TJson(std::move(*s))) : std::nullopt;
        }
        if (Word("true"))
            return TJson(true);
        if (Word("false"))
            return TJson(false);
        if (Word("null"))
            return TJson();
        return NumberValue();
    }

    std::optional<TJson> ObjectValue(int depth)
    {
        ++at_;
        TJson::Object members;
        if (Take('}'))
            return TJson(std::move(members));
        do {
            Blanks();
            auto key = String();
            if (!key || !Take(':'))
                return std::nullopt;
            auto value = Value(depth + 1);
            if (!value)
                return std::nullopt;
            members.insert_or_assign(std::move(*key), std::move(*value));
        } while (Take(','));
        if (!Take('}'))
            return std::nullopt;
        return TJson(std::move(members));
    }

    std::optional<TJson> ArrayValue(int depth)
    {
        ++at_;
        TJson::Array items;
        if (Take(']'))
            return TJson(std::move(items));
        do {
            auto value = Value(depth + 1);
            if (!value)
                return std::nullopt;
            items.push_back(std::move(*value));
        } while (Take(','));
        if (!Take(']'))
            return std::nullopt;
        return TJson(std::move(items));
    }

    std::optional<TJson> NumberValue()
    {
        const std::size_t start = at_;
        while (at_ < text_.size() &&
               std::string_view("+-.eE0123456789").find(text_[at_]) != std::string_view::npos)
            ++at_;
        if (at_ == start)
            return std::nullopt;
        const std::string digits(text_.substr(start, at_ - start));
        char* end = nullptr;
        const double value = std::strtod(digits.c_str(), &end);
        if (end != digits.c_str() + digits.size())
            return std::nullopt;
        return TJson(value);
    }

    std::optional<unsigned> Hex4()
    {
        unsigned value = 0;
        if (at_ + 4 > text_.size())
            return std::nullopt;
        const auto [end, error] =
            std::from_chars(text_.data() + at_, text_.data() + at_ + 4, value, 16);
        if (error != std::errc() || end != text_.data() + at_ + 4)
            return std::nullopt;
        at_ += 4;
        return value;
    }

    std::optional<std::string> String()
    {
        if (at_ >= text_.size() || text_[at_] != '"')
            return std::nullopt;
        ++at_;
        std::string s;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"')
                return s;
            if (c != '\\') {
                s += c;
                continue;
            }
            if (at_ >= text_.size())
                return std::nullopt;
            const char e = text_[at_++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                s += e;
                break;
            case 'b':
                s += '\b';
                break;
            case 'f':
                s += '\f';
                break;
            case 'n':
                s += '\n';
                break;
            case 'r':
                s += '\r';
                break;
            case 't':
                s += '\t';
                break;
            case 'u': {
                auto unit = Hex4();
                if (!unit)
                    return std::nullopt;
                char32_t code = *unit;
                if (code >= 0xD800 && code < 0xDC00 && Word("\\u")) {
                    const auto low = Hex4();
                    if (!low || *low < 0xDC00 || *low >= 0xE000)
                        return std::nullopt;
                    code = 0x10000 + ((code - 0xD800) << 10) + (*low - 0xDC00);
                }
                AppendUtf8(s, code);
                break;
            }
            default:
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

const TJson& Null()
{
    static const TJson null;
    return null;
}

} // namespace

std::optional<TJson> TJson::Parse(std::string_view text)
{
    return TJsonReader(text).Whole();
}

const TJson::Array& TJson::Items() const
{
    static const Array none;
    const auto* items = std::get_if<Array>(&value_);
    return items != nullptr ? *items : none;
}

const TJson& TJson::operator[](std::string_view key) const
{
    const auto* members = std::get_if<Object>(&value_);
    if (members == nullptr)
        return Null();
    const auto found = members->find(key);
    return found == members->end() ? Null() : found->second;
}

std::string TJson::Text() const
{
    const auto* text = std::get_if<std::string>(&value_);
    return text != nullptr ? *text : std::string();
}

double TJson::Number(double def) const
{
    const auto* number = std::get_if<double>(&value_);
    return number != nullptr ? *number : def;
}

bool TJson::Flag(bool def) const
{
    const auto* flag = std::get_if<bool>(&value_);
    return flag != nullptr ? *flag : def;
}
