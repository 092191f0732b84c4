// JEF: Janome's design file. A little-endian header gives the offset of the stitch records
// and the Janome palette index of each colour block; the records are two-byte stitches with
// 0x80 escapes for colour changes, moves and the end.

#include "formatreading.h"

#include <array>

namespace loomscope::formats {

namespace {

constexpr std::size_t kThreadCountAt = 0x18;
constexpr std::size_t kThreadsAt = 0x74;

struct JefThread {
    TColor colour;
    const char* code;
    const char* name;
};

// Janome's 78 thread colours; entry k is index k + 1. Index 0 is no colour: a change to it
// is a stop, and the block keeps the thread it had.
constexpr std::array<JefThread, 78> kJefPalette = {{
    {rgb(0x00, 0x00, 0x00), "002", "Black"},
    {rgb(0xFF, 0xFF, 0xFF), "001", "White"},
    {rgb(0xFF, 0xFF, 0x17), "204", "Yellow"},
    {rgb(0xFF, 0x66, 0x00), "203", "Orange"},
    {rgb(0x2F, 0x59, 0x33), "219", "Olive Green"},
    {rgb(0x23, 0x73, 0x36), "226", "Green"},
    {rgb(0x65, 0xC2, 0xC8), "217", "Sky"},
    {rgb(0xAB, 0x5A, 0x96), "208", "Purple"},
    {rgb(0xF6, 0x69, 0xA0), "201", "Pink"},
    {rgb(0xFF, 0x00, 0x00), "225", "Red"},
    {rgb(0xB1, 0x70, 0x4E), "214", "Brown"},
    {rgb(0x0B, 0x2F, 0x84), "207", "Blue"},
    {rgb(0xE4, 0xC3, 0x5D), "003", "Gold"},
    {rgb(0x48, 0x1A, 0x05), "205", "Dark Brown"},
    {rgb(0xAC, 0x9C, 0xC7), "209", "Pale Violet"},
    {rgb(0xFC, 0xF2, 0x94), "210", "Pale Yellow"},
    {rgb(0xF9, 0x99, 0xB7), "211", "Pale Pink"},
    {rgb(0xFA, 0xB3, 0x81), "212", "Peach"},
    {rgb(0xC9, 0xA4, 0x80), "213", "Beige"},
    {rgb(0x97, 0x05, 0x33), "215", "Wine Red"},
    {rgb(0xA0, 0xB8, 0xCC), "216", "Pale Sky"},
    {rgb(0x7F, 0xC2, 0x1C), "218", "Yellow Green"},
    {rgb(0xE5, 0xE5, 0xE5), "220", "Silver Gray"},
    {rgb(0x88, 0x9B, 0x9B), "221", "Gray"},
    {rgb(0x98, 0xD6, 0xBD), "227", "Pale Aqua"},
    {rgb(0xB2, 0xE1, 0xE3), "228", "Baby Blue"},
    {rgb(0x36, 0x8B, 0xA0), "229", "Powder Blue"},
    {rgb(0x4F, 0x83, 0xAB), "230", "Bright Blue"},
    {rgb(0x38, 0x6A, 0x91), "231", "Slate Blue"},
    {rgb(0x07, 0x16, 0x50), "232", "Navy Blue"},
    {rgb(0xF9, 0x99, 0xA2), "233", "Salmon Pink"},
    {rgb(0xF9, 0x67, 0x6B), "234", "Coral"},
    {rgb(0xE3, 0x31, 0x1F), "235", "Burnt Orange"},
    {rgb(0xE2, 0xA1, 0x88), "236", "Cinnamon"},
    {rgb(0xB5, 0x94, 0x74), "237", "Umber"},
    {rgb(0xE4, 0xCF, 0x99), "238", "Blond"},
    {rgb(0xFF, 0xCB, 0x00), "239", "Sunflower"},
    {rgb(0xE1, 0xAD, 0xD4), "240", "Orchid Pink"},
    {rgb(0xC3, 0x00, 0x7E), "241", "Peony Purple"},
    {rgb(0x80, 0x00, 0x4B), "242", "Burgundy"},
    {rgb(0x54, 0x05, 0x71), "243", "Royal Purple"},
    {rgb(0xB1, 0x05, 0x25), "244", "Cardinal Red"},
    {rgb(0xCA, 0xE0, 0xC0), "245", "Opal Green"},
    {rgb(0x89, 0x98, 0x56), "246", "Moss Green"},
    {rgb(0x5C, 0x94, 0x1A), "247", "Meadow Green"},
    {rgb(0x00, 0x31, 0x14), "248", "Dark Green"},
    {rgb(0x5D, 0xAE, 0x94), "249", "Aquamarine"},
    {rgb(0x4C, 0xBF, 0x8F), "250", "Emerald Green"},
    {rgb(0x00, 0x77, 0x72), "251", "Peacock Green"},
    {rgb(0x59, 0x5B, 0x61), "252", "Dark Gray"},
    {rgb(0xFF, 0xFF, 0xF2), "253", "Ivory White"},
    {rgb(0xB1, 0x58, 0x18), "254", "Hazel"},
    {rgb(0xCB, 0x8A, 0x07), "255", "Toast"},
    {rgb(0x98, 0x6C, 0x80), "256", "Salmon"},
    {rgb(0x98, 0x69, 0x2D), "257", "Cocoa Brown"},
    {rgb(0x4D, 0x34, 0x19), "258", "Sienna"},
    {rgb(0x4C, 0x33, 0x0B), "259", "Sepia"},
    {rgb(0x33, 0x20, 0x0A), "260", "Dark Sepia"},
    {rgb(0x52, 0x3A, 0x97), "261", "Violet Blue"},
    {rgb(0x0D, 0x21, 0x7E), "262", "Blue Ink"},
    {rgb(0x1E, 0x77, 0xAC), "263", "Sola Blue"},
    {rgb(0xB2, 0xDD, 0x53), "264", "Green Dust"},
    {rgb(0xF3, 0x36, 0x89), "265", "Crimson"},
    {rgb(0xDE, 0x64, 0x9E), "266", "Floral Pink"},
    {rgb(0x98, 0x41, 0x61), "267", "Wine"},
    {rgb(0x4C, 0x56, 0x12), "268", "Olive Drab"},
    {rgb(0x4C, 0x88, 0x1F), "269", "Meadow"},
    {rgb(0xE4, 0xDE, 0x79), "270", "Mustard"},
    {rgb(0xCB, 0x8A, 0x1A), "271", "Yellow Ocher"},
    {rgb(0xCB, 0xA2, 0x1C), "272", "Old Gold"},
    {rgb(0xFF, 0x98, 0x05), "273", "Honey Dew"},
    {rgb(0xFC, 0xB2, 0x57), "274", "Tangerine"},
    {rgb(0xFF, 0xE5, 0x05), "275", "Canary Yellow"},
    {rgb(0xF0, 0x33, 0x1F), "202", "Vermilion"},
    {rgb(0x1A, 0x84, 0x2D), "206", "Bright Green"},
    {rgb(0x38, 0x6C, 0xAE), "222", "Ocean Blue"},
    {rgb(0xE3, 0xC4, 0xB4), "223", "Beige Gray"},
    {rgb(0xE3, 0xAC, 0x81), "224", "Bamboo"},
}};

// Block k takes listed index k; index 0 keeps the block before's thread (none for the first).
std::vector<DesignThread> blockThreads(std::span<const std::uint8_t> bytes, std::size_t count)
{
    std::vector<DesignThread> threads;
    threads.reserve(count);
    ByteCursor in(bytes, kThreadsAt, bytes.size());
    for (std::size_t k = 0; k < count; ++k) {
        // A negative index is read by its size, so that every value names an entry.
        const std::int64_t listed = in.i32le();
        const std::size_t index =
            static_cast<std::size_t>(listed < 0 ? -listed : listed) % (kJefPalette.size() + 1);
        if (index == 0) {
            threads.push_back(k == 0 ? DesignThread{} : threads.back());
        } else {
            const JefThread& t = kJefPalette[index - 1];
            threads.push_back({t.colour, t.name, t.code, "Janome"});
        }
    }
    return threads;
}

} // namespace

template <typename Sink> bool readJefInto(std::span<const std::uint8_t> bytes, Sink& sink)
{
    if (bytes.size() < kThreadsAt)
        return sink.refuse("too short for a JEF header (" + std::to_string(kThreadsAt) + " bytes)");
    ByteCursor header(bytes, 0, bytes.size());
    const std::size_t stitchesAt = header.u32le();
    if (stitchesAt < kThreadsAt || stitchesAt > bytes.size())
        return sink.refuse("not a JEF file: its stitch offset " + std::to_string(stitchesAt) +
                           " lies outside the file");
    header.skip(kThreadCountAt - 4);
    // The thread indices lie between the header and the stitches; a count that does not fit
    // there is cut to what does.
    const std::size_t count = std::min<std::size_t>(header.u32le(), (stitchesAt - kThreadsAt) / 4);

    sink.reserve((bytes.size() - stitchesAt) / 2);
    const std::uint8_t* d = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t i = stitchesAt;
    while (size - i >= 2) {
        // The file's y grows upwards.
        if (!sink.addStitches(d, i, size, byteStitch) || size - i < 2)
            break;
        // An 0x80 escape.
        const std::uint8_t code = d[i + 1];
        if ((code != 0x01 && code != 0x02) || size - i < 4)
            break; // the end (0x10), a code no writer is known to use, or a cut record
        const int dx = signed8(d[i + 2]);
        const int dy = signed8(d[i + 3]);
        i += 4;
        bool added;
        if (code == 0x02)
            added = sink.add(StitchKind::Jump, dx, dy);
        else // a colour change; writers leave its move at zero, but a move there is kept
            added = sink.addThenJump(StitchKind::ColourChange, dx, dy);
        if (!added)
            break;
    }
    return sink.finish(blockThreads(bytes, std::min(count, sink.blocks())));
}

template bool readJefInto(std::span<const std::uint8_t>, CommandListSink&);
template bool readJefInto(std::span<const std::uint8_t>, StepSink&);

} // namespace loomscope::formats
