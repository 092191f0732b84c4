#include "outputguard.h"

#include "codepage.h"
#include "colorsequencefile.h"
#include "embroideryformats.h"
#include "fileio.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace loomscope {

namespace {

// The path a write to `path` would reach: links at the name followed, the folder resolved.
std::string resolvedPath(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0)
            break;
        const std::string next(target, static_cast<std::size_t>(n));
        path = next[0] == '/' ? next : folderPart(path) + next;
    }
    const std::string folder = folderPart(absolutePath(path));
    char real[PATH_MAX];
    if (::realpath(folder.empty() ? "." : folder.c_str(), real) == nullptr)
        return absolutePath(path);
    std::string resolved = real;
    if (resolved.back() != '/')
        resolved += '/';
    return resolved + fileNamePart(path);
}

} // namespace

bool isSameFile(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return false;
    struct stat sa {};
    struct stat sb {};
    const bool aExists = ::stat(a.c_str(), &sa) == 0;
    const bool bExists = ::stat(b.c_str(), &sb) == 0;
    if (aExists && bExists)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    if (aExists != bExists)
        return false;
    return resolvedPath(a) == resolvedPath(b);
}

ToolInputs designInputs(const std::string& designPath, std::vector<std::string> others)
{
    return {designPath, findSideFile(designPath), std::move(others)};
}

bool isSideFileNameOf(const std::string& output, const std::string& designPath)
{
    if (asciiLowered(fileNamePart(output)) != asciiLowered(fileNamePart(sideFilePath(designPath))))
        return false;
    // The folder each name stands in (a link at the name itself is not followed: a link called
    // ROSE.LSC beside the design would be read as its side file).
    auto folderOf = [](const std::string& path) {
        const std::string folder = folderPart(absolutePath(path));
        char real[PATH_MAX];
        return ::realpath(folder.c_str(), real) ? std::string(real) : folder;
    };
    return folderOf(output) == folderOf(designPath);
}

bool isDesignOrSideFile(const std::string& output)
{
    const std::string ext = asciiLowered(extensionOf(output));
    return (ext == ".lsc" || formatOfFileName(fileNamePart(output))) && fileExists(output);
}

std::optional<std::string> overwrittenInput(const std::string& output, const ToolInputs& inputs)
{
    if (isSameFile(output, inputs.design))
        return inputs.design;
    if (inputs.sideFile) {
        if (isSameFile(output, *inputs.sideFile))
            return inputs.sideFile;
    } else if (isSideFileNameOf(output, inputs.design)) {
        return sideFilePath(inputs.design);
    }
    if (auto other = overwrittenInput(output, inputs.others))
        return other;
    if (isDesignOrSideFile(output))
        return output;
    return std::nullopt;
}

std::optional<std::string> overwrittenInput(const std::string& output,
                                            const std::vector<std::string>& inputs)
{
    for (const std::string& input : inputs)
        if (isSameFile(output, input))
            return input;
    return std::nullopt;
}

std::string overwriteRefusal(const std::string& output, const std::string& input)
{
    const std::string out = pathDisplayText(output);
    const std::string in = pathDisplayText(input);
    if (out == in)
        return out + " is a design, a side file or an input, and is not written over; choose "
                     "another output file";
    return out + " is the same file as " + in +
           ", an input file, and is not written over; choose another output file";
}

} // namespace loomscope
