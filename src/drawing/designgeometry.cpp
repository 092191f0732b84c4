#include "designgeometry.h"

#include "model/palette.h"
#include "model/tembs.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>

namespace loomscope {

namespace {

constexpr int kSequinSteps = 50;
constexpr int kStartMarkSteps = 180;
constexpr float kStartMarkRadius = 5;

bool hasSequin(const TGraphObject& block, const TPoint3F& p)
{
    return block.Fissequin && p.Z >= kFirstBreak;
}

LineVertex lineVertex(float x, float y, TColor c)
{
    return {x,
            y,
            static_cast<std::uint8_t>(redOf(c)),
            static_cast<std::uint8_t>(greenOf(c)),
            static_cast<std::uint8_t>(blueOf(c)),
            255};
}

// A closed outline as line segments.
template <typename Vertex, typename Make>
void appendLoop(std::vector<Vertex>& out, const std::vector<TPointF>& circle, float cx, float cy,
                float radius, Make make)
{
    const std::size_t n = circle.size();
    for (std::size_t k = 0; k < n; ++k) {
        const TPointF& a = circle[k];
        const TPointF& b = circle[(k + 1) % n];
        out.push_back(make(cx + radius * a.x, cy + radius * a.y));
        out.push_back(make(cx + radius * b.x, cy + radius * b.y));
    }
}

std::uint8_t byteOf(float channel)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255));
}

std::vector<TPointF> makeCircle(int steps)
{
    std::vector<TPointF> circle;
    for (int k = 0; k < steps; ++k) {
        const double a = k * 2 * std::numbers::pi / steps;
        circle.push_back({static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))});
    }
    return circle;
}

// Sequins: 50 steps; the start mark: 2-degree steps.
const std::vector<TPointF>& sequinCircle()
{
    static const std::vector<TPointF> circle = makeCircle(kSequinSteps);
    return circle;
}
const std::vector<TPointF>& markCircle()
{
    static const std::vector<TPointF> circle = makeCircle(kStartMarkSteps);
    return circle;
}

} // namespace

TColor cursorColour(int index, const std::vector<TColor>& colours, int cursor)
{
    if (index >= cursor)
        return 0;
    if (index >= 0 && static_cast<std::size_t>(index) < colours.size())
        return colours[static_cast<std::size_t>(index)];
    return paletteColor(index);
}

LineGeometry buildLineGeometry(const Tembs& design, const std::vector<TColor>& colours, int cursor,
                               const LineOptions& options)
{
    LineGeometry g;
    std::size_t total = 0;
    for (const TGraphObject* block : design.Graphlist())
        total += block->FPointList.size();
    g.lines.reserve(2 * total + 2 * design.Graphlist().Count());
    if (options.showPoints)
        g.points.reserve(2 * total);

    bool haveEnd = false;
    TPointF lastEnd;
    int blockNumber = 0;
    for (const TGraphObject* block : design.Graphlist()) {
        const TPointList& p = block->FPointList;
        const std::size_t n = p.size();
        const TColor colour = cursorColour(block->FColorindex, colours, cursor);
        auto make = [colour](float x, float y) { return lineVertex(x, y, colour); };

        if (options.showCodes && blockNumber > 0 && haveEnd && n > 0) {
            g.commands.push_back({static_cast<int>(g.lines.size()), 2, true});
            g.lines.push_back(make(lastEnd.x, lastEnd.y));
            g.lines.push_back(make(p[0].X, p[0].Y));
        }
        const int first = static_cast<int>(g.lines.size());
        for (std::size_t i = 1; i + 1 < n; ++i) {
            g.lines.push_back(make(p[i - 1].X, p[i - 1].Y));
            g.lines.push_back(make(p[i].X, p[i].Y));
            if (hasSequin(*block, p[i])) {
                appendLoop(g.lines, sequinCircle(), p[i].X, p[i].Y, options.sequinHole, make);
                appendLoop(g.lines, sequinCircle(), p[i].X, p[i].Y, options.sequinOuter, make);
            }
            haveEnd = true;
            lastEnd = {p[i].X, p[i].Y};
        }
        const int count = static_cast<int>(g.lines.size()) - first;
        if (count > 0) {
            // Runs of undashed lines draw as one.
            if (!g.commands.empty() && !g.commands.back().dashed &&
                g.commands.back().first + g.commands.back().count == first)
                g.commands.back().count += count;
            else
                g.commands.push_back({first, count, false});
        }

        if (options.showPoints)
            for (std::size_t i = 0; i + 1 < n; ++i) {
                g.points.push_back(p[i].X);
                g.points.push_back(p[i].Y);
            }
        if (options.showCodes && n >= 2) {
            auto black = [](float x, float y) { return lineVertex(x, y, 0); };
            appendLoop(g.marks, markCircle(), p[0].X, p[0].Y, kStartMarkRadius, black);
            const TPoint3F& s = p[n - 2];
            const TPointF tri[3] = {{s.X - 7, s.Y + 3}, {s.X, s.Y - 10}, {s.X + 7, s.Y + 3}};
            for (int k = 0; k < 3; ++k) {
                g.marks.push_back(black(tri[k].x, tri[k].y));
                g.marks.push_back(black(tri[(k + 1) % 3].x, tri[(k + 1) % 3].y));
            }
        }
        ++blockNumber;
    }
    return g;
}

