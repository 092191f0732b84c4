#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace loomscope {

// An INI file that is changed in place: setting a key rewrites only that key's line (or adds
// one at the end of its section, or the section at the end of the file), so comments, unknown
// sections, blank lines and the order of everything stay as they were. Section and key names
// compare without regard to letter case. The text is UTF-8; the line ending of the file
// (CR LF or LF) is kept.
class IniFile {
public:
    IniFile() = default;
    static IniFile fromText(const std::string& text);

    // Reads a file; a missing file gives an empty one. Returns false when the file exists but
    // cannot be read (`error` says why).
    bool load(const std::string& path, std::string* error = nullptr);
    // Writes atomically (a temporary file renamed over the old one). Returns an empty string
    // on success, else what went wrong.
    std::string save(const std::string& path) const;

    // The value of a key with blanks trimmed and one pair of surrounding quotes removed.
    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    void setValue(const std::string& section, const std::string& key, const std::string& value);
    bool hasSection(const std::string& section) const;

    std::string text() const;

private:
    struct Line {
        std::string text;
    };
    // Index of the line holding `key` in `section`, or npos; with the range of the section.
    struct Found {
        std::size_t header = std::string::npos; // line of "[section]"
        std::size_t key = std::string::npos;
        std::size_t insertAt = std::string::npos; // after the section's last non-blank line
    };
    Found find(const std::string& section, const std::string& key) const;

    std::vector<std::string> lines_;
    std::string newline_ = "\n";
    bool finalNewline_ = true;
};

// The one way a route changes config.ini: the file is read afresh (so keys another route wrote
// meanwhile stay), changed, and written once, atomically. A file that exists but cannot be read
// is not written over: its other settings would be lost. `error` says what went wrong, and
// `readFailed` whether it was the reading.
struct IniUpdate {
    bool readFailed = false;
    std::string error;
    bool ok() const { return error.empty(); }
};
// `written`, when given, receives the file as written.
IniUpdate updateIniFile(const std::string& path, const std::function<void(IniFile&)>& change,
                        IniFile* written = nullptr);

} // namespace loomscope
