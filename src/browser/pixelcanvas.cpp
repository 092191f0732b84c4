#include "pixelcanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace loomscope {

namespace {

std::uint32_t opaque(TColor c)
{
    return 0xFF000000u | static_cast<std::uint32_t>(redOf(c)) << 16 |
           static_cast<std::uint32_t>(greenOf(c)) << 8 | static_cast<std::uint32_t>(blueOf(c));
}

// a / b to the nearest integer, halves away from zero; b > 0.
long long roundedDivision(long long a, long long b)
{
    return a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b));
}

int unpremultiplied(std::uint32_t channel, std::uint32_t alpha)
{
    return static_cast<int>(std::min<std::uint32_t>(255, (channel * 255 + alpha / 2) / alpha));
}

} // namespace

PixelCanvas::PixelCanvas(int width, int height, TColor fill, std::uint8_t alpha)
    : width_(std::max(width, 0)), height_(std::max(height, 0))
{
    const std::uint32_t a = alpha;
    auto pre = [a](int channel) { return (static_cast<std::uint32_t>(channel) * a + 127) / 255; };
    const std::uint32_t value =
        a << 24 | pre(redOf(fill)) << 16 | pre(greenOf(fill)) << 8 | pre(blueOf(fill));
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), value);
}

std::uint32_t PixelCanvas::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

TColor PixelCanvas::colourAt(int x, int y) const
{
    const std::uint32_t p = pixel(x, y);
    const std::uint32_t a = p >> 24;
    if (a == 0)
        return 0;
    return rgb(unpremultiplied(p >> 16 & 0xFF, a), unpremultiplied(p >> 8 & 0xFF, a),
               unpremultiplied(p & 0xFF, a));
}

int PixelCanvas::alphaAt(int x, int y) const
{
    return static_cast<int>(pixel(x, y) >> 24);
}

bool PixelCanvas::spend(std::size_t pixels)
{
    if (pixels > budget_) {
        budget_ = 0;
        budgetSpent_ = true;
        return false;
    }
    budget_ -= pixels;
    return true;
}

void PixelCanvas::hardLine(int x0, int y0, int x1, int y1, TColor colour)
{
    const long long dx = static_cast<long long>(x1) - x0;
    const long long dy = static_cast<long long>(y1) - y0;
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    // Thumbnails are a few hundred pixels wide; a run this long can only come from a broken
    // transform, and its products below would overflow.
    constexpr long long kLongestRun = 1 << 24;
    if (steps == 0 || steps > kLongestRun || !spend(static_cast<std::size_t>(steps)))
        return;
    const std::uint32_t value = opaque(colour);
    // Along the longer axis one pixel per step; the other coordinate is the nearest pixel to
    // the ideal line. The end point itself (step `steps`) is left to the next segment.
    for (long long i = 0; i < steps; ++i) {
        const long long x = x0 + roundedDivision(i * dx, steps);
        const long long y = y0 + roundedDivision(i * dy, steps);
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                    static_cast<std::size_t>(x)] = value;
    }
}

void PixelCanvas::blend(int x, int y, std::uint32_t colour, int coverage)
{
    std::uint32_t& d = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                               static_cast<std::size_t>(x)];
    const auto cov = static_cast<std::uint32_t>(coverage);
    const std::uint32_t inv = 255 - cov;
    auto mix = [&](int shift) {
        const std::uint32_t s = colour >> shift & 0xFF;
        const std::uint32_t t = d >> shift & 0xFF;
        return ((s * cov + 127) / 255 + (t * inv + 127) / 255) << shift;
    };
    d = (cov + ((d >> 24) * inv + 127) / 255) << 24 | mix(16) | mix(8) | mix(0);
}

void PixelCanvas::smoothLine(double x0, double y0, double x1, double y1, double width,
                             TColor colour)
{
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1) ||
        !std::isfinite(width) || width <= 0)
        return;
    // Walk the longer axis (u) one pixel column at a time; in each column the line covers a
    // band of the other axis (v) whose height is the line's width seen along v.
    const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
    double u0 = steep ? y0 : x0, v0 = steep ? x0 : y0;
    double u1 = steep ? y1 : x1, v1 = steep ? x1 : y1;
    if (u1 - u0 < 1e-9 && u0 - u1 < 1e-9)
        return; // a stitch in place leaves no line
    if (u0 > u1) {
        std::swap(u0, u1);
        std::swap(v0, v1);
    }
    const int uSize = steep ? height_ : width_;
    const int vSize = steep ? width_ : height_;
    if (u1 < 0 || u0 >= uSize)
        return;
    const double slope = (v1 - v0) / (u1 - u0);
    const double half = width / 2 * std::sqrt(1 + slope * slope);
    // Clamped before the conversions, which would overflow for points far off the picture.
    const auto first = static_cast<long long>(std::floor(std::max(u0, 0.0)));
    const auto last = static_cast<long long>(std::floor(std::min(u1, uSize - 0.5)));
    const auto perColumn = static_cast<std::size_t>(std::min(2 * half + 2, double(vSize) + 1));
    if (!spend(static_cast<std::size_t>(last - first + 1) * perColumn))
        return;

    const std::uint32_t value = opaque(colour);
    for (long long c = first; c <= last; ++c) {
        const double a = std::max(u0, double(c));
        const double b = std::min(u1, double(c + 1));
        const double along = b - a; // how much of this column the segment spans
        if (along <= 0)
            continue;
        const double centre = v0 + slope * ((a + b) / 2 - u0);
        const double lo = centre - half;
        const double hi = centre + half;
        if (hi < 0 || lo >= vSize)
            continue;
        const auto rFirst = static_cast<long long>(std::floor(std::max(lo, 0.0)));
        const auto rLast = static_cast<long long>(std::floor(std::min(hi, vSize - 0.5)));
        for (long long r = rFirst; r <= rLast; ++r) {
            const double across = std::min(hi, double(r + 1)) - std::max(lo, double(r));
            const int coverage = static_cast<int>(along * across * 255 + 0.5);
            if (coverage <= 0)
                continue;
            const int x = static_cast<int>(steep ? r : c);
            const int y = static_cast<int>(steep ? c : r);
            blend(x, y, value, std::min(coverage, 255));
        }
    }
}

std::vector<std::uint8_t> PixelCanvas::rgbaBytes() const
{
    std::vector<std::uint8_t> out(pixels_.size() * 4);
    const std::size_t stride = static_cast<std::size_t>(width_) * 4;
    for (int y = 0; y < height_; ++y)
        rgbaRow(y, out.data() + static_cast<std::size_t>(y) * stride);
    return out;
}

void PixelCanvas::rgbaRow(int y, std::uint8_t* out) const
{
    const std::uint32_t* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
    for (int x = 0; x < width_; ++x, out += 4) {
        const std::uint32_t p = row[x];
        const std::uint32_t a = p >> 24;
        if (a == 0) {
            out[0] = out[1] = out[2] = out[3] = 0;
            continue;
        }
        out[0] = static_cast<std::uint8_t>(unpremultiplied(p >> 16 & 0xFF, a));
        out[1] = static_cast<std::uint8_t>(unpremultiplied(p >> 8 & 0xFF, a));
        out[2] = static_cast<std::uint8_t>(unpremultiplied(p & 0xFF, a));
        out[3] = static_cast<std::uint8_t>(a);
    }
}

} // namespace loomscope
