// VP3: Pfaff's and Husqvarna Viking's design file. Big-endian nested blocks, each a 3-byte tag
// and a 32-bit length: the file, the design, and one section per colour that gives its thread,
// where it starts and its stitches. Positions in the headers are in 1/1000 mm with y upwards;
// the stitches are 0.1 mm moves with y downwards.

#include "formatreading.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace loomscope::formats {

namespace {

constexpr std::uint8_t kMagic[] = {'%', 'v', 's', 'm', '%', 0};
constexpr std::uint8_t kFileTag[] = {0, 2, 0};
constexpr std::uint8_t kDesignTag[] = {0, 3, 0};
constexpr std::uint8_t kSectionTag[] = {0, 5, 0};
constexpr std::uint8_t kStitchTag[] = {0, 1, 0};
constexpr std::uint8_t kStitchStart[] = {0x0A, 0xF6, 0x00};
constexpr std::uint8_t kDesignMark[] = {'x', 'x', 'P', 'P', 1, 0};

// A string: a 16-bit length and as many bytes (UTF-16 in the headers, 8-bit in the threads).
std::span<const std::uint8_t> string16(ByteCursor& in)
{
    return in.take(in.u16be());
}

// A tag and the length after it: the end of the block, never past the end of `in`.
std::size_t blockEnd(ByteCursor& in, std::span<const std::uint8_t> tag)
{
    if (!in.expect(tag))
        return 0;
    const std::size_t length = in.u32be();
    return in.position() + std::min(length, in.remaining());
}

// 1/1000 mm to the nearest 0.1 mm, halves away from zero. Commands are in 0.1 mm, so where
// two sections start between different tenths the size may come out 0.1 mm off.
std::int64_t toTenthMm(std::int64_t thousandths)
{
    return thousandths >= 0 ? (thousandths + 50) / 100 : -((-thousandths + 50) / 100);
}

// A stitch of two signed bytes (see byteStitch), whose y grows downwards.
std::size_t plainStitch(const std::uint8_t* p, std::size_t left, std::int32_t& dx, std::int32_t& dy)
{
    const std::size_t length = byteStitch(p, left, dx, dy);
    dy = -dy;
    return length;
}

// The stitch bytes of one section, from where the needle was put at its start.
template <typename Sink>
bool readStitches(const std::uint8_t* d, std::size_t i, std::size_t end, Sink& sink)
{
    while (end - i >= 2) {
        if (!sink.addStitches(d, i, end, plainStitch))
            return false;
        if (end - i < 2)
            break;
        // An 0x80 escape.
        const std::uint8_t code = d[i + 1];
        if (code == 0x01) {
            // A long stitch, 16-bit x and y; the 80 02 after it is read as the no-op it is.
            if (end - i < 6)
                break;
            const auto dx = static_cast<std::int16_t>(d[i + 2] << 8 | d[i + 3]);
            const auto dy = static_cast<std::int16_t>(d[i + 4] << 8 | d[i + 5]);
            if (!sink.add(StitchKind::Stitch, dx, -dy))
                return false;
            i += 6;
            continue;
        }
        if (code == 0x03 && !sink.add(StitchKind::Trim, 0, 0))
            return false;
        i += 2; // 80 02 and codes no writer is known to use do nothing
    }
    return true;
}

} // namespace

template <typename Sink> bool readVp3Into(std::span<const std::uint8_t> bytes, Sink& sink)
{
    ByteCursor in(bytes, 0, bytes.size());
    if (!in.expect(kMagic))
        return sink.refuse("not a VP3 file: it does not start with \"%vsm%\"");
    string16(in); // the program that wrote it
    const std::size_t fileEnd = blockEnd(in, kFileTag);
    if (!in.ok())
        return sink.refuse("the VP3 file block is missing");
    in = ByteCursor(bytes, in.position(), fileEnd);
    string16(in); // settings
    in.skip(16);  // extents, which the stitches give
    in.skip(4);   // a stitch count, zero in some files
    in.skip(5);   // section and design counts with bytes between
    const std::size_t designEnd = blockEnd(in, kDesignTag);
    if (!in.ok())
        return sink.refuse("the VP3 design block is missing");
    in = ByteCursor(bytes, in.position(), designEnd);
    // Section starts are given from the design's centre.
    const std::int64_t centreX = in.i32be();
    const std::int64_t centreY = in.i32be();
    in.skip(3 + 16 + 8); // the half sizes and the size, which the stitches give
    string16(in);        // notes
    in.skip(18);         // scale and rotation
    if (!in.expect(kDesignMark))
        return sink.refuse("the VP3 design block has a layout not known here");
    string16(in); // the program again
    const std::size_t sections = in.u16be();
    if (!in.ok())
        return sink.refuse("the VP3 design block is cut short");

    sink.reserve(bytes.size() / 2);
    // The size is measured at the file's own precision: each section's start lies off the
    // 0.1 mm grid of the commands by its own 1/1000 mm.
    sink.measureFinely(0, 0);
    std::vector<DesignThread> threads;
    // Every section takes more than 30 bytes, so the count cannot outrun the file.
    for (std::size_t k = 0; k < sections && in.remaining() > 0; ++k) {
        const std::size_t sectionEnd = blockEnd(in, kSectionTag);
        ByteCursor section(bytes, in.position(), sectionEnd);
        const std::int64_t startX = section.i32be();
        const std::int64_t startY = section.i32be();
        const std::size_t colours = section.u8();
        section.skip(1); // how the colours of a thread of many pass into each other
        DesignThread thread;
        for (std::size_t c = 0; c < colours; ++c) {
            const auto colour = section.take(6); // RGB, then a byte and a 16-bit length
            if (c == 0 && section.ok())
                thread.colour = rgb(colour[0], colour[1], colour[2]);
        }
        section.skip(2); // thread type and weight
        thread.code = latin1ToUtf8(string16(section));
        thread.name = latin1ToUtf8(string16(section));
        thread.brand = latin1ToUtf8(string16(section));
        section.skip(8); // the move from the section's first to its last stitch
        const std::size_t stitchEnd = blockEnd(section, kStitchTag);
        section.expect(kStitchStart);
        if (!in.ok() || !section.ok())
            break; // a cut section: the sections before it are the design
        if (k > 0 && !sink.add(StitchKind::ColourChange, 0, 0))
            break;
        const std::int64_t x = toTenthMm(centreX + startX);
        const std::int64_t y = toTenthMm(centreY + startY);
        sink.measureFinely(centreX + startX - 100 * x, centreY + startY - 100 * y);
        if (!sink.addAt(StitchKind::Jump, x, y))
            break;
        threads.push_back(std::move(thread));
        if (!readStitches(bytes.data(), section.position(), std::max(stitchEnd, section.position()),
                          sink))
            break;
        in.skip(sectionEnd - in.position());
    }
    return sink.finish(std::move(threads));
}

template bool readVp3Into(std::span<const std::uint8_t>, CommandListSink&);
template bool readVp3Into(std::span<const std::uint8_t>, StepSink&);

} // namespace loomscope::formats
