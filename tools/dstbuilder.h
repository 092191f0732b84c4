#pragma once

// Builds DST files in memory for tests, benchmarks and the sample generator. The program
// itself never writes DST; this lives with the developer tools.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace loomscope::tools {

enum class DstKind : std::uint8_t {
    Stitch = 0x03,
    Jump = 0x83,
    ColourChange = 0xC3,
    SequinToggle = 0x43,
    End = 0xF3,
};

// The three bytes of one record moving (dx, dy) (|dx|, |dy| <= 121, y upwards) with the
// control bits of `kind` in the third byte.
inline std::vector<std::uint8_t> encodeDstRecord(int dx, int dy, DstKind kind)
{
    std::uint8_t b[3] = {0, 0, static_cast<std::uint8_t>(kind)};
    // Balanced ternary digits, largest weight first; each weight has a plus and a minus bit.
    struct Bit {
        int weight;
        int byte;
        int plusX, minusX, plusY, minusY;
    };
    static const Bit bits[] = {
        {81, 2, 2, 3, 5, 4}, {27, 1, 2, 3, 5, 4}, {9, 0, 2, 3, 5, 4},
        {3, 1, 0, 1, 7, 6},  {1, 0, 0, 1, 7, 6},
    };
    int rx = dx;
    int ry = dy;
    for (const Bit& bit : bits) {
        const int half = (bit.weight - 1) / 2; // what the smaller weights can still reach
        if (rx > half) {
            b[bit.byte] |= static_cast<std::uint8_t>(1 << bit.plusX);
            rx -= bit.weight;
        } else if (rx < -half) {
            b[bit.byte] |= static_cast<std::uint8_t>(1 << bit.minusX);
            rx += bit.weight;
        }
        if (ry > half) {
            b[bit.byte] |= static_cast<std::uint8_t>(1 << bit.plusY);
            ry -= bit.weight;
        } else if (ry < -half) {
            b[bit.byte] |= static_cast<std::uint8_t>(1 << bit.minusY);
            ry += bit.weight;
        }
    }
    if (rx != 0 || ry != 0) {
        std::fprintf(stderr, "encodeDstRecord: move (%d, %d) too long\n", dx, dy);
        std::abort();
    }
    return {b[0], b[1], b[2]};
}

class DstBuilder {
public:
    explicit DstBuilder(std::string label = "LOOMSCOPE") : label_(std::move(label)) {}

    DstBuilder& raw(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2)
    {
        records_.insert(records_.end(), {b0, b1, b2});
        return *this;
    }
    DstBuilder& record(int dx, int dy, DstKind kind)
    {
        const auto r = encodeDstRecord(dx, dy, kind);
        records_.insert(records_.end(), r.begin(), r.end());
        x_ += dx;
        y_ += dy;
        return *this;
    }
    DstBuilder& stitch(int dx, int dy) { return record(dx, dy, DstKind::Stitch); }
    // A move of any length, split into jump records of at most 121 units.
    DstBuilder& jumpBy(int dx, int dy)
    {
        do {
            const int sx = dx > 121 ? 121 : dx < -121 ? -121 : dx;
            const int sy = dy > 121 ? 121 : dy < -121 ? -121 : dy;
            record(sx, sy, DstKind::Jump);
            dx -= sx;
            dy -= sy;
        } while (dx != 0 || dy != 0);
        return *this;
    }
    DstBuilder& jumpTo(int x, int y) { return jumpBy(x - x_, y - y_); }
    // Stitches in a straight line to (x, y), none longer than `maxLength`.
    DstBuilder& stitchTo(int x, int y, int maxLength = 40)
    {
        const int dx = x - x_;
        const int dy = y - y_;
        const int longest = std::abs(dx) > std::abs(dy) ? std::abs(dx) : std::abs(dy);
        const int steps = longest == 0 ? 1 : (longest + maxLength - 1) / maxLength;
        const int x0 = x_;
        const int y0 = y_;
        for (int i = 1; i <= steps; ++i) {
            const int nx = x0 + dx * i / steps;
            const int ny = y0 + dy * i / steps;
            stitch(nx - x_, ny - y_);
        }
        return *this;
    }
    DstBuilder& colourChange() { return record(0, 0, DstKind::ColourChange); }
    DstBuilder& sequinToggle() { return record(0, 0, DstKind::SequinToggle); }

    int x() const { return x_; }
    int y() const { return y_; }
    std::size_t recordCount() const { return records_.size() / 3; }

    // A file as machines write it: header, records, the end record and an end-of-file byte.
    // The reader leaves out the last two records of such a file (the end record and the one
    // before it).
    std::vector<std::uint8_t> machineFile() const { return file({0x00, 0x00, 0xF3, 0x1A}); }
    // A file whose every record is read: seven trailing bytes that the reader never reads.
    std::vector<std::uint8_t> fullyReadFile() const
    {
        return file({0x00, 0x00, 0xF3, 0x00, 0x00, 0xF3, 0x1A});
    }

private:
    std::vector<std::uint8_t> file(std::initializer_list<std::uint8_t> trailer) const
    {
        std::vector<std::uint8_t> out(512, ' ');
        char header[160];
        const int n = std::snprintf(header, sizeof header,
                                    "LA:%-16.16s\rST:%7zu\rCO:%3d\r+X:%5d\r-X:%5d\r+Y:%5d\r-Y:%5d\r"
                                    "AX:+%5d\rAY:+%5d\rMX:+%5d\rMY:+%5d\rPD:******\r\x1A",
                                    label_.c_str(), recordCount(), 0, 0, 0, 0, 0, 0, 0, 0, 0);
        std::copy(header, header + n, out.begin());
        out.insert(out.end(), records_.begin(), records_.end());
        out.insert(out.end(), trailer);
        return out;
    }

    std::string label_;
    std::vector<std::uint8_t> records_;
    int x_ = 0;
    int y_ = 0;
};

} // namespace loomscope::tools
