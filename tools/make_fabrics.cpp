// Generates the shipped fabric pictures: 128 x 128 weave pictures, 24-bit BMP, that tile
// without a seam. They are grey around the middle: the fabric colour tints them, and the
// picture only gives the weave its light and shade.
//   make_fabrics OUT_FOLDER

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

namespace {

constexpr int kSize = 128;
constexpr double kPi = std::numbers::pi;

// Repeatable noise in 0..1 that wraps at the tile's edges.
double hashNoise(int x, int y, int seed)
{
    unsigned h = static_cast<unsigned>(((x % kSize) + kSize) % kSize) * 374761393u +
                 static_cast<unsigned>(((y % kSize) + kSize) % kSize) * 668265263u +
                 static_cast<unsigned>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

double smoothNoise(double x, double y, int cell, int seed)
{
    const int cells = kSize / cell;
    const int x0 = static_cast<int>(std::floor(x / cell));
    const int y0 = static_cast<int>(std::floor(y / cell));
    const double fx = x / cell - x0;
    const double fy = y / cell - y0;
    auto at = [&](int cx, int cy) {
        return hashNoise(((cx % cells) + cells) % cells, ((cy % cells) + cells) % cells, seed);
    };
    auto s = [](double t) { return t * t * (3 - 2 * t); };
    const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * s(fx);
    const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * s(fx);
    return top + (bottom - top) * s(fy);
}

// Brightness of a thread crossing: round across the thread, shaded along it.
double threadShade(double across, double along)
{
    return 0.55 + 0.45 * std::sin(kPi * std::clamp(across, 0.0, 1.0)) *
                      (0.8 + 0.2 * std::cos(2 * kPi * along));
}

using Pattern = std::function<double(int x, int y)>; // brightness about 0..1, mid grey ~0.5

// The pattern brought to a mean of `level` and a spread of `contrast`: a little below mid grey,
// so that both tints keep the weave's shade (the export's tint flattens everything above mid
// grey, the view's lightens it).
QImage render(const Pattern& pattern, double level, double contrast)
{
    std::vector<double> raw(kSize * kSize);
    double sum = 0, squares = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double v = pattern(x, y);
            raw[static_cast<std::size_t>(y * kSize + x)] = v;
            sum += v;
            squares += v * v;
        }
    const double n = kSize * kSize;
    const double mean = sum / n;
    const double spread = std::sqrt(std::max(squares / n - mean * mean, 1e-9));
    QImage image(kSize, kSize, QImage::Format_RGB888);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double v = raw[static_cast<std::size_t>(y * kSize + x)];
            const double g = std::clamp(level + contrast * (v - mean) / spread, 0.0, 1.0);
            const int grey = static_cast<int>(std::lround(g * 255));
            image.setPixelColor(x, y, QColor(grey, grey, grey));
        }
    return image;
}

// Plain weave: each thread goes over one and under one.
double canvas(int x, int y)
{
    const int period = 8;
    const int cx = x / period, cy = y / period;
    const double ax = double(x % period) / period, ay = double(y % period) / period;
    const bool warpOnTop = (cx + cy) % 2 == 0;
    const double shade = warpOnTop ? threadShade(ax, ay) : threadShade(ay, ax);
    return shade * 0.85 + 0.15 * smoothNoise(x, y, 16, 1);
}

// Twill: the crossing steps one thread across each row, leaving diagonal ribs.
double twill(int x, int y, int repeat)
{
    const int period = 4;
    const int cx = x / period, cy = y / period;
    const double ax = double(x % period) / period, ay = double(y % period) / period;
    const bool warpOnTop = ((cx + cy) % repeat) < repeat / 2;
    return warpOnTop ? threadShade(ax, ay) : threadShade(ay, ax) * 0.9;
}

double satin(int x, int y)
{
    // Long floats with a soft sheen that moves along them.
    const int period = 4;
    const double ay = double(y % period) / period;
    const int cy = y / period;
    const int tie = (cy * 5) % 16; // where each float is tied down, every 16 columns
    const bool tied = (x / 4) % 16 == tie;
    const double sheen = 0.5 + 0.5 * std::cos(2 * kPi * (x + 2.0 * y) / kSize);
    return tied ? 0.35 : 0.45 + 0.35 * std::sin(kPi * ay) * (0.6 + 0.4 * sheen);
}

double felt(int x, int y)
{
    return 0.25 * smoothNoise(x, y, 32, 3) + 0.35 * smoothNoise(x, y, 8, 4) +
           0.4 * hashNoise(x, y, 5);
}

double pique(int x, int y)
{
    // A raised waffle: cells framed by ribs, a plain weave inside.
    const int cell = 16;
    const double u = double(x % cell) / cell, v = double(y % cell) / cell;
    const double rim = std::max(std::abs(u - 0.5), std::abs(v - 0.5)) * 2; // 0 centre, 1 edge
    const double relief = rim > 0.82 ? 0.3 : 0.55 + 0.35 * (1 - rim);
    return relief * 0.8 + 0.2 * canvas(x * 2, y * 2);
}

double linen(int x, int y)
{
    // Plain weave of uneven, slubby threads.
    const double slub = smoothNoise(x, y * 0.25, 16, 7) - 0.5;
    return std::clamp(canvas(x, y) + 0.35 * slub, 0.0, 1.0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fabrics OUT_FOLDER\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const struct {
        const char* name;
        Pattern pattern;
        double level, contrast;
    } fabrics[] = {
        {"canvas", canvas, 0.44, 0.10},
        {"twill", [](int x, int y) { return twill(x, y, 4); }, 0.44, 0.10},
        {"denim", [](int x, int y) { return 0.8 * twill(x, y, 4) + 0.2 * smoothNoise(x, y, 8, 2); },
         0.42, 0.12},
        {"satin", satin, 0.46, 0.08},
        {"felt", felt, 0.44, 0.08},
        {"pique", pique, 0.44, 0.10},
        {"linen", linen, 0.44, 0.10},
    };
    for (const auto& fabric : fabrics) {
        const QString path =
            folder + QLatin1Char('/') + QLatin1String(fabric.name) + QStringLiteral(".bmp");
        if (!render(fabric.pattern, fabric.level, fabric.contrast).save(path, "BMP")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