std::vector<StrokeVertex> smoothStrokes(const std::vector<LineVertex>& pairs)
{
    std::vector<StrokeVertex> quads;
    quads.reserve(pairs.size() * 2);
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
        const LineVertex& a = pairs[i];
        const LineVertex& b = pairs[i + 1];
        float dx = b.x - a.x;
        float dy = b.y - a.y;
        const float length = std::hypot(dx, dy);
        if (length > 0) {
            dx /= length;
            dy /= length;
        } else {
            dx = 1;
            dy = 0;
        }
        // Three quarters of a pixel to either side of the line.
        const float nx = -dy * kStrokeHalfWidth;
        const float ny = dx * kStrokeHalfWidth;
        auto at = [](const LineVertex& v, float ox, float oy, float t) {
            return StrokeVertex{v.x + ox, v.y + oy, t, v.r, v.g, v.b, v.a};
        };
        quads.push_back(at(a, nx, ny, 0));
        quads.push_back(at(b, nx, ny, 0));
        quads.push_back(at(b, -nx, -ny, 1));
        quads.push_back(at(a, -nx, -ny, 1));
    }
    return quads;
}

void buildThreadGeometryInPieces(const Tembs& design, const std::vector<TColor>& colours,
                                 int cursor, const ThreadOptions& options, std::size_t maxVertices,
                                 const std::function<void(ThreadGeometry&&)>& emit)
{
    ThreadGeometry g;
    std::size_t total = 0;
    for (const TGraphObject* block : design.Graphlist())
        total += block->FPointList.size();
    const std::size_t room = std::min(12 * total, maxVertices + 12 * 50);
    g.vertices.reserve(room);

    const auto& circle = sequinCircle();
    const TColorVector& sc = options.sequinColour;
    const std::uint8_t sr = byteOf(sc.red), sg = byteOf(sc.green), sb = byteOf(sc.blue),
                       sa = byteOf(sc.alpha);
    std::map<TColor, int> textureOf;
    std::vector<TColor> threadColours;
    // Appends the vertices from `first` on as a command, joined to the one before when it
    // draws the same way, so a run of blocks of one colour is one draw.
    auto add = [&](ThreadDraw kind, std::size_t first, int texture) {
        const int count = static_cast<int>(g.vertices.size() - first);
        if (count == 0)
            return;
        if (!g.commands.empty()) {
            ThreadCommand& last = g.commands.back();
            if (last.kind == kind && last.texture == texture &&
                last.first + last.count == static_cast<int>(first)) {
                last.count += count;
                return;
            }
        }
        g.commands.push_back({kind, static_cast<int>(first), count, texture});
    };
    auto flush = [&] {
        g.threadColours = threadColours;
        emit(std::move(g));
        g = ThreadGeometry();
        g.vertices.reserve(room);
    };

    std::uint32_t stitchNumber = 0;
    for (const TGraphObject* block : design.Graphlist()) {
        const TPointList& p = block->FPointList;
        const std::size_t n = p.size();
        if (n < 3)
            continue; // no stitch, no texture
        const TColor colour = cursorColour(block->FColorindex, colours, cursor);
        auto [it, inserted] = textureOf.try_emplace(colour, static_cast<int>(threadColours.size()));
        if (inserted)
            threadColours.push_back(colour);
        const int texture = it->second;

        std::size_t runStart = g.vertices.size();
        for (std::size_t i = 1; i + 1 < n; ++i, ++stitchNumber) {
            const TPointF prev{p[i - 1].X, p[i - 1].Y};
            const TPointF cur{p[i].X, p[i].Y};
            if (hasSequin(*block, p[i])) {
                add(ThreadDraw::Bands, runStart, texture);
                const std::size_t fillStart = g.vertices.size();
                const float ro = options.sequinOuter;
                const float rh = options.sequinHole;
                for (std::size_t k = 0; k < circle.size(); ++k) {
                    const TPointF& a0 = circle[k];
                    const TPointF& a1 = circle[(k + 1) % circle.size()];
                    g.vertices.push_back(
                        {cur.x + rh * a0.x, cur.y + rh * a0.y, 0, 0, sr, sg, sb, sa});
                    g.vertices.push_back(
                        {cur.x + rh * a1.x, cur.y + rh * a1.y, 0, 0, sr, sg, sb, sa});
                    g.vertices.push_back(
                        {cur.x + ro * a1.x, cur.y + ro * a1.y, 0, 0, sr, sg, sb, sa});
                    g.vertices.push_back(
                        {cur.x + ro * a0.x, cur.y + ro * a0.y, 0, 0, sr, sg, sb, sa});
                }
                add(ThreadDraw::SequinFill, fillStart, -1);
                const std::size_t outlineStart = g.vertices.size();
                auto black = [](float x, float y) {
                    return ThreadVertex{x, y, 0, 0, 0, 0, 0, 255};
                };
                appendLoop(g.vertices, circle, cur.x, cur.y, rh, black);
                appendLoop(g.vertices, circle, cur.x, cur.y, ro, black);
                add(ThreadDraw::SequinOutline, outlineStart, -1);
                runStart = g.vertices.size();
            }
            const bool forward = bandforward(prev, cur);
            const ThreadBand band =
                stitchband(forward ? prev : cur, forward ? cur : prev, options.halfWidth);
            const auto quads = bandQuads(band, twistPhase(stitchNumber));
            g.vertices.insert(g.vertices.end(), quads.begin(), quads.end());
            if (g.vertices.size() >= maxVertices) {
                add(ThreadDraw::Bands, runStart, texture);
                flush();
                runStart = 0;
            }
        }
        add(ThreadDraw::Bands, runStart, texture);
    }
    flush();
}

ThreadGeometry buildThreadGeometry(const Tembs& design, const std::vector<TColor>& colours,
                                   int cursor, const ThreadOptions& options)
{
    ThreadGeometry all;
    buildThreadGeometryInPieces(design, colours, cursor, options, SIZE_MAX,
                                [&all](ThreadGeometry&& g) { all = std::move(g); });
    return all;
}

} // namespace loomscope
