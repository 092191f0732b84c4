#include "colourdistance.h"

#include <cmath>
#include <numbers>

namespace loomscope {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

double linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double labCurve(double t)
{
    constexpr double delta = 6.0 / 29.0;
    return t > delta * delta * delta ? std::cbrt(t) : t / (3 * delta * delta) + 4.0 / 29.0;
}

// Hue angle in degrees, 0 … 360.
double hueAngle(double b, double a)
{
    if (a == 0 && b == 0)
        return 0;
    const double h = std::atan2(b, a) / kDegree;
    return h < 0 ? h + 360 : h;
}

double pow7(double x)
{
    const double x2 = x * x;
    return x2 * x2 * x2 * x;
}

} // namespace

Lab labFromColour(TColor colour)
{
    const double r = linear(redOf(colour));
    const double g = linear(greenOf(colour));
    const double b = linear(blueOf(colour));
    // sRGB primaries to XYZ, then relative to the D65 white.
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
    const double fx = labCurve(x);
    const double fy = labCurve(y);
    const double fz = labCurve(z);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double ciede2000(const Lab& first, const Lab& second)
{
    constexpr double k25pow7 = 6103515625.0; // 25^7
    const double c1 = std::hypot(first.a, first.b);
    const double c2 = std::hypot(second.a, second.b);
    const double cMean = (c1 + c2) / 2;
    const double g = 0.5 * (1 - std::sqrt(pow7(cMean) / (pow7(cMean) + k25pow7)));
    const double a1 = (1 + g) * first.a;
    const double a2 = (1 + g) * second.a;
    const double cp1 = std::hypot(a1, first.b);
    const double cp2 = std::hypot(a2, second.b);
    const double hp1 = hueAngle(first.b, a1);
    const double hp2 = hueAngle(second.b, a2);

    const double dL = second.L - first.L;
    const double dC = cp2 - cp1;
    double dh = 0;
    if (cp1 * cp2 != 0) {
        dh = hp2 - hp1;
        if (dh > 180)
            dh -= 360;
        else if (dh < -180)
            dh += 360;
    }
    const double dH = 2 * std::sqrt(cp1 * cp2) * std::sin(dh * kDegree / 2);

    const double lMean = (first.L + second.L) / 2;
    const double cpMean = (cp1 + cp2) / 2;
    double hMean = hp1 + hp2;
    if (cp1 * cp2 != 0) {
        if (std::abs(hp1 - hp2) <= 180)
            hMean /= 2;
        else if (hMean < 360)
            hMean = (hMean + 360) / 2;
        else
            hMean = (hMean - 360) / 2;
    }
    const double t =
        1 - 0.17 * std::cos((hMean - 30) * kDegree) + 0.24 * std::cos(2 * hMean * kDegree) +
        0.32 * std::cos((3 * hMean + 6) * kDegree) - 0.20 * std::cos((4 * hMean - 63) * kDegree);
    const double dTheta = 30 * std::exp(-std::pow((hMean - 275) / 25, 2));
    const double rc = 2 * std::sqrt(pow7(cpMean) / (pow7(cpMean) + k25pow7));
    const double lOff = (lMean - 50) * (lMean - 50);
    const double sl = 1 + 0.015 * lOff / std::sqrt(20 + lOff);
    const double sc = 1 + 0.045 * cpMean;
    const double sh = 1 + 0.015 * cpMean * t;
    const double rt = -std::sin(2 * dTheta * kDegree) * rc;
    const double l = dL / sl;
    const double c = dC / sc;
    const double h = dH / sh;
    return std::sqrt(l * l + c * c + h * h + rt * c * h);
}

} // namespace loomscope
