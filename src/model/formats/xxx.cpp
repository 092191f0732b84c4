// XXX: Singer's (Compucon's) design file. A 256-byte little-endian header, then two-byte
// stitches with 0x7D/0x7E long moves and 0x7F control records; the colour table follows the
// end record.

#include "formatreading.h"

namespace loomscope::formats {

namespace {

constexpr std::size_t kHeaderSize = 0x100;
constexpr std::size_t kColourCountAt = 0x27;
constexpr std::size_t kEndRecordOffsetAt = 0xFC;

bool isColourChange(std::uint8_t code)
{
    // 0x08, or 0x0A to 0x17 for a change to a numbered needle.
    return code == 0x08 || (code >= 0x0A && code <= 0x17);
}

// A stitch of two signed bytes, x then y growing upwards: its length (2), or 0 where fewer
// bytes are left or the first is 0x7D to 0x7F, which start the other records (0x80 is a
// stitch here).
std::size_t plainStitch(const std::uint8_t* p, std::size_t left, std::int32_t& dx, std::int32_t& dy)
{
    if (left < 2 || (p[0] >= 0x7D && p[0] <= 0x7F))
        return 0;
    dx = signed8(p[0]);
    dy = signed8(p[1]);
    return 2;
}

} // namespace

template <typename Sink> bool readXxxInto(std::span<const std::uint8_t> bytes, Sink& sink)
{
    if (bytes.size() < kHeaderSize)
        return sink.refuse("too short for an XXX header (256 bytes)");
    const std::uint8_t* d = bytes.data();
    const std::size_t size = bytes.size();
    sink.reserve((size - kHeaderSize) / 2);
    std::size_t i = kHeaderSize;
    std::optional<std::size_t> endRecord;
    while (size - i >= 2) {
        if (!sink.addStitches(d, i, size, plainStitch) || size - i < 2)
            break;
        const std::uint8_t b = d[i];
        bool added = true;
        if (b == 0x7D || b == 0x7E) {
            // A long move: 16-bit x and y. The file's y grows upwards.
            if (size - i < 5)
                break;
            const auto dx = static_cast<std::int16_t>(d[i + 1] | d[i + 2] << 8);
            const auto dy = static_cast<std::int16_t>(d[i + 3] | d[i + 4] << 8);
            added = sink.add(StitchKind::Jump, dx, dy);
            i += 5;
        } else { // 0x7F: a control record
            if (size - i < 4)
                break;
            const std::uint8_t code = d[i + 1];
            const int dx = signed8(d[i + 2]);
            const int dy = signed8(d[i + 3]);
            if (code == 0x7F) {
                endRecord = i;
                break;
            }
            i += 4;
            // Writers leave the move of a trim or a colour change at zero, but one stores the
            // move to the next stitch there.
            if (code == 0x01)
                added = sink.add(StitchKind::Jump, dx, dy);
            else if (code == 0x03)
                added = sink.addThenJump(StitchKind::Trim, dx, dy);
            else if (isColourChange(code))
                added = sink.addThenJump(StitchKind::ColourChange, dx, dy);
            else if (code != 0x18) // 0x18 comes just before the end and does nothing
                break;             // a code no writer is known to use
        }
        if (!added)
            break;
    }

    // The colour table starts 6 bytes after the end record (the record and two zero bytes).
    // The header says where that record is; where it does not, the record found is taken.
    ByteCursor header(bytes, kColourCountAt, size);
    const std::size_t listed = header.u16le();
    header.skip(kEndRecordOffsetAt - kColourCountAt - 2);
    const std::size_t endAt = header.u32le();
    if (endAt >= kHeaderSize && endAt <= size - 4 && d[endAt] == 0x7F && d[endAt + 1] == 0x7F)
        endRecord = endAt;
    std::vector<DesignThread> threads;
    if (endRecord && *endRecord + 6 <= size) {
        const std::size_t tableAt = *endRecord + 6;
        const std::size_t count = std::min({listed, (size - tableAt) / 4, sink.blocks()});
        for (std::size_t k = 0; k < count; ++k) {
            // 00 RR GG BB
            const std::uint8_t* entry = d + tableAt + 4 * k;
            threads.push_back({rgb(entry[1], entry[2], entry[3]), {}, {}, {}});
        }
    }
    return sink.finish(std::move(threads));
}

template bool readXxxInto(std::span<const std::uint8_t>, CommandListSink&);
template bool readXxxInto(std::span<const std::uint8_t>, StepSink&);

} // namespace loomscope::formats
