#pragma once

#include "colour.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace loomscope {

// The colour-sequence side file (".lsc") beside a design: the thread colour, thread name and
// colour card of every colour index. Little-endian:
//   0  "LSC"   3  ".." (unchecked)   5  record count, u16   7  80-byte records
// and each record:
//   0  card name (length byte, up to 20 bytes)   21  colour number (length byte, digits of i+1)
//   42 unused (2)   44  colour, u32, red in the low byte   48  thread name (length byte, up
//   to 30 bytes)   79  unused
// Texts are code page 936 bytes, so files stay interchangeable with those of other systems.

enum class ColorFileStatus {
    Applied,         // every block recoloured, card name taken
    CardOnly,        // fewer records than the design's colours: only the card name taken
    Ignored,         // too short, wrong magic, or a design without blocks: nothing changed
    StreamReadError, // the count claims more records than the file holds: nothing changed
    CannotOpen,      // the file could not be read: nothing changed
};

struct ColorFileResult {
    ColorFileStatus status = ColorFileStatus::Ignored;
    // For the two failures, the text to show the user; for a side file applied whose names
    // could not be converted, what the user should be told about that.
    std::string message;
    bool failed() const
    {
        return status == ColorFileStatus::StreamReadError || status == ColorFileStatus::CannotOpen;
    }
};

inline constexpr std::size_t kColorRecordSize = 80;
inline constexpr std::size_t kColorHeaderSize = 7;
inline constexpr std::size_t kCardNameMaxBytes = 20;
inline constexpr std::size_t kThreadNameMaxBytes = 30;
inline constexpr const char* kStreamReadError = "Stream read error";

struct ColorSequence {
    std::string colorcard; // UTF-8, blanks and control characters trimmed
    std::vector<TColor> colors;
    std::vector<std::string> names; // UTF-8
    // Names that were not ASCII could not be read: this system lacks code page 936, so they
    // hold replacement marks.
    bool namesUnconverted = false;
};

// Reads the records of a side file, at most `maxRecords` of them. Ignored for a file of 11
// bytes or less or with another magic; StreamReadError when the records to read run past the
// end of the file; otherwise Applied with the records read in `out`.
ColorFileStatus parseColorSequence(std::span<const std::uint8_t> bytes, int maxRecords,
                                   ColorSequence& out);

// The side file for `colors.size()` colour indices. Names longer than the field are cut to
// whole characters of code page 936; missing names are empty.
std::vector<std::uint8_t> encodeColorSequence(std::string_view colorcard,
                                              std::span<const TColor> colors,
                                              std::span<const std::string> names);

// Writes a side file atomically. Returns an empty string on success, else what went wrong.
std::string writecolorfile(const std::string& path, std::string_view colorcard,
                           std::span<const TColor> colors, std::span<const std::string> names);

// The side file of a design: its path with the last extension replaced by ".lsc".
std::string sideFilePath(const std::string& designPath);

// The side file of a design as it stands beside it: a regular file named like the design with
// the extension ".lsc", compared without regard to letter case as on the systems the files
// come from ("ROSE.LSC" beside "ROSE.DST" or "rose.dst"). The exact spelling of sideFilePath
// wins; nothing when there is none.
std::optional<std::string> findSideFile(const std::string& designPath);

// Where the side file of a design is written: the existing one, keeping its spelling, else
// sideFilePath.
std::string sideFileForWriting(const std::string& designPath);

} // namespace loomscope
