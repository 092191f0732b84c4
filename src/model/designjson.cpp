#include "designjson.h"

#include "codepage.h"
#include "numberformat.h"
#include "tembs.h"

#include <charconv>
#include <cstdio>

namespace loomscope {

namespace {

// Length of the valid UTF-8 sequence at the start of `s`, or 0 when it is not one.
std::size_t validUtf8Length(std::string_view s)
{
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = b(0);
    std::size_t n;
    unsigned min;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < n)
        return 0;
    unsigned cp = lead & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b(i) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

void appendInteger(std::string& out, long long value)
{
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

std::string number(double v)
{
    return formatGeneral(v);
}

} // namespace

std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    std::string_view rest = text;
    while (!rest.empty()) {
        const auto ch = static_cast<unsigned char>(rest.front());
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += static_cast<char>(ch);
            rest.remove_prefix(1);
        } else if (ch < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", ch);
            out += esc;
            rest.remove_prefix(1);
        } else {
            const std::size_t n = validUtf8Length(rest);
            if (n == 0) {
                out += "\xEF\xBF\xBD";
                rest.remove_prefix(1);
            } else {
                out.append(rest.substr(0, n));
                rest.remove_prefix(n);
            }
        }
    }
    out += '"';
    return out;
}

std::string designInfoJson(const Tembs& design, const std::vector<TColor>& colortable)
{
    const TRectF& r = design.dstrect();
    const float s = design.scale() > 0 ? design.scale() : 1;
    const TPointF first = design.firstpointUnscaled();
    const TPointF last = design.lastpointUnscaled();
    std::string out;
    out.reserve(256 + 120 * static_cast<std::size_t>(design.Graphlist().Count()));
    // JSON is UTF-8: a name in code page 936 is given as its characters.
    out += "{\"name\":" + jsonString(pathDisplayText(design.dstfilename()));
    out += ",\"format\":\"";
    out += formatName(design.format());
    out += '"';
    out += ",\"stitches\":" + std::to_string(design.stitchs());
    out += ",\"colors\":" + std::to_string(design.colorcount());
    out += ",\"sequins\":" + std::to_string(design.sequins());
    out += ",\"width_mm\":" + number(design.width());
    out += ",\"height_mm\":" + number(design.height());
    out += ",\"width_inch\":" + number(mmToInches(design.width()));
    out += ",\"height_inch\":" + number(mmToInches(design.height()));
    out += ",\"colorcard\":" + jsonString(design.colorcard());
    out += ",\"dstrect\":[" + formatFloat(r.left / s) + "," + formatFloat(r.top / s) + "," +
           formatFloat(r.right / s) + "," + formatFloat(r.bottom / s) + "]";
    out += ",\"firstpoint\":[" + formatFloat(first.x) + "," + formatFloat(first.y) + "]";
    out += ",\"lastpoint\":[" + formatFloat(last.x) + "," + formatFloat(last.y) + "]";
    out += ",\"blocks\":[";
    bool firstBlock = true;
    // A million-stitch design has tens of thousands of blocks: each is appended in place.
    char colour[8];
    TColor lastColour = 0;
    bool haveColour = false;
    for (const TGraphObject* block : design.Graphlist()) {
        if (!firstBlock)
            out += ',';
        firstBlock = false;
        out += "{\"colorindex\":";
        appendInteger(out, block->FColorindex);
        out += ",\"points\":";
        appendInteger(out, static_cast<long long>(block->FPointList.size()));
        out += block->Fissequin ? ",\"sequin\":true" : ",\"sequin\":false";
        if (!haveColour || block->FColor != lastColour) {
            const std::string html = colorToHtml(block->FColor);
            html.copy(colour, sizeof colour);
            lastColour = block->FColor;
            haveColour = true;
        }
        out += ",\"color\":\"";
        out.append(colour, 7);
        out += '"';
        out += ",\"colorname\":";
        if (block->FColorname.empty())
            out += "\"\"";
        else
            out += jsonString(block->FColorname);
        out += '}';
    }
    out += "],\"colortable\":[";
    for (std::size_t i = 0; i < colortable.size(); ++i) {
        if (i > 0)
            out += ',';
        out += "\"" + colorToHtml(colortable[i]) + "\"";
    }
    out += "]}";
    return out;
}

} // namespace loomscope
