#pragma once

// The design of generatedDesign in each of the other formats, written from the format
// descriptions: for the benchmarks that set their readers against DST's.

#include "model/embroideryformats.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <vector>

namespace loomscope::bench {

using Bytes = std::vector<std::uint8_t>;

struct Move {
    StitchKind kind;
    int dx, dy;
};

// The moves generatedDesign writes as DST: rows of 3.5 mm stitches across 200 x 150 mm, a jump
// to every row and after every 300 stitches, a colour change after every 50,000 stitches.
inline std::vector<Move> generatedMoves(std::size_t records)
{
    std::vector<Move> moves;
    moves.reserve(records + 16);
    int x = 0, y = 0;
    auto add = [&](StitchKind kind, int dx, int dy) {
        moves.push_back({kind, dx, dy});
        x += dx;
        y += dy;
    };
    std::size_t stitches = 0;
    for (int row = 0; moves.size() < records; ++row) {
        const int rowY = (row * 4) % 1500 - 750;
        const int from = row % 2 ? 1000 : -1000;
        add(StitchKind::Jump, from - x, rowY - y);
        add(StitchKind::Stitch, 0, 0);
        const int step = row % 2 ? -35 : 35;
        for (int at = from; std::abs(at) <= 1000 && moves.size() < records; at += step) {
            add(StitchKind::Stitch, step, (at / 35) % 3 - 1);
            if (++stitches % 300 == 0) {
                add(StitchKind::Jump, 2, 2);
                add(StitchKind::Stitch, 0, 0);
            }
            if (stitches % 50000 == 0) {
                add(StitchKind::ColourChange, 0, 0);
                add(StitchKind::Stitch, 0, 0);
            }
        }
    }
    return moves;
}

namespace formats {

inline void put(Bytes& b, std::initializer_list<int> values)
{
    for (const int v : values)
        b.push_back(static_cast<std::uint8_t>(v));
}

// Cuts a move into pieces of at most `longest` on either axis.
template <typename Emit> void inPieces(int dx, int dy, int longest, Emit emit)
{
    const int pieces = std::max(
        {1, (std::abs(dx) + longest - 1) / longest, (std::abs(dy) + longest - 1) / longest});
    int doneX = 0, doneY = 0;
    for (int k = 1; k <= pieces; ++k) {
        emit(dx * k / pieces - doneX, dy * k / pieces - doneY);
        doneX = dx * k / pieces;
        doneY = dy * k / pieces;
    }
}

// A PEC block: 7-bit stitches, 12-bit jumps, y downwards.
inline Bytes pecBlock(const std::vector<Move>& moves)
{
    Bytes records;
    auto longValue = [&](int v) { put(records, {0x90 | ((v >> 8) & 0x0F), v & 0xFF}); };
    for (const Move& m : moves) {
        if (m.kind == StitchKind::ColourChange)
            put(records, {0xFE, 0xB0, 2});
        else if (m.kind == StitchKind::Stitch)
            put(records, {m.dx & 0x7F, -m.dy & 0x7F});
        else
            inPieces(m.dx, m.dy, 2047, [&](int dx, int dy) {
                longValue(dx);
                longValue(-dy);
            });
    }
    put(records, {0xFF, 0});
    Bytes b(0x200, ' ');
    std::copy_n("LA:BENCH", 8, b.begin());
    b[0x30] = 0;
    b[0x31] = 5;
    const auto n = static_cast<int>(records.size() + 0x10);
    put(b, {0, 0, n, n >> 8, n >> 16, 0x31, 0xFF, 0xF0, 0, 0, 0, 0, 0xE0, 1, 0xB0, 1});
    b.insert(b.end(), records.begin(), records.end());
    return b;
}

// JEF and EXP: two-byte stitches with y upwards, moves as escapes of at most 127.
inline Bytes escapeRecords(const std::vector<Move>& moves, int jumpCode)
{
    Bytes b;
    for (const Move& m : moves) {
        if (m.kind == StitchKind::ColourChange)
            put(b, {0x80, 0x01, 0, 0});
        else if (m.kind == StitchKind::Stitch)
            put(b, {m.dx, m.dy});
        else
            inPieces(m.dx, m.dy, 127, [&](int dx, int dy) { put(b, {0x80, jumpCode, dx, dy}); });
    }
    return b;
}

inline Bytes generatedPec(const std::vector<Move>& moves)
{
    Bytes b = {'#', 'P', 'E', 'C', '0', '0', '0', '1'};
    const Bytes block = pecBlock(moves);
    b.insert(b.end(), block.begin(), block.end());
    return b;
}

inline Bytes generatedPes(const std::vector<Move>& moves)
{
    Bytes b = {'#', 'P', 'E', 'S', '0', '0', '0', '1', 16, 0, 0, 0, 0, 0, 0, 0};
    const Bytes block = pecBlock(moves);
    b.insert(b.end(), block.begin(), block.end());
    return b;
}

inline Bytes generatedJef(const std::vector<Move>& moves)
{
    Bytes b(0x74 + 8, 0);
    b[0] = 0x74 + 8;
    b[0x18] = 1;
    b[0x74] = 10;
    const Bytes records = escapeRecords(moves, 0x02);
    b.insert(b.end(), records.begin(), records.end());
    put(b, {0x80, 0x10});
    return b;
}

inline Bytes generatedExp(const std::vector<Move>& moves)
{
    return escapeRecords(moves, 0x04);
}

// One section per colour, whose start is where the needle is; a jump inside a section is a
// trim and a long stitch, the only longer move VP3 stitch data has.
inline Bytes generatedVp3(const std::vector<Move>& moves)
{
    auto u32be = [](Bytes& b, std::size_t v) {
        put(b, {static_cast<int>(v >> 24), static_cast<int>(v >> 16), static_cast<int>(v >> 8),
                static_cast<int>(v)});
    };
    auto block = [&](int tag, const Bytes& content) {
        Bytes b = {0, static_cast<std::uint8_t>(tag), 0};
        u32be(b, content.size());
        b.insert(b.end(), content.begin(), content.end());
        return b;
    };
    std::vector<Bytes> sections;
    int x = 0, y = 0;
    std::size_t k = 0;
    while (k < moves.size()) {
        Bytes section;
        u32be(section, static_cast<std::size_t>(x * 100));
        u32be(section, static_cast<std::size_t>(y * 100));
        put(section, {1, 0, 0xFF, 0, 0, 0, 0, 0, 5, 40, 0, 0, 0, 0, 0, 0});
        section.resize(section.size() + 8, 0);
        Bytes stitches = {0x0A, 0xF6, 0};
        for (; k < moves.size() && moves[k].kind != StitchKind::ColourChange; ++k) {
            const Move& m = moves[k];
            if (m.kind == StitchKind::Stitch)
                put(stitches, {m.dx, -m.dy});
            else
                put(stitches,
                    {0x80, 0x03, 0x80, 0x01, m.dx >> 8, m.dx, -m.dy >> 8, -m.dy, 0x80, 2});
            x += m.dx;
            y += m.dy;
        }
        ++k;
        const Bytes stitchBlock = block(1, stitches);
        section.insert(section.end(), stitchBlock.begin(), stitchBlock.end());
        put(section, {0});
        sections.push_back(block(5, section));
    }
    Bytes design(8 + 3 + 24 + 2, 0);
    put(design, {'d', 'd', 0, 0, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0});
    put(design, {'x', 'x', 'P', 'P', 1, 0, 0, 0, static_cast<int>(sections.size()) >> 8,
                 static_cast<int>(sections.size())});
    for (const Bytes& section : sections)
        design.insert(design.end(), section.begin(), section.end());
    Bytes file(2 + 20, 0);
    put(file, {0, static_cast<int>(sections.size()), 0x0C, 0, 1});
    const Bytes designBlock = block(3, design);
    file.insert(file.end(), designBlock.begin(), designBlock.end());
    Bytes b = {'%', 'v', 's', 'm', '%', 0, 0, 0};
    const Bytes fileBlock = block(2, file);
    b.insert(b.end(), fileBlock.begin(), fileBlock.end());
    return b;
}

inline Bytes generatedXxx(const std::vector<Move>& moves)
{
    Bytes b(0x100, 0);
    b[0x27] = 1;
    for (const Move& m : moves) {
        if (m.kind == StitchKind::ColourChange)
            put(b, {0x7F, 0x08, 0, 0});
        else if (m.kind == StitchKind::Stitch)
            put(b, {m.dx, m.dy});
        else
            put(b, {0x7E, m.dx, m.dx >> 8, m.dy, m.dy >> 8});
    }
    const std::size_t end = b.size();
    for (int i = 0; i < 4; ++i)
        b[0xFC + i] = static_cast<std::uint8_t>(end >> 8 * i);
    put(b, {0x7F, 0x7F, 3, 0x14, 0, 0, 0, 0xED, 0x17, 0x1F});
    return b;
}

} // namespace formats

} // namespace loomscope::bench
