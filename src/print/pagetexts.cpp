#include "pagetexts.h"

#include "model/codepage.h"
#include "model/numberformat.h"
#include "model/tembs.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace loomscope {

std::string formatScale(double scale, char decimalSeparator)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", std::round(scale * 100) / 100);
    std::string out = text;
    for (char& c : out)
        if (c == '.')
            c = decimalSeparator;
    return out;
}

DesignBlockValues designBlockValues(const Tembs& design, int printedStitches, char decimalSeparator,
                                    float actualScale)
{
    DesignBlockValues v;
    v.name = pathDisplayText(design.dstfilename());
    v.colors = std::to_string(design.colorcount());
    v.stitches = std::to_string(printedStitches);
    v.sequins = std::to_string(design.sequins());
    v.scale = formatScale(actualScale > 0 ? design.scale() / actualScale : design.scale(),
                          decimalSeparator);
    v.sizeMm = formatGeneral(design.width(), decimalSeparator) + " * " +
               formatGeneral(design.height(), decimalSeparator);
    v.sizeInch = formatGeneral(mmToInches(design.width()), decimalSeparator) + " * " +
                 formatGeneral(mmToInches(design.height()), decimalSeparator);
    return v;
}

StitchCountAnswer parseStitchCount(std::string_view answer)
{
    StitchCountAnswer a;
    for (char c : answer)
        if (c < '0' || c > '9') {
            a.kind = StitchCountAnswer::Kind::IllegalCharacter;
            return a;
        }
    if (answer.empty())
        return a;
    int value = 0;
    const auto [end, ec] = std::from_chars(answer.data(), answer.data() + answer.size(), value);
    if (ec != std::errc() || end != answer.data() + answer.size()) {
        a.kind = StitchCountAnswer::Kind::NotAnInteger;
        a.error = "'" + std::string(answer) + "' is not a valid integer value";
        return a;
    }
    a.kind = StitchCountAnswer::Kind::Accepted;
    a.value = value;
    return a;
}

std::string withExtension(const std::string& name, std::string_view extension)
{
    if (name.size() >= extension.size()) {
        bool same = true;
        const std::size_t start = name.size() - extension.size();
        for (std::size_t i = 0; i < extension.size() && same; ++i) {
            const auto a = static_cast<unsigned char>(name[start + i]);
            const auto b = static_cast<unsigned char>(extension[i]);
            same = std::tolower(a) == std::tolower(b);
        }
        if (same)
            return name;
    }
    return name + std::string(extension);
}

} // namespace loomscope
