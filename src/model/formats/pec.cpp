// PEC: Brother's stitch block, a file of its own after an 8-byte signature and the part of a
// PES file that holds the stitches. A 512-byte header lists the palette index of each colour
// block; the stitch records follow at +0x210 until an 0xFF byte.

#include "formatreading.h"

#include <array>

namespace loomscope::formats {

namespace {

constexpr std::size_t kColourCountAt = 0x30;
constexpr std::size_t kPaletteAt = 0x31;
constexpr std::size_t kStitchLengthAt = 0x202; // counted from +0x200
constexpr std::size_t kStitchesAt = 0x210;
// The header and room for the first record.
constexpr std::size_t kMinimumBlock = 0x212;

struct PaletteEntry {
    TColor colour;
    const char* name;
};

// Brother's 64 thread colours; entry k is palette index k + 1 (index 0 names no thread).
constexpr std::array<PaletteEntry, 64> kPecPalette = {{
    {rgb(0x0E, 0x1F, 0x7C), "Prussian Blue"}, {rgb(0x0A, 0x55, 0xA3), "Blue"},
    {rgb(0x00, 0x87, 0x77), "Teal Green"},    {rgb(0x4B, 0x6B, 0xAF), "Cornflower Blue"},
    {rgb(0xED, 0x17, 0x1F), "Red"},           {rgb(0xD1, 0x5C, 0x00), "Reddish Brown"},
    {rgb(0x91, 0x36, 0x97), "Magenta"},       {rgb(0xE4, 0x9A, 0xCB), "Light Lilac"},
    {rgb(0x91, 0x5F, 0xAC), "Lilac"},         {rgb(0x9E, 0xD6, 0x7D), "Mint Green"},
    {rgb(0xE8, 0xA9, 0x00), "Deep Gold"},     {rgb(0xFE, 0xBA, 0x35), "Orange"},
    {rgb(0xFF, 0xFF, 0x00), "Yellow"},        {rgb(0x70, 0xBC, 0x1F), "Lime Green"},
    {rgb(0xBA, 0x98, 0x00), "Brass"},         {rgb(0xA8, 0xA8, 0xA8), "Silver"},
    {rgb(0x7D, 0x6F, 0x00), "Russet Brown"},  {rgb(0xFF, 0xFF, 0xB3), "Cream Brown"},
    {rgb(0x4F, 0x55, 0x56), "Pewter"},        {rgb(0x00, 0x00, 0x00), "Black"},
    {rgb(0x0B, 0x3D, 0x91), "Ultramarine"},   {rgb(0x77, 0x01, 0x76), "Royal Purple"},
    {rgb(0x29, 0x31, 0x33), "Dark Gray"},     {rgb(0x2A, 0x13, 0x01), "Dark Brown"},
    {rgb(0xF6, 0x4A, 0x8A), "Deep Rose"},     {rgb(0xB2, 0x76, 0x24), "Light Brown"},
    {rgb(0xFC, 0xBB, 0xC5), "Salmon Pink"},   {rgb(0xFE, 0x37, 0x0F), "Vermilion"},
    {rgb(0xF0, 0xF0, 0xF0), "White"},         {rgb(0x6A, 0x1C, 0x8A), "Violet"},
    {rgb(0xA8, 0xDD, 0xC4), "Seacrest"},      {rgb(0x25, 0x84, 0xBB), "Sky Blue"},
    {rgb(0xFE, 0xB3, 0x43), "Pumpkin"},       {rgb(0xFF, 0xF3, 0x6B), "Cream Yellow"},
    {rgb(0xD0, 0xA6, 0x60), "Khaki"},         {rgb(0xD1, 0x54, 0x00), "Clay Brown"},
    {rgb(0x66, 0xBA, 0x49), "Leaf Green"},    {rgb(0x13, 0x4A, 0x46), "Peacock Blue"},
    {rgb(0x87, 0x87, 0x87), "Gray"},          {rgb(0xD8, 0xCC, 0xC6), "Warm Gray"},
    {rgb(0x43, 0x56, 0x07), "Dark Olive"},    {rgb(0xFD, 0xD9, 0xDE), "Flesh Pink"},
    {rgb(0xF9, 0x93, 0xBC), "Pink"},          {rgb(0x00, 0x38, 0x22), "Deep Green"},
    {rgb(0xB2, 0xAF, 0xD4), "Lavender"},      {rgb(0x68, 0x6A, 0xB0), "Wisteria Violet"},
    {rgb(0xEF, 0xE3, 0xB9), "Beige"},         {rgb(0xF7, 0x38, 0x66), "Carmine"},
    {rgb(0xB5, 0x4B, 0x64), "Amber Red"},     {rgb(0x13, 0x2B, 0x1A), "Olive Green"},
    {rgb(0xC7, 0x01, 0x56), "Dark Fuchsia"},  {rgb(0xFE, 0x9E, 0x32), "Tangerine"},
    {rgb(0xA8, 0xDE, 0xEB), "Light Blue"},    {rgb(0x00, 0x67, 0x3E), "Emerald Green"},
    {rgb(0x4E, 0x29, 0x90), "Purple"},        {rgb(0x2F, 0x7E, 0x20), "Moss Green"},
    {rgb(0xFF, 0xCC, 0xCC), "Flesh Pink"},    {rgb(0xFF, 0xD9, 0x11), "Harvest Gold"},
    {rgb(0x09, 0x5B, 0xA6), "Electric Blue"}, {rgb(0xF0, 0xF9, 0x70), "Lemon Yellow"},
    {rgb(0xE3, 0xF3, 0x5B), "Fresh Green"},   {rgb(0xFF, 0x99, 0x00), "Orange"},
    {rgb(0xFF, 0xF0, 0x8D), "Cream Yellow"},  {rgb(0xFF, 0xC8, 0xC8), "Applique"},
}};

// One coordinate of a record: 7 bits in one byte, or 12 bits in two with the jump and trim
// flags in the high nibble.
struct Coordinate {
    int value = 0;
    std::uint8_t flags = 0;
    std::size_t size = 0; // 0: it does not fit before the end
};

Coordinate coordinateAt(const std::uint8_t* p, std::size_t left)
{
    if (left == 0)
        return {};
    const std::uint8_t c = p[0];
    if (!(c & 0x80))
        return {c < 0x40 ? c : c - 0x80, 0, 1};
    if (left < 2)
        return {};
    const int v = (c & 0x0F) << 8 | p[1];
    return {v < 0x800 ? v : v - 0x1000, static_cast<std::uint8_t>(c & 0x30), 2};
}

// Most records are stitches of two 7-bit coordinates: their length (2), or 0 for any other.
// The file's y grows downwards.
std::size_t plainStitch(const std::uint8_t* p, std::size_t left, std::int32_t& dx, std::int32_t& dy)
{
    if (left < 2 || ((p[0] | p[1]) & 0x80))
        return 0;
    dx = static_cast<std::int8_t>(p[0] << 1) >> 1;
    dy = -(static_cast<std::int8_t>(p[1] << 1) >> 1);
    return 2;
}

constexpr std::uint8_t kJumpFlag = 0x10;
constexpr std::uint8_t kTrimFlag = 0x20;

} // namespace

DesignThread pecPaletteThread(unsigned index)
{
    const unsigned k = index % (kPecPalette.size() + 1);
    if (k == 0)
        return {};
    return {kPecPalette[k - 1].colour, kPecPalette[k - 1].name, std::to_string(k), "Brother"};
}

void keepRepeatedThreads(std::vector<DesignThread>& threads)
{
    for (std::size_t k = 1; k < threads.size(); ++k)
        if (threads[k].colour && threads[k].colour == threads[k - 1].colour)
            threads[k] = threads[k - 1];
}

template <typename Sink>
std::optional<std::vector<std::uint8_t>> readPecBlock(std::span<const std::uint8_t> bytes,
                                                      std::size_t at, Sink& sink)
{
    if (at > bytes.size() || bytes.size() - at < kMinimumBlock) {
        sink.refuse("the PEC block at byte " + std::to_string(at) + " does not fit in the file");
        return std::nullopt;
    }
    const std::uint8_t* block = bytes.data() + at;
    // 0xFF is what one writer puts for a design without colours.
    const std::size_t colours = block[kColourCountAt] == 0xFF ? 0 : block[kColourCountAt] + 1u;
    std::vector<std::uint8_t> palette(block + kPaletteAt, block + kPaletteAt + colours);

    // The length is the writer's; the records end at the file's end whatever it says.
    const std::size_t length =
        block[kStitchLengthAt] | block[kStitchLengthAt + 1] << 8 | block[kStitchLengthAt + 2] << 16;
    const std::size_t end = std::min(bytes.size() - at, 0x200 + length);
    std::size_t i = kStitchesAt;
    while (i < end) {
        if (!sink.addStitches(block, i, end, plainStitch) || i >= end)
            break;
        const std::uint8_t b = block[i];
        if (b == 0xFF)
            break;
        if (b == 0xFE && i + 1 < end && block[i + 1] == 0xB0) {
            // The third byte alternates between writers' values and means nothing.
            if (end - i < 3 || !sink.add(StitchKind::ColourChange, 0, 0))
                break;
            i += 3;
            continue;
        }
        const Coordinate x = coordinateAt(block + i, end - i);
        if (x.size == 0)
            break;
        const Coordinate y = coordinateAt(block + i + x.size, end - i - x.size);
        if (y.size == 0)
            break;
        i += x.size + y.size;
        // The file's y grows downwards. A trim cuts the thread where the needle is and
        // then moves.
        const std::uint8_t flags = x.flags | y.flags;
        bool added;
        if (flags & kJumpFlag)
            added = sink.add(StitchKind::Jump, x.value, -y.value);
        else if (flags & kTrimFlag)
            added =
                sink.add(StitchKind::Trim, 0, 0) && sink.add(StitchKind::Jump, x.value, -y.value);
        else
            added = sink.add(StitchKind::Stitch, x.value, -y.value);
        if (!added)
            break;
    }
    return palette;
}

template <typename Sink> bool readPecInto(std::span<const std::uint8_t> bytes, Sink& sink)
{
    static constexpr std::uint8_t kSignature[] = {'#', 'P', 'E', 'C'};
    constexpr std::size_t kBlockAt = 8;
    if (bytes.size() < kBlockAt ||
        !std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin()))
        return sink.refuse("not a PEC file: it does not start with \"#PEC\"");
    sink.reserve(bytes.size() / 2);
    const auto palette = readPecBlock(bytes, kBlockAt, sink);
    if (!palette)
        return false;
    std::vector<DesignThread> threads;
    for (const std::uint8_t index : *palette)
        threads.push_back(pecPaletteThread(index));
    keepRepeatedThreads(threads);
    return sink.finish(std::move(threads));
}

template std::optional<std::vector<std::uint8_t>> readPecBlock(std::span<const std::uint8_t>,
                                                               std::size_t, CommandListSink&);
template std::optional<std::vector<std::uint8_t>> readPecBlock(std::span<const std::uint8_t>,
                                                               std::size_t, StepSink&);
template bool readPecInto(std::span<const std::uint8_t>, CommandListSink&);
template bool readPecInto(std::span<const std::uint8_t>, StepSink&);

} // namespace loomscope::formats
