#include "threadchart.h"

#include "model/codepage.h"
#include "model/fileio.h"
#include "model/folderlist.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace loomscope {

namespace {

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 of either byte order; a lone surrogate or an odd last byte becomes U+FFFD.
std::string utf16ToUtf8(std::span<const std::uint8_t> bytes, bool bigEndian)
{
    auto unit = [&](std::size_t i) -> char32_t {
        return bigEndian ? static_cast<char32_t>(bytes[i] << 8 | bytes[i + 1])
                         : static_cast<char32_t>(bytes[i + 1] << 8 | bytes[i]);
    };
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i + 1 < bytes.size()) {
        const char32_t u = unit(i);
        i += 2;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < bytes.size()) {
            const char32_t low = unit(i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                i += 2;
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                continue;
            }
        }
        appendUtf8(out, u >= 0xD800 && u <= 0xDFFF ? 0xFFFD : u);
    }
    if (i < bytes.size())
        appendUtf8(out, 0xFFFD);
    return out;
}

std::string_view trimmedBlanks(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

// A decimal integer of 32 bits with surrounding blanks and an optional sign.
std::optional<std::int32_t> parseInteger(std::string_view text)
{
    text = trimmedBlanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.front() == '+')
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < INT32_MIN ||
        value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

} // namespace

std::string chartText(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        const std::string_view rest(reinterpret_cast<const char*>(bytes.data()) + 3,
                                    bytes.size() - 3);
        return isUtf8(rest) ? std::string(rest) : utf8WithReplacements(rest);
    }
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return utf16ToUtf8(bytes.subspan(2), false);
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return utf16ToUtf8(bytes.subspan(2), true);
    return cp936ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::string> chartFields(std::string_view line)
{
    std::vector<std::string> fields;
    std::size_t pos = 0;
    const std::size_t n = line.size();
    while (pos < n) {
        std::string field;
        if (line[pos] == '"') {
            ++pos;
            while (pos < n) {
                if (line[pos] != '"') {
                    field += line[pos++];
                } else if (pos + 1 < n && line[pos + 1] == '"') {
                    field += '"';
                    pos += 2;
                } else {
                    ++pos;
                    break;
                }
            }
        }
        // Unquoted text, or whatever follows a closing quote up to the next comma: kept, so
        // that nothing of a sloppily quoted line is lost.
        while (pos < n && line[pos] != ',')
            field += line[pos++];
        fields.push_back(std::move(field));
        if (pos < n) {
            ++pos; // the comma
            if (pos == n)
                fields.emplace_back(); // a comma at the end opens one more, empty field
        }
    }
    return fields;
}

ThreadChart parseThreadChart(std::span<const std::uint8_t> bytes)
{
    ThreadChart chart;
    const std::string text = chartText(bytes);
    std::size_t start = 0;
    int lineNumber = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + start, end - start);
        ++lineNumber;
        // A line ends at CR LF, LF or CR.
        start = end;
        if (start < text.size())
            start += text.compare(start, 2, "\r\n") == 0 ? 2 : 1;

        // Blank lines (also those with only spaces, as editors leave them) are no threads.
        if (trimmedBlanks(line).empty())
            continue;
        const auto fields = chartFields(line);
        ChartEntry entry;
        entry.code = fields.empty() ? std::string() : fields[0];
        if (fields.size() >= 7) {
            int component[3];
            for (int k = 0; k < 3; ++k) {
                const std::string& field = fields[static_cast<std::size_t>(4 + k)];
                const auto value = parseInteger(field);
                if (!value) {
                    chart.entries.clear();
                    chart.error =
                        "'" + std::string(trimmedBlanks(field)) + "' is not a valid integer value";
                    chart.errorLine = lineNumber;
                    return chart;
                }
                component[k] = *value & 0xFF;
            }
            entry.colour = rgb(component[0], component[1], component[2]);
        }
        chart.entries.push_back(std::move(entry));
    }
    return chart;
}

ThreadChart loadThreadChart(const std::string& path)
{
    FileBytes file = readWholeFile(path, kMaxChartBytes);
    ThreadChart chart;
    if (file.tooLarge)
        chart.error = "the file is too large for a thread chart";
    else if (!file.error.empty())
        chart.error = file.error;
    else
        chart = parseThreadChart(file.bytes);
    return chart;
}

std::vector<ChartFile> listThreadCharts(const std::string& home)
{
    std::vector<ChartFile> charts;
    std::vector<std::string> names;
    for (const std::string& fileName : folderEntries(home))
        if (asciiLowered(extensionOf(fileName)) == ".tch" && fileExists(home + fileName))
            names.push_back(fileName);
    std::sort(names.begin(), names.end(), fileManagerLess);
    for (const std::string& fileName : names)
        charts.push_back({withoutExtension(fileName), home + fileName});
    return charts;
}

std::string findThreadChart(const std::string& home, const std::string& name)
{
    if (name.empty() || name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
        return {};
    const std::string exact = home + name + ".tch";
    if (fileExists(exact))
        return exact;
    const std::string wanted = asciiLowered(name + ".tch");
    for (const ChartFile& chart : listThreadCharts(home))
        if (asciiLowered(fileNamePart(chart.path)) == wanted)
            return chart.path;
    return {};
}

} // namespace loomscope
