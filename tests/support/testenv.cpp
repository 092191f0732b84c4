#include "testenv.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace loomscope::testsupport {

TempDir::TempDir()
{
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("loomscope-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Tests make folders read-only on purpose; give them back before removing.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->is_directory(ec))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::vector<std::string>> tsvRows(const std::filesystem::path& path)
{
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, '\t'))
            cells.push_back(cell);
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::optional<std::filesystem::path> corpusDir()
{
    std::filesystem::path dir;
    if (const char* env = std::getenv("LOOMSCOPE_CORPUS"))
        dir = env;
    else
        dir = std::filesystem::path(LOOMSCOPE_SOURCE_DIR) / ".." / "shared" / "corpus";
    std::error_code ec;
    if (std::filesystem::is_directory(dir, ec))
        return dir;
    return std::nullopt;
}

void isolateEnvironment()
{
    static TempDir* home = nullptr; // lives as long as the test program
    if (home)
        return;
    home = new TempDir();
    std::filesystem::create_directories(home->path() / "home");
    std::filesystem::create_directories(home->path() / "runtime");
    std::filesystem::permissions(home->path() / "runtime", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    setenv("LOOMSCOPE_HOME", (home->path() / "home").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home->path() / "runtime").c_str(), 1);
    std::atexit([] { delete home; });
}

} // namespace loomscope::testsupport
