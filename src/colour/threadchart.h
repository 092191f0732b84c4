#pragma once

#include "model/colour.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace loomscope {

// A thread chart: the threads of one maker's colour card, each with its code (色号). A chart
// lives in a ".tch" text file in the program home, one thread a line:
//     code,name,…,…,red,green,blue
// Only commas separate fields; a field may be enclosed in double quotes (a doubled quote inside
// stands for one). Fields 1 to 3 are free for the maker's own use. The components are decimal
// integers of which only the low 8 bits count; a line of fewer than seven fields is a black
// thread. A byte-order mark names the file's encoding; without one it is code page 936, the
// encoding such files have always been written in.

struct ChartEntry {
    TColor colour = 0;
    std::string code; // UTF-8
    friend bool operator==(const ChartEntry&, const ChartEntry&) = default;
};

struct ThreadChart {
    std::vector<ChartEntry> entries; // in file order
    // Empty when the whole file was read. Otherwise what stopped it; `entries` is then empty,
    // so that a chart is never used half read.
    std::string error;
    int errorLine = 0; // 1-based line of the error, 0 when it concerns the whole file
};

// Charts larger than this are not thread charts (the largest real card has a few thousand
// threads, well under a megabyte).
inline constexpr std::size_t kMaxChartBytes = std::size_t{16} << 20;

// The file's text as UTF-8: after a UTF-8 or UTF-16 byte-order mark in that encoding, else
// decoded from code page 936.
std::string chartText(std::span<const std::uint8_t> bytes);

// The fields of one line (see above). An empty line has none.
std::vector<std::string> chartFields(std::string_view line);

ThreadChart parseThreadChart(std::span<const std::uint8_t> bytes);
ThreadChart loadThreadChart(const std::string& path);

// The charts of a program home: the names (file names without their ".tch" extension, in any
// letter case, as the bytes the file system holds) in the order a file manager shows them.
struct ChartFile {
    std::string name;
    std::string path;
};
std::vector<ChartFile> listThreadCharts(const std::string& home);

// The chart file of a name typed or chosen by the user: home + name + ".tch" when it exists,
// else a chart whose file name differs from that only in letter case. Empty when there is none
// and for names that are not plain file names (empty, or holding a '/').
std::string findThreadChart(const std::string& home, const std::string& name);

} // namespace loomscope
