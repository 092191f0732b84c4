#include "desktopexec.h"

#include "session/processlaunch.h"

namespace loomscope {

namespace {

std::string trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// \s \n \t \r \\ of desktop-file string values.
std::string unescapeValue(const std::string& v)
{
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '\\' || i + 1 == v.size()) {
            out += v[i];
            continue;
        }
        switch (v[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\';
            out += v[i];
            break;
        }
    }
    return out;
}

std::string fileUri(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '/' || c == '-' || c == '_' || c == '.' ||
                           c == '~';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 15];
        }
    }
    return uri;
}

// Splits by the quoting rules of the Exec key: blanks separate arguments, double quotes group,
// and inside them a backslash keeps ", `, $ and \ literal. Each argument is returned with a
// flag telling whether it was quoted (field codes are not expanded inside quotes).
std::optional<std::vector<std::pair<std::string, bool>>> split(const std::string& exec)
{
    std::vector<std::pair<std::string, bool>> args;
    std::size_t i = 0;
    while (i < exec.size()) {
        while (i < exec.size() && (exec[i] == ' ' || exec[i] == '\t'))
            ++i;
        if (i == exec.size())
            break;
        std::string arg;
        bool quoted = false;
        if (exec[i] == '"') {
            quoted = true;
            ++i;
            while (i < exec.size() && exec[i] != '"') {
                if (exec[i] == '\\' && i + 1 < exec.size())
                    ++i;
                arg += exec[i++];
            }
            if (i == exec.size())
                return std::nullopt;
            ++i;
        } else {
            while (i < exec.size() && exec[i] != ' ' && exec[i] != '\t')
                arg += exec[i++];
        }
        args.emplace_back(std::move(arg), quoted);
    }
    return args;
}

} // namespace

std::optional<std::string> desktopEntryExec(const std::string& text)
{
    bool inEntry = false;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = trim(text.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry)
            continue;
        const auto eq = line.find('=');
        if (eq != std::string::npos && trim(line.substr(0, eq)) == "Exec")
            return unescapeValue(trim(line.substr(eq + 1)));
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>>
expandDesktopExec(const std::string& exec, const std::string& file, const std::string& entryPath)
{
    const auto parts = split(exec);
    if (!parts || parts->empty())
        return std::nullopt;
    std::vector<std::string> argv;
    for (const auto& [arg, quoted] : *parts) {
        if (quoted) {
            argv.push_back(arg);
            continue;
        }
        if (arg == "%f" || arg == "%F") {
            argv.push_back(file);
            continue;
        }
        if (arg == "%u" || arg == "%U") {
            argv.push_back(fileUri(file));
            continue;
        }
        std::string out;
        bool dropped = false;
        for (std::size_t i = 0; i < arg.size(); ++i) {
            if (arg[i] != '%' || i + 1 == arg.size()) {
                out += arg[i];
                continue;
            }
            const char code = arg[++i];
            if (code == '%')
                out += '%';
            else if (code == 'k')
                out += entryPath;
            else if (code == 'f' || code == 'F')
                out += file;
            else if (code == 'u' || code == 'U')
                out += fileUri(file);
            else
                dropped = true; // %i, %c and the deprecated codes
        }
        if (!(dropped && out.empty()))
            argv.push_back(out);
    }
    if (argv.empty())
        return std::nullopt;
    const auto program = findProgram(argv.front());
    if (!program)
        return std::nullopt;
    argv.front() = *program;
    return argv;
}

} // namespace loomscope
