#include "mimeappslist.h"

#include "model/fileio.h"

#include <algorithm>

namespace loomscope {

namespace {

const char* const kDefaults = "Default Applications";
const char* const kAdded = "Added Associations";
const char* const kRemoved = "Removed Associations";

std::string trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}

// The section a "[name]" line opens, or nothing.
bool sectionOf(const std::string& line, std::string* name)
{
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return false;
    *name = t.substr(1, t.size() - 2);
    return true;
}

// The key of a "key=value" line, in lower case (MIME types ignore letter case).
std::string keyOf(const std::string& line)
{
    const auto eq = line.find('=');
    return eq == std::string::npos ? std::string() : asciiLowered(trim(line.substr(0, eq)));
}

bool isOneOf(const std::string& key, const std::vector<std::string>& types)
{
    return std::any_of(types.begin(), types.end(),
                       [&](const std::string& t) { return asciiLowered(t) == key; });
}

// "a.desktop;b.desktop;" without `id`; empty when nothing else is left.
std::string withoutId(const std::string& value, const std::string& id)
{
    std::string out;
    std::size_t start = 0;
    while (start < value.size()) {
        auto end = value.find(';', start);
        if (end == std::string::npos)
            end = value.size();
        const std::string item = trim(value.substr(start, end - start));
        if (!item.empty() && item != id)
            out += item + ";";
        start = end + 1;
    }
    return out;
}

// "id;" followed by the other programs of the value, in their order.
std::string firstAmong(const std::string& value, const std::string& id)
{
    return id + ";" + withoutId(value, id);
}

// `desktopId` first on the line of `type` in `sectionName`, the line (and the section) added
// when there is none.
std::string withFirstInSection(const std::string& text, const char* sectionName,
                               const std::string& type, const std::string& desktopId)
{
    std::vector<std::string> lines = splitLines(text);
    std::string section;
    std::size_t insertAt = std::string::npos;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        if (sectionOf(lines[i], &name)) {
            if (section == sectionName)
                break;
            section = name;
            if (section == sectionName)
                insertAt = i + 1;
            continue;
        }
        if (section != sectionName)
            continue;
        if (keyOf(lines[i]) == asciiLowered(type)) {
            const auto eq = lines[i].find('=');
            lines[i] = type + "=" + firstAmong(lines[i].substr(eq + 1), desktopId);
            return joinLines(lines);
        }
        if (!trim(lines[i]).empty())
            insertAt = i + 1;
    }
    const std::string entry = type + "=" + desktopId + ";";
    if (insertAt != std::string::npos) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
        return joinLines(lines);
    }
    if (!lines.empty() && !trim(lines.back()).empty())
        lines.emplace_back();
    lines.push_back(std::string("[") + sectionName + "]");
    lines.push_back(entry);
    return joinLines(lines);
}

} // namespace

std::string preferringProgram(const std::string& text, const std::vector<std::string>& types,
                              const std::string& desktopId)
{
    std::vector<std::string> out;
    std::string section;
    for (const std::string& line : splitLines(text)) {
        std::string name;
        if (sectionOf(line, &name)) {
            section = name;
            out.push_back(line);
            continue;
        }
        const std::string key = keyOf(line);
        if (key.empty() || !isOneOf(key, types)) {
            out.push_back(line);
            continue;
        }
        const auto eq = line.find('=');
        if (section == kDefaults || section == kAdded) {
            out.push_back(line.substr(0, eq + 1) + firstAmong(line.substr(eq + 1), desktopId));
            continue;
        }
        if (section == kRemoved) {
            const std::string rest = withoutId(line.substr(eq + 1), desktopId);
            if (!rest.empty())
                out.push_back(line.substr(0, eq + 1) + rest);
            continue;
        }
        out.push_back(line);
    }
    return joinLines(out);
}

std::string withDefaultApplication(const std::string& text, const std::string& type,
                                   const std::string& desktopId)
{
    return withFirstInSection(withFirstInSection(text, kDefaults, type, desktopId), kAdded, type,
                              desktopId);
}

} // namespace loomscope
