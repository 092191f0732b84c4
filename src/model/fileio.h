#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace loomscope {

// A whole file read into memory, or the reason it could not be read.
struct FileBytes {
    std::vector<std::uint8_t> bytes;
    std::string error;     // empty when the read succeeded
    bool tooLarge = false; // larger than the limit asked for: nothing was read
    bool missing = false;  // there is no file of that name (not: it may not be read)
};
// Reads the file with plain reads into memory: unlike a mapping, a file that another program
// truncates meanwhile gives a shorter read, never a crash. A file of more than `limit` bytes is
// not read at all.
FileBytes readWholeFile(const std::string& path, std::size_t limit = SIZE_MAX);

// A regular file opened for reading in pieces, with the checks readWholeFile makes (opened
// without blocking; a folder, pipe or device is refused). For files too large to want in
// memory at once: a reader goes through it piece by piece, and may go through it twice.
class ReadableFile {
public:
    explicit ReadableFile(const std::string& path);
    ~ReadableFile();
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    const std::string& error() const { return error_; } // why it is not open, or a read failed
    bool missing() const { return missing_; }
    std::uint64_t size() const { return size_; } // when it was opened
    // Reads up to `length` bytes from `offset`; the number read, fewer at the end of the file
    // (a file cut short meanwhile included), and 0 with error() set when reading failed.
    std::size_t readAt(std::uint64_t offset, std::uint8_t* into, std::size_t length);
    // The file was written to since it was opened (its size or modification time differ).
    bool changedSinceOpened() const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::int64_t modifiedNs_ = 0;
    bool missing_ = false;
    std::string error_;
};

// The one way the program writes a file. A failure never leaves a half-written one: the bytes go
// to a temporary file in the same folder (created with its final permissions, closed on exec),
// which then replaces the target. A symbolic link is written through to the file it names; a
// read-only target is refused and left as it was; a device or pipe is written to directly.
// Returns an empty string on success, else what went wrong. Callers encode into memory first.
std::string writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Writes into the existing empty regular file at `path` itself, keeping its inode: a program
// that created the file and still holds it open (a file manager's thumbnail service) reads
// what was written. Any other target, a file with content included, is written as
// writeFileAtomically does.
std::string writeFileInPlace(const std::string& path, std::span<const std::uint8_t> bytes);

bool fileExists(const std::string& path); // a regular file (or a link to one)

// The names in a folder but "." and "..", in the order the file system lists them; nothing when
// the folder cannot be read.
std::vector<std::string> folderEntries(const std::string& folder);
// The same with whether each is a regular file (a link is followed). Told by the directory
// itself where the file system says, so that a folder of tens of thousands of designs is
// listed without looking up each file.
struct FolderEntry {
    std::string name;
    bool regularFile = false;
};
std::vector<FolderEntry> folderEntriesWithKinds(const std::string& folder);

// The regular file of `folder` (ending in '/', or empty for the working folder) named `name`
// without regard to ASCII letter case, as files copied from Windows are: the exact spelling
// when it is there, else the first of the others in byte order; nothing when there is none.
std::optional<std::string> findFileInAnyCase(const std::string& folder, const std::string& name);

// The path from the root: a relative path is taken from the working folder; "." and ".."
// are resolved by name (links are not followed), as the user would write the path.
std::string absolutePath(const std::string& path);

// File name helpers in the style the whole program uses: the extension is everything from the
// last dot of the file name (".dst" of "a.b.dst", ".dst" of ".dst"), the folder part ends at
// the last '/'.
std::string fileNamePart(const std::string& path);
std::string folderPart(const std::string& path); // with its trailing '/', or empty
std::string extensionOf(const std::string& path);
std::string withoutExtension(const std::string& fileName);
bool hasDstExtension(const std::string& path); // ".dst" in any letter case
// The text with its ASCII capitals made small, as file names from Windows compare.
std::string asciiLowered(std::string text);

} // namespace loomscope
