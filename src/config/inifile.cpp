#include "inifile.h"

#include "model/fileio.h"

#include <algorithm>
#include <utility>

namespace loomscope {

namespace {

std::string trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// "[name]" gives name; anything else nothing.
std::optional<std::string> sectionName(const std::string& line)
{
    const std::string t = trim(line);
    if (t.size() >= 2 && t.front() == '[') {
        const auto close = t.find(']');
        if (close != std::string::npos)
            return trim(t.substr(1, close - 1));
    }
    return std::nullopt;
}

bool isComment(const std::string& t)
{
    return !t.empty() && (t.front() == ';' || t.front() == '#');
}

} // namespace

IniFile IniFile::fromText(const std::string& text)
{
    IniFile ini;
    ini.newline_ = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    ini.finalNewline_ = text.empty() || text.back() == '\n';
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ini.lines_.push_back(std::move(line));
        start = end + 1;
    }
    // A byte-order mark would otherwise become part of the first section's name.
    if (!ini.lines_.empty() && ini.lines_.front().rfind("\xEF\xBB\xBF", 0) == 0)
        ini.lines_.front().erase(0, 3);
    return ini;
}

bool IniFile::load(const std::string& path, std::string* error)
{
    // Only a file that is not there is an empty one: a folder or a device of that name is an
    // error, not a file to write over.
    const FileBytes file = readWholeFile(path);
    if (file.missing) {
        *this = IniFile();
        return true;
    }
    if (!file.error.empty()) {
        if (error)
            *error = file.error;
        return false;
    }
    *this = fromText(std::string(file.bytes.begin(), file.bytes.end()));
    return true;
}

std::string IniFile::text() const
{
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i];
        if (i + 1 < lines_.size() || finalNewline_)
            out += newline_;
    }
    return out;
}

std::string IniFile::save(const std::string& path) const
{
    const std::string t = text();
    return writeFileAtomically(path, {reinterpret_cast<const std::uint8_t*>(t.data()), t.size()});
}

IniFile::Found IniFile::find(const std::string& section, const std::string& key) const
{
    Found found;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i])) {
            if (inSection)
                break; // the section ended; a later one of the same name is not read
            inSection = sameName(*name, section);
            if (inSection) {
                found.header = i;
                found.insertAt = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        const std::string t = trim(lines_[i]);
        if (t.empty())
            continue;
        found.insertAt = i + 1;
        if (isComment(t))
            continue;
        const auto eq = t.find('=');
        if (eq != std::string::npos && found.key == std::string::npos &&
            sameName(trim(t.substr(0, eq)), key))
            found.key = i;
    }
    return found;
}

std::optional<std::string> IniFile::value(const std::string& section, const std::string& key) const
{
    const Found f = find(section, key);
    if (f.key == std::string::npos)
        return std::nullopt;
    const std::string& line = lines_[f.key];
    std::string v = trim(line.substr(line.find('=') + 1));
    if (v.size() >= 2 &&
        ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
        v = v.substr(1, v.size() - 2);
    return v;
}

bool IniFile::hasSection(const std::string& section) const
{
    return find(section, {}).header != std::string::npos;
}

void IniFile::setValue(const std::string& section, const std::string& key, const std::string& value)
{
    // A value is one line: line breaks in it would make new keys.
    std::string clean = value;
    std::replace(clean.begin(), clean.end(), '\n', ' ');
    std::replace(clean.begin(), clean.end(), '\r', ' ');
    const Found f = find(section, key);
    if (f.key != std::string::npos) {
        const std::string& line = lines_[f.key];
        const auto eq = line.find('=');
        lines_[f.key] = line.substr(0, eq + 1) + clean;
        return;
    }
    if (f.header != std::string::npos) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(f.insertAt), key + "=" + clean);
        return;
    }
    if (!lines_.empty() && !trim(lines_.back()).empty())
        lines_.emplace_back();
    lines_.push_back("[" + section + "]");
    lines_.push_back(key + "=" + clean);
    finalNewline_ = true;
}

IniUpdate updateIniFile(const std::string& path, const std::function<void(IniFile&)>& change,
                        IniFile* written)
{
    IniFile ini;
    IniUpdate update;
    if (!ini.load(path, &update.error)) {
        update.readFailed = true;
        return update;
    }
    change(ini);
    update.error = ini.save(path);
    if (written && update.ok())
        *written = std::move(ini);
    return update;
}

} // namespace loomscope
