#pragma once

// Readers of the embroidery formats beside DST: Brother PES and PEC, Janome JEF, Melco EXP,
// Pfaff/Viking VP3 and Singer XXX. Each turns the bytes of a file into one list of absolute
// commands and the threads of its colour blocks (readDesign); what is drawn from them, and
// how, is for the callers. For a design that is only drawn, the same reader makes the records
// of its DST and its facts as it reads, with no list in between (readDesignSteps). Nothing is
// trusted that the file says about itself: counts, offsets and lengths are checked against
// the bytes there are, and a file that would make a design no machine could sew (millions of
// commands, positions kilometres apart) is refused with the reason.

#include "colour.h"
#include "dstrecords.h"
#include "dstshape.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace loomscope {

enum class StitchKind : std::uint8_t { Stitch, Jump, Trim, ColourChange, End };

// Where the needle is after the command: absolute, in 0.1 mm, y growing upwards as in DST.
// A trim or a colour change stays where the needle is; a jump moves without sewing.
struct DesignCommand {
    StitchKind kind = StitchKind::Stitch;
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const DesignCommand&, const DesignCommand&) = default;
};

// The thread of one colour block. Texts are UTF-8 (the files' 8-bit texts are Latin-1); the
// colour is empty where the file gives none for the block.
struct DesignThread {
    std::optional<TColor> colour;
    std::string name;
    std::string code;  // catalogue number
    std::string brand; // maker or thread line, where the file names one
    friend bool operator==(const DesignThread&, const DesignThread&) = default;
};

enum class DesignFormat { Dst, Pes, Pec, Jef, Exp, Vp3, Xxx };

// A design as a list of commands. `threads` holds one thread per colour block (colour
// changes + 1), in order; it is empty for EXP, which names no threads.
struct CommandDesign {
    DesignFormat format = DesignFormat::Dst;
    std::vector<DesignCommand> commands;
    std::vector<DesignThread> threads;
    // Where the file places the needle finer than 0.1 mm (VP3's sections start in 1/1000 mm):
    // the commands' extent at that precision, in 1/1000 mm (min x, min y, max x, max y), which
    // the design's size is measured by, as its makers' software measures it.
    std::optional<std::array<std::int64_t, 4>> fineExtent;
};

// The design, or the reason the file was refused.
struct CommandRead {
    std::optional<CommandDesign> design;
    std::string reason;
};

// More commands than this (55 times the largest real design) are refused: it bounds the
// memory of a read.
inline constexpr std::size_t kMaxDesignCommands = 5'000'000;
// More colour changes than this are refused: every block takes a thread.
inline constexpr std::size_t kMaxColourChanges = 65'535;
// A position farther than this from the start (1.6 km) is refused, so that every
// difference of positions stays within 32 bits.
inline constexpr std::int32_t kMaxDesignCoordinate = 1 << 24;

// The design of a file of the format; DST is read by Tembs and is refused here.
CommandRead readDesign(DesignFormat format, std::span<const std::uint8_t> bytes);

// The format a file name's extension names (".pes", ".PES", ...), if any.
std::optional<DesignFormat> formatOfFileName(std::string_view name);
// "dst", "pes", "pec", "jef", "exp", "vp3" or "xxx".
const char* formatName(DesignFormat format);

// The facts a design's information shows, counted as the makers' software counts them.
struct DesignFacts {
    int stitches = 0;               // Stitch commands
    int colours = 0;                // colour changes + 1, a leading or trailing one included
    double widthMm = 0;             // over every command position, the origin not added
    double heightMm = 0;            //   (max - min) / 10 to one decimal, halves away from zero
    std::vector<int> blockStitches; // Stitch commands of each colour block
    friend bool operator==(const DesignFacts&, const DesignFacts&) = default;
};
DesignFacts commandFacts(const CommandDesign& design);

// The records of the DST a converter would write for the design, starting at the first
// command's position. Moves longer than a record can hold are split into jumps; a trim is a
// jump; the End command, or a design longer than the DST reader accepts, ends the records. A
// design of one record gets a jump of no length after it, so that its file is not too short
// to read.
DstSteps dstSteps(const CommandDesign& design);

// What drawing a design needs of its file: the records of its DST (dstSteps), its facts
// (commandFacts) and its threads, as readDesign's design would give them, made as the file is
// read so that no list of commands is kept; or, `read` false, the reason the file was refused.
struct StepRead {
    bool read = false;
    std::string reason;
    DstSteps steps;
    // Their shape (dstShapeOf), found as they were made, where it could be.
    std::optional<DstShape> shape;
    DesignFacts facts;
    std::vector<DesignThread> threads;
};
StepRead readDesignSteps(DesignFormat format, std::span<const std::uint8_t> bytes);

// That DST file: a 512-byte header ("LA:" and the label, counts and extents), the records of
// dstSteps, the end record and trailing bytes, laid out so that Tembs reads every record.
std::vector<std::uint8_t> toDstBytes(const CommandDesign& design, std::string_view label = {});
// The same of records already made (readDesignSteps).
std::vector<std::uint8_t> toDstBytes(std::span<const DstStep> steps, std::string_view label = {});

} // namespace loomscope
