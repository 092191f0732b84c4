#include "threadshading.h"

#include <algorithm>
#include <cmath>

namespace loomscope {

namespace {

int toByte(double v)
{
    // Halves to the even byte, like the rounding of the rest of the page.
    return static_cast<int>(std::nearbyint(v * 255));
}

double channel(double p, double q, double t)
{
    if (t < 0)
        t += 1;
    if (t > 1)
        t -= 1;
    if (6 * t < 1)
        return p + (q - p) * 6 * t;
    if (2 * t < 1)
        return q;
    if (3 * t < 2)
        return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

} // namespace

TColor lighten(TColor colour, double d)
{
    const double r = redOf(colour) / 255.0;
    const double g = greenOf(colour) / 255.0;
    const double b = blueOf(colour) / 255.0;
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    const double l = (mx + mn) / 2;
    double h = 0;
    double s = 0;
    if (mx != mn) {
        const double e = mx - mn;
        s = l >= 0.5 ? e / (2 - mx - mn) : e / (mx + mn);
        if (r == mx)
            h = (g - b) / e;
        else if (g != mx)
            h = 4 + (r - g) / e;
        else
            h = 2 + (b - r) / e;
        h /= 6;
        if (h < 0)
            h += 1;
    }
    const double l2 = std::clamp(l + d, 0.0, 1.0);
    s = std::clamp(s, 0.0, 1.0);
    if (s == 0) {
        const int grey = toByte(l2);
        return rgb(grey, grey, grey);
    }
    const double q = l2 > 0.5 ? l2 + s - l2 * s : l2 * (1 + s);
    const double p = 2 * l2 - q;
    h -= std::trunc(h);
    return rgb(toByte(channel(p, q, h + 1.0 / 3)), toByte(channel(p, q, h)),
               toByte(channel(p, q, h - 1.0 / 3)));
}

std::array<ShadeStop, 6> threadShadeStops(TColor colour)
{
    const TColor dark = lighten(colour, -0.2);
    const TColor light = lighten(colour, 0.1);
    return {{{0, dark}, {0.15, colour}, {0.25, light}, {0.75, light}, {0.85, colour}, {1, dark}}};
}

TColor midColour(TColor a, TColor b)
{
    return rgb((redOf(a) + redOf(b) + 1) / 2, (greenOf(a) + greenOf(b) + 1) / 2,
               (blueOf(a) + blueOf(b) + 1) / 2);
}

std::array<ShadeBand, 3> threadShadeBands(TColor colour)
{
    const TColor dark = lighten(colour, -0.2);
    const TColor light = lighten(colour, 0.1);
    return {{{0, 1, midColour(dark, colour)},
             {0.15, 0.85, midColour(colour, light)},
             {0.25, 0.75, light}}};
}

} // namespace loomscope
