#pragma once

// Designs generated for the benchmarks: large, with the mix of stitches, jumps and colour
// changes of a real fill-heavy design.

#include "dstbuilder.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace loomscope::bench {

// About `records` records: rows of fill stitches across an area of 2 x halfWidth by
// 2 x halfHeight units (200 x 150 mm unless asked), a jump after every 300 stitches, a colour
// change after every 50,000.
inline std::vector<std::uint8_t> generatedDesign(std::size_t records, int halfWidth = 1000,
                                                 int halfHeight = 750)
{
    tools::DstBuilder b("BENCH");
    std::size_t stitches = 0;
    int row = 0;
    while (b.recordCount() + 2 < records) {
        const int y = (row * 4) % (2 * halfHeight) - halfHeight;
        const int from = row % 2 ? halfWidth : -halfWidth;
        b.jumpTo(from, y);
        b.stitch(0, 0);
        const int step = row % 2 ? -35 : 35;
        for (int x = from; std::abs(x) <= halfWidth && b.recordCount() + 2 < records; x += step) {
            b.stitch(step, (x / 35) % 3 - 1);
            if (++stitches % 300 == 0)
                b.jumpBy(2, 2).stitch(0, 0);
            if (stitches % 50000 == 0)
                b.colourChange().stitch(0, 0);
        }
        ++row;
    }
    return b.machineFile();
}

// A file of the corpus's other formats, when it is there.
inline std::optional<std::filesystem::path> corpusFormatsFile(const char* name)
{
    const std::filesystem::path path =
        std::filesystem::path(LOOMSCOPE_SOURCE_DIR) / ".." / "shared" / "corpus" / "formats" / name;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    return path;
}

// The largest design of the corpus of real files, when it is there.
inline std::optional<std::filesystem::path> largestCorpusDesign()
{
    const std::filesystem::path dir =
        std::filesystem::path(LOOMSCOPE_SOURCE_DIR) / ".." / "shared" / "corpus";
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec))
        return std::nullopt;
    std::optional<std::filesystem::path> best;
    std::uintmax_t bestSize = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        std::string ext = entry.path().extension().string();
        for (char& c : ext)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ext == ".dst" && entry.file_size() > bestSize) {
            bestSize = entry.file_size();
            best = entry.path();
        }
    }
    return best;
}

} // namespace loomscope::bench
