#include "embroideryformats.h"

#include "dstrecords.h"
#include "numberformat.h"
#include "tembs.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace loomscope {

CommandRead readDesign(DesignFormat format, std::span<const std::uint8_t> bytes)
{
    switch (format) {
    case DesignFormat::Pes:
        return readPes(bytes);
    case DesignFormat::Pec:
        return readPec(bytes);
    case DesignFormat::Jef:
        return readJef(bytes);
    case DesignFormat::Exp:
        return readExp(bytes);
    case DesignFormat::Vp3:
        return readVp3(bytes);
    case DesignFormat::Xxx:
        return readXxx(bytes);
    case DesignFormat::Dst:
        break;
    }
    return {std::nullopt, "DST files are read as records, not as commands"};
}

namespace {

constexpr std::array<const char*, 7> kFormatNames = {"dst", "pes", "pec", "jef",
                                                     "exp", "vp3", "xxx"};

} // namespace

const char* formatName(DesignFormat format)
{
    return kFormatNames[static_cast<std::size_t>(format)];
}

std::optional<DesignFormat> formatOfFileName(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.size() - dot != 4)
        return std::nullopt;
    std::string extension(name.substr(dot + 1));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    for (std::size_t k = 0; k < kFormatNames.size(); ++k)
        if (extension == kFormatNames[k])
            return static_cast<DesignFormat>(k);
    return std::nullopt;
}

DesignFacts commandFacts(const CommandDesign& design)
{
    DesignFacts facts;
    facts.blockStitches.push_back(0);
    if (design.commands.empty()) {
        facts.colours = 1;
        return facts;
    }
    std::int32_t minX = design.commands.front().x;
    std::int32_t maxX = minX;
    std::int32_t minY = design.commands.front().y;
    std::int32_t maxY = minY;
    for (const DesignCommand& c : design.commands) {
        minX = std::min(minX, c.x);
        maxX = std::max(maxX, c.x);
        minY = std::min(minY, c.y);
        maxY = std::max(maxY, c.y);
        if (c.kind == StitchKind::Stitch) {
            ++facts.stitches;
            ++facts.blockStitches.back();
        } else if (c.kind == StitchKind::ColourChange) {
            facts.blockStitches.push_back(0);
        }
    }
    facts.colours = static_cast<int>(facts.blockStitches.size());
    if (const auto& fine = design.fineExtent) {
        facts.widthMm = roundTo1AwayFromZero(double((*fine)[2] - (*fine)[0]) / 1000);
        facts.heightMm = roundTo1AwayFromZero(double((*fine)[3] - (*fine)[1]) / 1000);
        return facts;
    }
    facts.widthMm = roundTo1AwayFromZero((std::int64_t{maxX} - minX) / 10.0);
    facts.heightMm = roundTo1AwayFromZero((std::int64_t{maxY} - minY) / 10.0);
    return facts;
}

namespace {

// The longest move of one DST record on either axis.
constexpr int kLongestDstMove = 121;

// The record bits of one axis for every move -121..121: each balanced ternary digit of the
// move sets the plus or the minus bit of its weight.
using AxisBits = std::array<std::array<std::uint8_t, 3>, 2 * kLongestDstMove + 1>;

struct WeightBits {
    int byte;
    int plus;
    int minus;
};

constexpr AxisBits makeAxisBits(const std::array<WeightBits, 5>& weights)
{
    AxisBits table{};
    for (int v = -kLongestDstMove; v <= kLongestDstMove; ++v) {
        auto& bytes = table[static_cast<std::size_t>(v + kLongestDstMove)];
        int rest = v;
        for (const WeightBits& w : weights) { // weights 1, 3, 9, 27, 81
            int digit = ((rest % 3) + 3) % 3;
            if (digit == 2)
                digit = -1;
            rest = (rest - digit) / 3;
            if (digit != 0)
                bytes[static_cast<std::size_t>(w.byte)] |=
                    static_cast<std::uint8_t>(1 << (digit > 0 ? w.plus : w.minus));
        }
    }
    return table;
}

constexpr AxisBits kXBits =
    makeAxisBits({WeightBits{0, 0, 1}, {1, 0, 1}, {0, 2, 3}, {1, 2, 3}, {2, 2, 3}});
constexpr AxisBits kYBits =
    makeAxisBits({WeightBits{0, 7, 6}, {1, 7, 6}, {0, 5, 4}, {1, 5, 4}, {2, 5, 4}});

constexpr std::uint8_t kStitchControl = 0x03;
constexpr std::uint8_t kJumpControl = 0x83;
constexpr std::uint8_t kColourChangeControl = 0xC3;

// The three bytes of a record of dstSteps, whose control byte already holds the third byte's
// steps of the move.
void appendRecord(std::vector<std::uint8_t>& out, const DstStep& step)
{
    const auto& x = kXBits[static_cast<std::size_t>(step.dx + kLongestDstMove)];
    const auto& y = kYBits[static_cast<std::size_t>(step.dy + kLongestDstMove)];
    out.push_back(x[0] | y[0]);
    out.push_back(x[1] | y[1]);
    out.push_back(step.control);
}

// A move too long for one record is cut into equal pieces.
std::size_t recordsForMove(std::int64_t dx, std::int64_t dy)
{
    const std::int64_t longest = std::max(std::abs(dx), std::abs(dy));
    if (longest <= kLongestDstMove)
        return 1;
    return static_cast<std::size_t>((longest + kLongestDstMove - 1) / kLongestDstMove);
}

// The record of a move of at most kLongestDstMove on either axis. Its control byte also holds
// the move's largest steps, as in the file.
DstStep step(std::int64_t dx, std::int64_t dy, std::uint8_t control)
{
    const auto x = static_cast<std::size_t>(dx + kLongestDstMove);
    const auto y = static_cast<std::size_t>(dy + kLongestDstMove);
    return {static_cast<std::int16_t>(dx), static_cast<std::int16_t>(dy),
            static_cast<std::uint8_t>(control | kXBits[x][2] | kYBits[y][2])};
}

// A move of several records: jumps, then the last one with the command's own control bits.
// Out of line, as it is rare: the loop of single records stays small.
[[gnu::noinline]] void appendPieces(std::vector<DstStep>& out, std::int64_t dx, std::int64_t dy,
                                    std::size_t pieces, std::uint8_t control)
{
    const auto n = static_cast<std::int64_t>(pieces);
    std::int64_t doneX = 0;
    std::int64_t doneY = 0;
    for (std::int64_t k = 1; k <= n; ++k) {
        const std::int64_t toX = dx * k / n;
        const std::int64_t toY = dy * k / n;
        out.push_back(step(toX - doneX, toY - doneY, k < n ? kJumpControl : control));
        doneX = toX;
        doneY = toY;
    }
}

// The records of a move.
void appendMove(std::vector<DstStep>& out, std::int64_t dx, std::int64_t dy, std::size_t pieces,
                std::uint8_t control)
{
    if (pieces == 1)
        out.push_back(step(dx, dy, control));
    else
        appendPieces(out, dx, dy, pieces, control);
}

// DST has no trim of its own: a trim is a jump of the same move, and so is the move to an End.
std::uint8_t controlOf(StitchKind kind)
{
    switch (kind) {
    case StitchKind::Stitch:
        return kStitchControl;
    case StitchKind::ColourChange:
        return kColourChangeControl;
    default:
        return kJumpControl;
    }
}

// The header fields hold five digits.
int headerField(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, -99999, 99999));
}

} // namespace

