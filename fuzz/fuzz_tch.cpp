// Any bytes as a thread chart: parsed, searched and matched without reading outside the input.
#include "colour/chartsearch.h"
#include "colour/threadchart.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const loomscope::ThreadChart chart = loomscope::parseThreadChart({data, size});
    if (!chart.error.empty() && (!chart.entries.empty() || chart.errorLine < 1))
        __builtin_trap(); // a failed chart is empty and says where it failed
    for (const auto& entry : chart.entries)
        if (entry.colour > 0xFFFFFF)
            __builtin_trap();
    const loomscope::TColor picked = size >= 3 ? loomscope::rgb(data[0], data[1], data[2]) : 0;
    const auto score = loomscope::matchOrder(chart.entries, picked);
    const auto perceptual =
        loomscope::matchOrder(chart.entries, picked, loomscope::MatchOrdering::Perceptual);
    if (score.size() != chart.entries.size() || perceptual.size() != chart.entries.size())
        __builtin_trap();
    loomscope::findCode(chart.entries, size > 0 && data[0] < 0x80 ? "1" : "A");
    return 0;
}
