#include "fileio.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace loomscope {

namespace {
std::string errnoText(int err)
{
    return std::strerror(err);
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};
} // namespace

FileBytes readWholeFile(const std::string& path, std::size_t limit)
{
    FileBytes result;
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        result.error = errnoText(errno);
        return result;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        result.error = S_ISDIR(st.st_mode) ? errnoText(EISDIR) : errnoText(errno);
        return result;
    }
    if (static_cast<std::uintmax_t>(st.st_size) > limit) {
        result.tooLarge = true;
        result.error = "the file is too large";
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < result.bytes.size()) {
        const ssize_t n = ::read(fd.get(), result.bytes.data() + done, result.bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.error = errnoText(errno);
            result.bytes.clear();
            return result;
        }
        if (n == 0)
            break; // the file shrank meanwhile
        done += static_cast<std::size_t>(n);
    }
    result.bytes.resize(done);
    return result;
}

std::string writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes)
{
    std::string temp = path + ".XXXXXX";
    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0)
        return errnoText(errno);
    auto fail = [&](int err) {
        ::unlink(temp.c_str());
        return errnoText(err);
    };
    // mkstemp makes the file private; give it the permissions a new file normally gets, or
    // keep those of the file it replaces.
    struct stat old {};
    mode_t mode;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd.get(), mode);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(errno);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0)
        return fail(errno);
    if (::close(fd.release()) != 0)
        return fail(errno);
    if (::rename(temp.c_str(), path.c_str()) != 0)
        return fail(errno);
    return {};
}

bool fileExists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str())) {
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(dir);
    }
    return names;
}

std::optional<std::string> findFileInAnyCase(const std::string& folder, const std::string& name)
{
    if (fileExists(folder + name))
        return folder + name;
    auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    const std::string key = lower(name);
    std::optional<std::string> first;
    for (const std::string& entry : folderEntries(folder))
        if (entry.size() == key.size() && lower(entry) == key && fileExists(folder + entry) &&
            (!first || entry < *first))
            first = entry;
    if (!first)
        return std::nullopt;
    return folder + *first;
}

std::string absolutePath(const std::string& path)
{
    std::filesystem::path p(path);
    if (p.is_relative()) {
        std::error_code ec;
        p = std::filesystem::current_path(ec) / p;
    }
    return p.lexically_normal().string();
}

std::string fileNamePart(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderPart(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string extensionOf(const std::string& path)
{
    const std::string name = fileNamePart(path);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string withoutExtension(const std::string& fileName)
{
    const auto slash = fileName.find_last_of('/');
    const auto dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return fileName;
    return fileName.substr(0, dot);
}

bool hasDstExtension(const std::string& path)
{
    std::string ext = extensionOf(path);
    for (char& ch : ext)
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    return ext == ".DST";
}

} // namespace loomscope
