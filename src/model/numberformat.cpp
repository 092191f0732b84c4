#include "numberformat.h"

#include <charconv>
#include <cmath>
#include <langinfo.h>
#include <locale.h>

namespace loomscope {

char environmentDecimalSeparator()
{
    const locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr))
        return '.';
    const char* point = nl_langinfo_l(RADIXCHAR, locale);
    const char separator =
        point && point[0] && !point[1] && static_cast<unsigned char>(point[0]) < 128 ? point[0]
                                                                                     : '.';
    freelocale(locale);
    return separator;
}

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
    // to_chars, not printf: the C library's locale (set from the environment by the windowed
    // program) must not put its own separator in.
    char text[40];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    return withSeparator(std::string(text, result.ptr), decimalSeparator);
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
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return withSeparator(std::string(text, result.ptr), decimalSeparator);
}

} // namespace loomscope
