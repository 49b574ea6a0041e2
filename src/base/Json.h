// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A JSON value, as the desktops' tools and sockets answer (sway's IPC,
// hyprctl -j). Numbers are doubles; strings are UTF-8.
class TJson
{
public:
    using Array = std::vector<TJson>;
    using Object = std::map<std::string, TJson, std::less<>>;

    TJson() = default;
    explicit TJson(bool value) : value_(value) {}
    explicit TJson(double value) : value_(value) {}
    explicit TJson(std::string value) : value_(std::move(value)) {}
    explicit TJson(Array value) : value_(std::move(value)) {}
    explicit TJson(Object value) : value_(std::move(value)) {}

    // The whole text as one value; nothing when it is not JSON.
    static std::optional<TJson> Parse(std::string_view text);

    // Empty when the value is of another kind.
    const Array& Items() const;
    // A member of an object; a null value when there is none.
    const TJson& operator[](std::string_view key) const;
    std::string Text() const;        // "" unless a string
    double Number(double def) const; // def unless a number
    bool Flag(bool def) const;       // def unless true or false
    bool IsNull() const { return std::holds_alternative<std::monostate>(value_); }

private:
    std::variant<std::monostate, bool, double, std::string, Array, Object> value_;
};
