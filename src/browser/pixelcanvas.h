#pragma once

#include "model/colour.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace loomscope {

// A small picture in memory that thumbnails are drawn into without any window system: the
// browser's list pictures on worker threads and the file manager's thumbnails inside a sandbox
// with no display, GPU or fonts.
//
// Pixels are 32-bit 0xAARRGGBB with premultiplied alpha, rows top to bottom, the layout of a
// premultiplied ARGB32 QImage, so the browser can wrap them without converting. Every line
// counts the pixels it touches against a work budget; once the budget is spent, further lines
// draw nothing, so no input can keep a thumbnailer busy for long.
class PixelCanvas {
public:
    // A width x height picture filled with `fill` at opacity `alpha` (0 transparent).
    PixelCanvas(int width, int height, TColor fill = 0xFFFFFF, std::uint8_t alpha = 255);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::uint32_t* data() const { return pixels_.data(); }
    std::uint32_t pixel(int x, int y) const;
    // Colour (red in the low byte) and opacity of a pixel, alpha undone.
    TColor colourAt(int x, int y) const;
    int alphaAt(int x, int y) const;

    // A one-pixel line from (x0, y0) towards (x1, y1) as a cosmetic pen of a desktop drawing
    // API draws it: every pixel of the run except the last, so a polyline sets each vertex
    // once and never sets its end point. A line of length 0 sets nothing.
    void hardLine(int x0, int y0, int x1, int y1, TColor colour);

    // An antialiased line of `width` pixels between two points in pixel coordinates (a pixel's
    // centre is at +0.5), blended over what is there. The ends are cut square at the points,
    // so the segments of a polyline meet without gaps.
    void smoothLine(double x0, double y0, double x1, double y1, double width, TColor colour);

    // Pixels a line may still touch; unlimited unless set.
    void setWorkBudget(std::size_t pixels) { budget_ = pixels; }
    // Whether a line was left out because the budget was spent.
    bool budgetSpent() const { return budgetSpent_; }

    // Rows of red, green, blue and alpha bytes, alpha undone: what a PNG holds.
    std::vector<std::uint8_t> rgbaBytes() const;
    // The same of row y (0 <= y < height), into 4 * width bytes at `out`.
    void rgbaRow(int y, std::uint8_t* out) const;

private:
    bool spend(std::size_t pixels);
    void blend(int x, int y, std::uint32_t premultipliedColour, int coverage);

    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
    std::size_t budget_ = SIZE_MAX;
    bool budgetSpent_ = false;
};

} // namespace loomscope
