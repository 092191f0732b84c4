#include "colour.h"

#include <cstdio>

namespace loomscope {

TColorVector colortovector(TColor colour, std::uint8_t alpha)
{
    return {static_cast<float>(redOf(colour)) / 255.0f,
            static_cast<float>(greenOf(colour)) / 255.0f,
            static_cast<float>(blueOf(colour)) / 255.0f, static_cast<float>(alpha) / 255.0f};
}

std::string colorToHtml(TColor colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", redOf(colour), greenOf(colour),
                  blueOf(colour));
    return text;
}

std::optional<TColor> colorFromHtml(std::string_view text)
{
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    if (text.size() != 6)
        return std::nullopt;
    unsigned value = 0;
    for (char ch : text) {
        int digit;
        if (ch >= '0' && ch <= '9')
            digit = ch - '0';
        else if (ch >= 'a' && ch <= 'f')
            digit = ch - 'a' + 10;
        else if (ch >= 'A' && ch <= 'F')
            digit = ch - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return rgb(static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 0xFF),
               static_cast<int>(value & 0xFF));
}

} // namespace loomscope
