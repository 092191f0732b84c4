#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace loomscope::testsupport {

// A fresh folder that is removed again with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readFile(const std::string& path);

// The rows of a table of tab-separated cells, its header line left out.
std::vector<std::vector<std::string>> tsvRows(const std::filesystem::path& path);

// The folder of real design files beside the project, when it is there.
std::optional<std::filesystem::path> corpusDir();

// Points every test at its own program home and runtime folder, so that no test reads or
// writes the developer's files. Called by the test mains.
void isolateEnvironment();

} // namespace loomscope::testsupport
