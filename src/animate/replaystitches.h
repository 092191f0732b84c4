#pragma once

#include "model/geometry.h"
#include "model/tpoint3f.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace loomscope {

// How a design's extent (W x H DST units) fills the replay's drawing area: as large as the
// area allows, centred in the other direction by whole pixels.
struct ReplayFit {
    double q = 1; // pixels per DST unit
    int offX = 0;
    int offY = 0;
};
ReplayFit fitReplayExtent(double extentWidth, double extentHeight, int width, int height);

// The off-screen picture of the replay for a client area of the window: the width grows by its
// remainder modulo 4, the height by its own and loses the 40-pixel panel above the picture.
struct ReplaySurfaceSize {
    int width = 0;
    int height = 0;
};
ReplaySurfaceSize replaySurfaceSize(int clientWidth, int clientHeight);

enum class ReplayReadStatus {
    Read,
    TooShort,   // fewer than 523 bytes: no record to replay
    CannotOpen, // missing, unreadable, a folder...
    TooLarge,   // more records than any design the program reads
};

// The records of a design laid out for the stitch-out replay, read by the replay itself rather
// than taken from the viewer's design, because it needs every record (jumps, colour changes,
// sequin toggles) in file order, not colour blocks.
struct ReplayStitches {
    ReplayReadStatus status = ReplayReadStatus::TooShort;
    std::string error; // for CannotOpen and TooLarge: what went wrong (not naming the file)
    // One entry per record: where it lies on the surface (X, Y) and its control byte (Z).
    std::vector<TPoint3F> records;
    int Fstitchs = 0; // records read
    int Fcolors = 0;  // 1 + colour-change records
    // The extent in DST units with y downwards, including a margin of 10 units (1 mm).
    TRectF extent;
    ReplayFit fit;
    // A 5 mm sequin with a 1.5 mm hole on the surface, whatever sizes the viewer uses.
    float Fsequinsizez = 0;
    float Fsequinsizelz = 0;

    bool empty() const { return records.empty(); }
};

// Reads the design file for a drawing area of width x height pixels (the window's client area
// below the panel). The file is read, never mapped.
ReplayStitches loadstitches(const std::string& filename, int width, int height);
// The same from the bytes of a whole file.
ReplayStitches readReplayStitches(std::span<const std::uint8_t> file, int width, int height);

} // namespace loomscope
