#pragma once

// The arithmetic of the high-resolution picture: its size, the scale it is drawn at, the
// sequin sizes, the stored resolution and the information block in its corner.

#include "model/colour.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace loomscope {

class Tembs;

// A picture side: always 1 to 4 pixels more than asked, to the next multiple of 4 (1000
// gives 1004, 1001 gives 1004), so rows of 24-bit pixels need no padding.
int pictureSide(int wanted);

// Pictures are drawn at eight pixels per model unit, and at most this many on the longer side.
inline constexpr float kPictureScale = 8;
inline constexpr int kPictureMaxSide = 3000;

// How a design is drawn into its picture.
struct PicturePlan {
    int width = 0; // the rectangle asked for: the design's extent with its margin, in pixels
    int height = 0;
    float scale = 0;       // pixels per model unit, also the `bili` of the resolution
    float sequinOuter = 0; // radii in pixels
    float sequinHole = 0;
};

// The plan for a design just read (at scale 1); the design is left scaled to the plan.
PicturePlan planPicture(Tembs& design);

// Dots per inch stored in the picture: a model unit is 0.2835 mm, so 90 dots per inch per
// unit of scale prints the design at about its stitched size.
int pictureDotsPerInch(float scale);

// Adds `amount` to every channel of every byte (each byte a channel), up to 255.
void brighten(std::uint8_t* bytes, std::size_t count, int amount = 20);

// The information block: nine lines, each at x = 10 and the given top y; the last three are
// the credit lines (at most three are used).
struct InfoLine {
    int top = 0;
    std::string text;
};
std::vector<InfoLine> pictureInfoLines(const Tembs& design, char decimalSeparator = '.',
                                       const std::vector<std::string>& credits = {});

// The credit lines of a picture made without the shop's details: the program and its version.
std::vector<std::string> defaultPictureCredits();
// The shop's name, telephone and web site, those that are set, in that order; the program's
// lines when none is.
std::vector<std::string> pictureCredits(const std::string& company, const std::string& telephone,
                                        const std::string& website);

} // namespace loomscope
