// Generates the bundled sample design, a rose badge, and its colour-sequence side file:
//   make_sample OUT.dst
// writes OUT.dst and OUT.lsc. The design is sewn as a shop would digitise it: a tatami fill
// for the sky, filled leaves, a satin stem, satin petals with a running outline, a filled
// centre ringed by sequins, and a satin border, each area reached by jumps, eight colours.

#include "dstbuilder.h"
#include "model/colorsequencefile.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace {

using loomscope::tools::DstBuilder;
constexpr double kPi = std::numbers::pi;

struct Vec {
    double x = 0;
    double y = 0;
};
Vec operator+(Vec a, Vec b)
{
    return {a.x + b.x, a.y + b.y};
}
Vec operator-(Vec a, Vec b)
{
    return {a.x - b.x, a.y - b.y};
}
Vec operator*(Vec a, double s)
{
    return {a.x * s, a.y * s};
}
Vec polar(double r, double angle)
{
    return {r * std::cos(angle), r * std::sin(angle)};
}
Vec rotate(Vec v, double angle)
{
    return {v.x * std::cos(angle) - v.y * std::sin(angle),
            v.x * std::sin(angle) + v.y * std::cos(angle)};
}

class Digitiser {
public:
    void stitchTo(Vec p, int maxLength = 40)
    {
        b_.stitchTo(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)),
                    maxLength);
    }
    // Leave the current area: tie off, jump to the next one, tie in.
    void travelTo(Vec p)
    {
        tie();
        b_.jumpTo(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
        b_.stitch(0, 0);
        tie();
    }
    // Tie off, stop for the next thread, and start it at p.
    void nextColourAt(Vec p)
    {
        tie();
        b_.colourChange();
        b_.jumpTo(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
        b_.stitch(0, 0);
        tie();
    }
    void tie() { b_.stitch(2, 0).stitch(-2, 0).stitch(0, 0); }
    void sequinToggle() { b_.sequinToggle(); }
    void sequinDrop() { b_.record(0, 0, loomscope::tools::DstKind::Jump); }
    void run(const std::vector<Vec>& path, int length)
    {
        for (const Vec& p : path)
            stitchTo(p, length);
    }
    // Satin: zigzag between two rails sampled at `count` steps.
    void satin(const std::function<Vec(double)>& left, const std::function<Vec(double)>& right,
               int count)
    {
        for (int i = 0; i <= count; ++i) {
            const double t = static_cast<double>(i) / count;
            stitchTo(left(t), 121);
            stitchTo(right(std::min(1.0, t + 0.5 / count)), 121);
        }
    }
    // Tatami fill of a convex shape given by its half width along local x for each local y,
    // rows `spacing` apart, stitches `length` long, staggered by thirds from row to row; the
    // local frame is rotated by `angle` and moved to `origin`.
    void fill(const std::function<double(double)>& halfWidth, double yFrom, double yTo,
              double spacing, double length, Vec origin, double angle)
    {
        int row = 0;
        for (double y = yFrom; y <= yTo; y += spacing, ++row) {
            const double hw = halfWidth(y);
            if (hw <= 1)
                continue;
            const double dir = row % 2 ? -1 : 1;
            const double start = -hw * dir;
            const double end = hw * dir;
            const double offset = length * (row % 3) / 3.0;
            stitchTo(origin + rotate({start, y}, angle), 121);
            for (double x = -hw + offset + length; x < hw; x += length) {
                const double along = dir > 0 ? x : -x;
                stitchTo(origin + rotate({along, y}, angle), 121);
            }
            stitchTo(origin + rotate({end, y}, angle), 121);
        }
    }

    DstBuilder& builder() { return b_; }

private:
    DstBuilder b_{"ROSE BADGE"};
};

std::vector<Vec> circle(Vec c, double r, int n, double from = 0)
{
    std::vector<Vec> points;
    for (int i = 0; i <= n; ++i)
        points.push_back(c + polar(r, from + 2 * kPi * i / n));
    return points;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUT.dst\n");
        return 2;
    }
    const std::string out = argv[1];
    Digitiser d;
    const Vec centre{0, 60};
    const double badge = 470;

    // 1 Sky: the round background, filled.
    d.builder().jumpTo(0, -static_cast<int>(badge));
    d.builder().stitch(0, 0);
    d.tie();
    d.fill([&](double y) { return std::sqrt(std::max(0.0, badge * badge - y * y)) - 6; },
           -badge + 4, badge - 4, 2.2, 24, {0, 0}, 0);

    // 2 Leaves: two filled leaves at the foot of the stem.
    bool first = true;
    for (int side : {-1, 1}) {
        const Vec base{side * 40.0, -250};
        const double angle = side * 0.55;
        const double length = 230;
        const Vec mid = base + rotate({0, length / 2}, angle);
        if (first)
            d.nextColourAt(base);
        else
            d.travelTo(base);
        first = false;
        d.fill(
            [&](double y) {
                const double t = (y + length / 2) / length;
                return 60 * std::pow(std::sin(kPi * std::clamp(t, 0.0, 1.0)), 0.9);
            },
            -length / 2, length / 2, 2.5, 26, mid, angle);
    }

    // 3 Stem: a satin column curving up to the flower.
    auto stemAxis = [&](double t) { return Vec{35 * std::sin(2.5 * t), -380 + t * 330}; };
    d.nextColourAt(stemAxis(0));
    d.run({stemAxis(0.5), stemAxis(1)}, 25); // underlay
    d.satin(
        [&](double t) {
            return stemAxis(1 - t) + Vec{-14, 0};
        },
        [&](double t) {
            return stemAxis(1 - t) + Vec{14, 0};
        },
        110);

    // 4 Petals: six satin petals around the centre.
    for (int i = 0; i < 6; ++i) {
        const double a = kPi / 2 + i * kPi / 3;
        const Vec dir = polar(1, a);
        const Vec normal = polar(1, a + kPi / 2);
        auto axis = [&](double t) { return centre + dir * (95 + t * 255); };
        auto width = [&](double t) { return 52 * std::pow(std::sin(kPi * (0.08 + 0.9 * t)), 0.7); };
        if (i == 0)
            d.nextColourAt(axis(0));
        else
            d.travelTo(axis(0));
        d.run({axis(0.95), axis(0.05)}, 30); // centre-walk underlay
        d.satin([&](double t) { return axis(t) + normal * width(t); },
                [&](double t) { return axis(t) - normal * width(t); }, 130);
    }

    // 5 Petal outlines: running stitch along each petal's edge.
    for (int i = 0; i < 6; ++i) {
        const double a = kPi / 2 + i * kPi / 3;
        const Vec dir = polar(1, a);
        const Vec normal = polar(1, a + kPi / 2);
        std::vector<Vec> path;
        for (int k = 0; k <= 24; ++k) {
            const double t = k / 24.0;
            const double w = 54 * std::pow(std::sin(kPi * (0.08 + 0.9 * t)), 0.7);
            path.push_back(centre + dir * (95 + t * 255) + normal * w);
        }
        for (int k = 24; k >= 0; --k) {
            const double t = k / 24.0;
            const double w = 54 * std::pow(std::sin(kPi * (0.08 + 0.9 * t)), 0.7);
            path.push_back(centre + dir * (95 + t * 255) - normal * w);
        }
        if (i == 0)
            d.nextColourAt(path.front());
        else
            d.travelTo(path.front());
        d.run(path, 22);
    }

    // 6 Centre: a filled disc.
    d.nextColourAt(centre + Vec{0, -100});
    d.fill([&](double y) { return std::sqrt(std::max(0.0, 100.0 * 100 - y * y)); }, -98, 98, 3, 24,
           centre, 0.3);

    // 7 Sequins: a ring of sixteen around the centre.
    d.nextColourAt(centre + polar(150, 0));
    d.sequinToggle();
    for (int i = 0; i < 16; ++i) {
        d.stitchTo(centre + polar(150, 2 * kPi * i / 16), 20);
        d.sequinDrop();
    }
    d.sequinToggle();

    // 8 Border: running underlay, then a satin ring.
    d.nextColourAt({badge + 20, 0});
    d.run(circle({0, 0}, badge + 20, 120), 30);
    d.satin([&](double t) { return polar(badge, 2 * kPi * t); },
            [&](double t) { return polar(badge + 42, 2 * kPi * t); }, 1100);
    d.tie();
    d.builder().jumpTo(0, 0);

    const auto bytes = d.builder().machineFile();
    if (FILE* f = std::fopen(out.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    } else {
        std::perror(out.c_str());
        return 1;
    }

    const std::vector<loomscope::TColor> colours = {
        loomscope::rgb(135, 190, 224), loomscope::rgb(34, 102, 51), loomscope::rgb(88, 150, 60),
        loomscope::rgb(214, 58, 96),   loomscope::rgb(120, 20, 40), loomscope::rgb(250, 200, 40),
        loomscope::rgb(212, 175, 55),  loomscope::rgb(26, 40, 90),
    };
    const std::vector<std::string> names = {
        "天蓝 Sky Blue 1675", "Forest Green 1751", "Fern 1769", "Rose 1817",
        "Burgundy 1785",      "Sunflower 1624",    "Gold 1638", "Navy 1843",
    };
    const std::string side = out.substr(0, out.find_last_of('.')) + ".lsc";
    const std::string error = loomscope::writecolorfile(side, "Madeira Polyneon", colours, names);
    if (!error.empty()) {
        std::fprintf(stderr, "%s: %s\n", side.c_str(), error.c_str());
        return 1;
    }
    std::printf("%s: %zu records, %zu bytes\n", out.c_str(), d.builder().recordCount(),
                bytes.size());
    return 0;
}
