// EXP: Melco's stitch file. No header and no colours: two-byte stitches from the first byte
// to the last, with 0x80 escapes for colour changes, moves and trims.

#include "formatreading.h"

namespace loomscope::formats {

template <typename Sink> bool readExpInto(std::span<const std::uint8_t> bytes, Sink& sink)
{
    if (bytes.size() < 2)
        return sink.refuse("too short for an EXP file: it holds no record");
    sink.reserve(bytes.size() / 2);
    const std::uint8_t* d = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    // A last odd byte is not a record.
    while (size - i >= 2) {
        // The file's y grows upwards.
        if (!sink.addStitches(d, i, size, byteStitch) || size - i < 2)
            break;
        // An 0x80 escape.
        if (size - i < 4)
            break;
        const std::uint8_t code = d[i + 1];
        const int dx = signed8(d[i + 2]);
        const int dy = signed8(d[i + 3]);
        i += 4;
        bool added;
        switch (code) {
        case 0x01: // a colour change, which is also how a machine is told to stop
            added = sink.addThenJump(StitchKind::ColourChange, dx, dy);
            break;
        case 0x02: // sewn: the makers' software counts these as stitches
            added = sink.add(StitchKind::Stitch, dx, dy);
            break;
        case 0x04:
            added = sink.add(StitchKind::Jump, dx, dy);
            break;
        case 0x80: // a trim; its bytes are not a move (writers put 07 00 there)
            added = sink.add(StitchKind::Trim, 0, 0);
            break;
        default: // a code no writer is known to use: what follows cannot be trusted
            added = false;
            break;
        }
        if (!added)
            break;
    }
    return sink.finish({}, false);
}

template bool readExpInto(std::span<const std::uint8_t>, CommandListSink&);
template bool readExpInto(std::span<const std::uint8_t>, StepSink&);

} // namespace loomscope::formats
