#include "configvalues.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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

Converted<bool> parseBoolValue(const std::string& text)
{
    const std::string t = lower(trimmed(text));
    if (t == "true")
        return {true, {}};
    if (t == "false")
        return {false, {}};
    if (!t.empty()) {
        char* end = nullptr;
        const long long v = std::strtoll(t.c_str(), &end, 10);
        if (end && *end == '\0')
            return {v != 0, {}};
    }
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
    if (t.empty() || t.find_first_not_of("+-0123456789.eE") != std::string::npos)
        return {std::nullopt, error};
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (!end || *end != '\0' || !std::isfinite(v))
        return {std::nullopt, error};
    return {v, {}};
}

} // namespace loomscope
