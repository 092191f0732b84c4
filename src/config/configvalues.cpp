#include "configvalues.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace loomscope {

namespace {
std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}
} // namespace

Converted<TColor> parseColourValue(const std::string& text)
{
    const std::string t = trimmed(text);
    const std::string shown = "'$" + text + "' is not a valid integer value";
    if (t.empty() || t.size() > 8)
        return {std::nullopt, shown};
    unsigned long value = 0;
    for (char c : t) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return {std::nullopt, shown};
        value = value * 16 + static_cast<unsigned long>(std::isdigit(static_cast<unsigned char>(c))
                                                            ? c - '0'
                                                            : std::tolower(c) - 'a' + 10);
    }
    return {static_cast<TColor>(value & 0xFFFFFFu), {}};
}

std::string formatColourValue(TColor colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06X", colour & 0xFFFFFFu);
    return text;
}

namespace {
// A decimal number in the C form, whatever locale the C library was set to: the user's
// locale must never change what a stored value means.
std::optional<double> decimalNumber(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+') // from_chars takes a sign only as '-'
        ++first;
    double v = 0;
    const auto [end, ec] = std::from_chars(first, last, v, std::chars_format::general);
    if (ec != std::errc() || end != last || !std::isfinite(v))
        return std::nullopt;
    return v;
}
} // namespace

Converted<bool> parseBoolValue(const std::string& text)
{
    const std::string t = lower(trimmed(text));
    if (t == "true")
        return {true, {}};
    if (t == "false")
        return {false, {}};
    // Any number other than 0 is true: "1.0" and "0.5" as well as "-1".
    if (!t.empty() && t.find_first_not_of("+-0123456789.e") == std::string::npos)
        if (const auto v = decimalNumber(t))
            return {*v != 0, {}};
    return {std::nullopt, "'" + text + "' is not a valid boolean value"};
}

std::string formatBoolValue(bool value)
{
    return value ? "-1" : "0";
}

Converted<double> parseSizeValue(const std::string& text, char decimalSeparator)
{
    std::string t = trimmed(text);
    for (char& c : t)
        if (c == decimalSeparator)
            c = '.';
    const std::string error = "'" + text + "' is not a valid floating point value";
    if (t.find_first_not_of("+-0123456789.eE") != std::string::npos)
        return {std::nullopt, error};
    const auto v = decimalNumber(t);
    if (!v)
        return {std::nullopt, error};
    return {*v, {}};
}

} // namespace loomscope
