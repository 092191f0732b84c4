#include "fileio.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <locale.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace loomscope {

namespace {
// The system's words for an error, always in English: the window runs in the user's locale
// and the command-line tools do not, and both must write the same report.
std::string errnoText(int err)
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c != static_cast<locale_t>(nullptr) ? strerror_l(err, c) : std::strerror(err);
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

namespace {
std::int64_t modificationNs(const struct stat& st)
{
    return std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
}
} // namespace

ReadableFile::ReadableFile(const std::string& path)
{
    // Without blocking: opening a named pipe would otherwise wait for a writer forever. Only a
    // regular file is read; a pipe or a device (/dev/zero) has no end to read to.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        missing_ = errno == ENOENT;
        error_ = errnoText(errno);
        return;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        error_ = errnoText(errno);
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        error_ = S_ISDIR(st.st_mode) ? errnoText(EISDIR) : "It is not a regular file.";
        return;
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
    modifiedNs_ = modificationNs(st);
    fd_ = fd.release();
}

ReadableFile::~ReadableFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::size_t ReadableFile::readAt(std::uint64_t offset, std::uint8_t* into, std::size_t length)
{
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pread(fd_, into + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error_ = errnoText(errno);
            return 0;
        }
        if (n == 0)
            break; // the file shrank meanwhile
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool ReadableFile::changedSinceOpened() const
{
    struct stat st {};
    return ::fstat(fd_, &st) != 0 || static_cast<std::uint64_t>(st.st_size) != size_ ||
           modificationNs(st) != modifiedNs_;
}

FileBytes readWholeFile(const std::string& path, std::size_t limit)
{
    FileBytes result;
    ReadableFile file(path);
    if (!file.isOpen()) {
        result.missing = file.missing();
        result.error = file.error();
        return result;
    }
    if (file.size() > limit) {
        result.tooLarge = true;
        result.error = "the file is too large";
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(file.size()));
    const std::size_t done = file.readAt(0, result.bytes.data(), result.bytes.size());
    if (!file.error().empty()) {
        result.error = file.error();
        result.bytes.clear();
        return result;
    }
    result.bytes.resize(done);
    return result;
}

namespace {

// Where a write to `path` really goes: a symbolic link is followed to the file it names (which
// may not exist yet), so that writing through a link changes the linked file and keeps the
// link, as every editor does.
bool followLinks(std::string& path, int& err)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) {
            err = errno;
            return false;
        }
        target.resize(static_cast<std::size_t>(n));
        path = !target.empty() && target[0] == '/' ? target : folderPart(path) + target;
    }
    err = ELOOP;
    return false;
}

std::string writeAll(int fd, std::span<const std::uint8_t> bytes, int& err)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            err = errno;
            return errnoText(err);
        }
        done += static_cast<std::size_t>(n);
    }
    return {};
}

// A target that exists and may not be written: its permissions say so even to root, who may
// write anything, because replacing a file the user made read-only would surprise them.
bool isReadOnly(const std::string& path, const struct stat& st)
{
    return (st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

constexpr const char* kReadOnly = "The file is read-only.";

// A new, empty file beside `target` with a name no one else uses, open for writing and closed
// on exec. Created with `mode` as any new file is (the process's umask applies, the process's
// umask is never changed: other threads may be creating files meanwhile).
int createTemporaryBeside(const std::string& target, mode_t mode, std::string& tempPath)
{
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::uint8_t random[8] = {};
        if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
            const auto t = static_cast<std::uint64_t>(
                               std::chrono::steady_clock::now().time_since_epoch().count()) ^
                           (static_cast<std::uint64_t>(::getpid()) << 32) ^
                           static_cast<std::uint64_t>(attempt);
            std::memcpy(random, &t, sizeof random);
        }
        std::string suffix;
        for (std::uint8_t r : random)
            suffix += kDigits[r % 36];
        tempPath = folderPart(target) + ".loomscope-" + suffix + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

std::string writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes)
{
    std::string target = path;
    int err = 0;
    if (!followLinks(target, err))
        return errnoText(err);

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return errnoText(EISDIR);
    if (exists && isReadOnly(target, old))
        return kReadOnly;
    if (exists && !S_ISREG(old.st_mode)) {
        // A device or a pipe (/dev/null, a terminal) cannot be replaced, only written to.
        Fd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
        if (fd.get() < 0)
            return errnoText(errno);
        if (std::string failed = writeAll(fd.get(), bytes, err); !failed.empty())
            return failed;
        return ::close(fd.release()) == 0 ? std::string() : errnoText(errno);
    }

    std::string temp;
    // A new file gets the permissions every new file gets; a replaced one keeps its own.
    Fd fd(createTemporaryBeside(target, exists ? 0600 : 0666, temp));
    if (fd.get() < 0)
        return errnoText(errno);
    auto fail = [&](int e) {
        ::unlink(temp.c_str());
        return errnoText(e);
    };
    if (exists) {
        // Root replacing a user's file leaves it theirs; anyone else keeps the group they can.
        if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0)
            (void)!::fchown(fd.get(), static_cast<uid_t>(-1), old.st_gid);
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0)
            return fail(errno);
    }
    if (!writeAll(fd.get(), bytes, err).empty())
        return fail(err);
    if (::fsync(fd.get()) != 0)
        return fail(errno);
    if (::close(fd.release()) != 0)
        return fail(errno);
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return fail(errno);
    return {};
}

std::string writeFileInPlace(const std::string& path, std::span<const std::uint8_t> bytes)
{
    // Only an empty file (what a thumbnail service hands over) is written in place: a file
    // with something in it is replaced as a whole, so a failure never leaves it cut short.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != 0)
        return writeFileAtomically(path, bytes);
    if (isReadOnly(path, st))
        return kReadOnly;
    Fd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return errnoText(errno);
    int err = 0;
    if (::ftruncate(fd.get(), 0) != 0)
        return errnoText(errno);
    if (std::string failed = writeAll(fd.get(), bytes, err); !failed.empty())
        return failed;
    if (::fsync(fd.get()) != 0)
        return errnoText(errno);
    return ::close(fd.release()) == 0 ? std::string() : errnoText(errno);
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

std::vector<FolderEntry> folderEntriesWithKinds(const std::string& folder)
{
    std::vector<FolderEntry> entries;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return entries;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        bool regular = e->d_type == DT_REG;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st {};
            regular = ::fstatat(::dirfd(dir), e->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
        }
        entries.push_back({e->d_name, regular});
    }
    ::closedir(dir);
    return entries;
}

std::optional<std::string> findFileInAnyCase(const std::string& folder, const std::string& name)
{
    if (fileExists(folder + name))
        return folder + name;
    const std::string key = asciiLowered(name);
    std::optional<std::string> first;
    // Straight from the directory stream, without copying its names: a file manager asks for
    // one thumbnail at a time in folders of tens of thousands of designs.
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return std::nullopt;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view entry = e->d_name;
        if (entry.size() != key.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; same && i < key.size(); ++i) {
            char c = entry[i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            same = c == key[i];
        }
        if (same && (!first || entry < *first) && fileExists(folder + std::string(entry)))
            first = std::string(entry);
    }
    ::closedir(dir);
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

std::string asciiLowered(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
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
