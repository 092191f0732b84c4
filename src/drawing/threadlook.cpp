#include "threadlook.h"

#include <algorithm>
#include <cmath>

namespace loomscope {

namespace {

using Row = std::array<std::uint8_t, 32>;

// Grey of rows 3 to 12; rows 0-2 are 140 and rows 13-15 are 100 in every column.
constexpr std::array<Row, 10> kGreyRows = {{
    {140, 140, 140, 150, 153, 156, 158, 160, 161, 161, 159, 154, 155, 140, 140, 140,
     140, 140, 140, 150, 155, 157, 159, 160, 161, 160, 159, 154, 155, 140, 140, 140},
    {154, 151, 159, 163, 164, 165, 167, 168, 168, 168, 168, 168, 166, 163, 157, 154,
     152, 154, 162, 164, 165, 166, 168, 168, 168, 168, 168, 168, 166, 163, 157, 154},
    {164, 160, 153, 154, 162, 169, 169, 169, 169, 169, 171, 172, 172, 172, 170, 166,
     162, 156, 152, 157, 166, 170, 169, 169, 169, 170, 171, 172, 172, 172, 170, 166},
    {174, 171, 168, 164, 160, 160, 165, 164, 165, 165, 168, 170, 172, 173, 174, 174,
     172, 170, 166, 162, 159, 163, 165, 165, 165, 166, 168, 170, 172, 173, 174, 174},
    {175, 175, 175, 174, 172, 169, 168, 163, 157, 157, 160, 163, 166, 170, 172, 175,
     175, 175, 175, 173, 171, 169, 166, 159, 156, 158, 161, 163, 166, 170, 172, 175},
    {170, 173, 174, 176, 176, 174, 174, 174, 165, 148, 147, 151, 155, 160, 164, 168,
     171, 174, 175, 176, 175, 174, 175, 171, 156, 144, 147, 151, 155, 160, 164, 168},
    {161, 165, 169, 172, 174, 175, 175, 175, 175, 172, 133, 118, 134, 146, 155, 159,
     163, 167, 171, 173, 175, 175, 175, 175, 175, 162, 130, 118, 134, 146, 155, 159},
    {147, 153, 158, 163, 165, 168, 169, 171, 171, 171, 167, 138, 110, 110, 123, 141,
     151, 156, 161, 164, 167, 169, 170, 171, 171, 171, 166, 138, 110, 110, 123, 141},
    {116, 124, 138, 149, 153, 157, 160, 161, 161, 161, 158, 155, 152, 135, 107, 107,
     121, 130, 145, 152, 155, 159, 160, 161, 161, 160, 158, 155, 152, 135, 107, 107},
    {100, 100, 100, 100, 100, 100, 100, 143, 100, 144, 100, 100, 100, 100, 100, 100,
     100, 100, 100, 100, 100, 100, 141, 144, 145, 142, 100, 100, 100, 100, 100, 100},
}};

// Alpha of rows 2, 3, 12 and 13; rows 0, 1, 14, 15 are 0 and rows 4-11 are 255.
constexpr Row kAlphaRow2 = {0, 0, 1, 16, 44, 70, 84, 105, 110, 85, 63, 34, 9, 0, 0, 0,
                            0, 0, 6, 29, 59, 77, 94, 112, 97,  78, 63, 34, 9, 0, 0, 0};
constexpr Row kAlphaRow3 = {8,   43,  89,  255, 255, 255, 255, 255, 255, 255, 255,
                            255, 255, 75,  31,  5,   21,  68,  101, 255, 255, 255,
                            255, 255, 255, 255, 255, 255, 255, 75,  31,  5};
constexpr Row kAlphaRow12 = {11,  60,  125, 145, 134, 122, 116, 255, 110, 255, 119,
                             131, 136, 106, 45,  7,   30,  95,  142, 141, 127, 119,
                             255, 255, 255, 255, 119, 131, 136, 106, 45,  7};
constexpr Row kAlphaRow13 = {0, 0, 1, 21, 61, 98,  118, 148, 156, 119, 90, 49, 12, 0, 0, 0,
                             0, 0, 8, 40, 82, 108, 132, 159, 138, 110, 91, 49, 12, 0, 0, 0};

std::uint8_t clampByte(int v)
{
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

} // namespace

std::uint8_t threadbaseGrey(int column, int row)
{
    if (row <= 2)
        return 140;
    if (row >= 13)
        return 100;
    return kGreyRows[static_cast<std::size_t>(row - 3)][static_cast<std::size_t>(column)];
}

std::uint8_t threadbaseAlpha(int column, int row)
{
    const auto c = static_cast<std::size_t>(column);
    switch (row) {
    case 2:
        return kAlphaRow2[c];
    case 3:
        return kAlphaRow3[c];
    case 12:
        return kAlphaRow12[c];
    case 13:
        return kAlphaRow13[c];
    default:
        return row >= 4 && row <= 11 ? 255 : 0;
    }
}

int threadChannelFactor(int channel)
{
    return std::clamp(static_cast<int>(std::trunc(channel * 0.76 + 61.2)), 50, 255);
}

ThreadTexturePixels makelighttexture(TColor colour)
{
    const int k[3] = {threadChannelFactor(redOf(colour)), threadChannelFactor(greenOf(colour)),
                      threadChannelFactor(blueOf(colour))};
    ThreadTexturePixels pixels{};
    std::size_t at = 0;
    for (int row = 0; row < kThreadTextureHeight; ++row)
        for (int column = 0; column < kThreadTextureWidth; ++column) {
            const int g = threadbaseGrey(column, row);
            for (int channel = 0; channel < 3; ++channel) {
                const int v = (k[channel] * g) >> 8;
                pixels[at++] = clampByte(static_cast<int>(std::trunc(v * 1.6)));
            }
            pixels[at++] = threadbaseAlpha(column, row);
        }
    return pixels;
}

bool bandforward(TPointF previous, TPointF current)
{
    const float dx = current.x - previous.x;
    const float dy = current.y - previous.y;
    int quadrant = 0;
    if (dy >= 0 && dx >= 0)
        quadrant = 1;
    if (dy >= 0 && dx <= 0)
        quadrant = 2;
    if (dy <= 0 && dx <= 0)
        quadrant = 3;
    if (dy <= 0 && dx >= 0)
        quadrant = 4;
    return quadrant == 1 || quadrant == 4;
}

ThreadBand stitchband(TPointF a, TPointF b, float w)
{
    const double degrees =
        b.x == a.x ? 90.0 : std::atan(double(b.y - a.y) / double(b.x - a.x)) * 57.29578;
    const double radians = (degrees + 90.0) / 57.29578;
    const auto nx = static_cast<float>(std::cos(radians) * w);
    const auto ny = static_cast<float>(std::sin(radians) * w);
    const float length = std::hypot(b.x - a.x, b.y - a.y);
    const float f = 14 * w >= length ? length / 2 : 7 * w;
    const float ux = length > 0 ? (b.x - a.x) / length * f : 0;
    const float uy = length > 0 ? (b.y - a.y) / length * f : 0;

    ThreadBand band;
    band.startPlus = {a.x + nx, a.y + ny};
    band.startMinus = {a.x - nx, a.y - ny};
    band.endMinus = {b.x - nx, b.y - ny};
    band.endPlus = {b.x + nx, b.y + ny};
    band.innerStartPlus = {band.startPlus.x + ux, band.startPlus.y + uy};
    band.innerStartMinus = {band.startMinus.x + ux, band.startMinus.y + uy};
    band.innerEndPlus = {band.endPlus.x - ux, band.endPlus.y - uy};
    band.innerEndMinus = {band.endMinus.x - ux, band.endMinus.y - uy};
    band.cap = f / (8 * w);
    band.mid = (length - 2 * f) / (8 * w);
    return band;
}

std::array<ThreadVertex, 12> bandQuads(const ThreadBand& band, float r)
{
    auto v = [](TPointF p, std::uint8_t grey, float s, float t) {
        return ThreadVertex{p.x, p.y, s, t, grey, grey, grey, 255};
    };
    const float cap = band.cap;
    const float mid = band.mid;
    const float fracCap = cap - std::floor(cap);
    const float fracCapMid = (cap + mid) - std::floor(cap + mid);
    return {
        // start cap
        v(band.innerStartMinus, 255, cap + r, 1),
        v(band.innerStartPlus, 255, cap + r, 0),
        v(band.startPlus, 100, r, 0),
        v(band.startMinus, 100, r, 1),
        // middle
        v(band.innerEndMinus, 255, fracCap + mid + r, 1),
        v(band.innerEndPlus, 255, fracCap + mid + r, 0),
        v(band.innerStartPlus, 255, fracCap + r, 0),
        v(band.innerStartMinus, 255, fracCap + r, 1),
        // end cap
        v(band.endMinus, 150, fracCapMid + cap + r, 1),
        v(band.endPlus, 150, fracCapMid + cap + r, 0),
        v(band.innerEndPlus, 255, fracCapMid + r, 0),
        v(band.innerEndMinus, 255, fracCapMid + r, 1),
    };
}

float twistPhase(std::uint32_t stitchNumber)
{
    // A small integer hash: neighbouring stitches get unrelated phases.
    std::uint32_t x = stitchNumber * 0x9E3779B9u + 0x7F4A7C15u;
    x ^= x >> 16;
    x *= 0x85EBCA6Bu;
    x ^= x >> 13;
    x *= 0xC2B2AE35u;
    x ^= x >> 16;
    return static_cast<float>(x % 5) / 10.0f;
}

} // namespace loomscope
