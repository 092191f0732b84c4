#include "numberformat.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace loomscope {

namespace {
std::string withSeparator(std::string text, char decimalSeparator)
{
    if (decimalSeparator != '.')
        for (char& ch : text)
            if (ch == '.')
                ch = decimalSeparator;
    return text;
}
} // namespace

std::string formatGeneral(double value, char decimalSeparator)
{
    if (value == 0)
        return "0"; // never "-0"
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return withSeparator(text, decimalSeparator);
}

std::string formatFloat(float value)
{
    if (value == 0)
        return "0";
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

double roundTo3Even(double value)
{
    return std::nearbyint(value * 1000) / 1000;
}

double roundTo1AwayFromZero(double value)
{
    const double scaled = std::trunc(std::fabs(value) * 10 + 0.5) / 10;
    return value < 0 ? -scaled : scaled;
}

double mmToInches(double millimetres)
{
    return roundTo3Even(millimetres / 25.4);
}

std::string formatOneDecimal(double value, char decimalSeparator)
{
    char text[48];
    std::snprintf(text, sizeof text, "%0.1f", value);
    return withSeparator(text, decimalSeparator);
}

} // namespace loomscope