std::vector<DstStep> dstSteps(const CommandDesign& design)
{
    std::vector<DstStep> out;
    // Room for a long move in every few commands, as real designs have, without growing.
    out.reserve(design.commands.size() + design.commands.size() / 8 + 2);
    std::int64_t x = design.commands.empty() ? 0 : design.commands.front().x;
    std::int64_t y = design.commands.empty() ? 0 : design.commands.front().y;
    std::size_t records = 0;
    for (const DesignCommand& c : design.commands) {
        const std::int64_t dx = c.x - x;
        const std::int64_t dy = c.y - y;
        // An End where the needle is writes nothing; one elsewhere is jumped to.
        if (c.kind == StitchKind::End && dx == 0 && dy == 0)
            break;
        // A colour change that moves would carry the move's bits in its control byte, and
        // read as no colour change: the needle is jumped there first.
        const bool changeAfterMove = c.kind == StitchKind::ColourChange && (dx != 0 || dy != 0);
        const std::size_t pieces = recordsForMove(dx, dy) + (changeAfterMove ? 1 : 0);
        if (records + pieces > kMaxDstRecords)
            break;
        records += pieces;
        if (changeAfterMove) {
            appendMove(out, dx, dy, pieces - 1, kJumpControl);
            out.push_back(step(0, 0, kColourChangeControl));
        } else {
            appendMove(out, dx, dy, pieces, controlOf(c.kind));
        }
        x = c.x;
        y = c.y;
        if (c.kind == StitchKind::End)
            break;
    }
    if (out.size() == 1)
        out.push_back(step(0, 0, kJumpControl));
    return out;
}

std::vector<std::uint8_t> toDstBytes(const CommandDesign& design, std::string_view label)
{
    const std::vector<DstStep> steps = dstSteps(design);
    std::vector<std::uint8_t> out(kDstHeaderSize, ' ');
    out.reserve(kDstHeaderSize + 3 * steps.size() + 7);
    // The header's extents are from the start, which is where the records begin.
    std::int64_t x = 0, y = 0, minX = 0, maxX = 0, minY = 0, maxY = 0;
    int colourChanges = 0;
    for (const DstStep& s : steps) {
        appendRecord(out, s);
        x += s.dx;
        y += s.dy;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        if (s.control == kColourChangeControl)
            ++colourChanges;
    }
    // The end record, then an end record and an end-of-file byte more: Tembs leaves out the
    // last seven bytes of a file, so that every record before them is read.
    out.insert(out.end(), {0x00, 0x00, 0xF3, 0x00, 0x00, 0xF3, 0x1A});

    std::string name;
    // A DST label is ASCII: other bytes are left out rather than shown garbled.
    for (const char ch : label)
        if (ch >= 0x20 && ch < 0x7F && name.size() < 16)
            name += ch;
    char header[200];
    const int n = std::snprintf(
        header, sizeof header,
        "LA:%-16.16s\rST:%7d\rCO:%3d\r+X:%5d\r-X:%5d\r+Y:%5d\r-Y:%5d\rAX:%c%5d\rAY:%c%5d\r"
        "MX:+%5d\rMY:+%5d\rPD:******\r\x1A",
        name.c_str(), static_cast<int>(std::min<std::size_t>(steps.size(), 9'999'999)),
        std::min(colourChanges, 999), headerField(maxX), headerField(-minX), headerField(maxY),
        headerField(-minY), x < 0 ? '-' : '+', headerField(std::abs(x)), y < 0 ? '-' : '+',
        headerField(std::abs(y)), 0, 0);
    std::copy(header, header + std::min<int>(n, static_cast<int>(sizeof header) - 1), out.begin());
    return out;
}

} // namespace loomscope
