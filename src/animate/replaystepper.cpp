#include "replaystepper.h"

#include "model/uitext.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace loomscope {

namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr int kPointSize = 2;
constexpr int kFastest = 10;

TPointF plus(TPointF a, TPointF b)
{
    return {a.x + b.x, a.y + b.y};
}
TPointF minus(TPointF a, TPointF b)
{
    return {a.x - b.x, a.y - b.y};
}

} // namespace

TColor darkened(TColor colour)
{
    auto down = [](int channel) { return std::max(channel - 50, 0); };
    return rgb(down(redOf(colour)), down(greenOf(colour)), down(blueOf(colour)));
}

std::array<TPointF, kSequinVertices> sequinOutline(TPointF centre, float radius)
{
    std::array<TPointF, kSequinVertices> corners;
    for (int k = 0; k < kSequinVertices; ++k) {
        const double angle = k * 2 * std::numbers::pi / kSequinVertices;
        corners[static_cast<std::size_t>(k)] = {
            static_cast<float>(centre.x + radius * std::cos(angle)),
            static_cast<float>(centre.y + radius * std::sin(angle))};
    }
    return corners;
}

ReplayStepper::ReplayStepper(ReplayStitches stitches, std::function<TColor(int)> readcolorlist)
    : stitches_(std::move(stitches)), readcolorlist_(std::move(readcolorlist))
{
    restart();
}

void ReplayStepper::restart()
{
    ln_ = 0;
    lc_ = 1;
    fcolor_ = readcolorlist_(0);
    drawColour_ = fcolor_;
    zhen_ = !stitches_.empty() && stitches_.records.front().Z == 3;
    fliang_ = false;
    finished_ = stitches_.empty();
}

TPointF ReplayStepper::pos(int i) const
{
    if (stitches_.empty())
        return {};
    const TPoint3F& r = stitches_.records[static_cast<std::size_t>(i)];
    return {r.X, r.Y};
}

void ReplayStepper::tick(ReplaySink& sink, int speed, int linew, bool fzhengji)
{
    // The tick ends with the design: the last record is drawn once, so a colour change or a
    // sequin toggle there cannot count twice.
    const int records = std::clamp(speed, 1, kFastest);
    for (int i = 0; i < records && !finished_; ++i)
        drawRecord(sink, linew, fzhengji);
}

void ReplayStepper::drawRecord(ReplaySink& sink, int linew, bool fzhengji)
{
    const int n = static_cast<int>(stitches_.records.size());
    const std::uint8_t c = stitches_.records[static_cast<std::size_t>(ln_)].Z;
    const TPointF p = pos(ln_);
    // A design of a single record has no next one to sew to.
    const TPointF q = pos(std::min(ln_ + 1, n - 1));

    if (c == kColourChange) {
        fcolor_ = readcolorlist_(lc_);
        ++lc_;
    }
    // Any control byte with both high bits clear is a stitch, as in the viewer's reader:
    // real files carry stitches such as 0x2B (a -81 x and +81 y move) right after jumps.
    if (isStitchControl(c))
        zhen_ = true;
    else if (isBreakControl(c))
        zhen_ = false;

    if (zhen_) {
        // The sixth at each end is darker, where the thread goes into the cloth.
        const TPointF d{(q.x - p.x) / 6, (q.y - p.y) / 6};
        const TColor dark = darkened(fcolor_);
        sink.line(p, plus(p, d), dark, linew);
        sink.line(minus(q, d), q, dark, linew);
        sink.line(plus(p, d), minus(q, d), fcolor_, linew);
        drawColour_ = fcolor_;
    } else {
        sink.dashedLine(p, q, drawColour_, linew);
    }

    if (c == kSequinToggle)
        fliang_ = !fliang_;
    if (fliang_ && isBreakControl(c)) {
        sink.outline(sequinOutline(p, stitches_.Fsequinsizelz), drawColour_, linew);
        sink.outline(sequinOutline(p, stitches_.Fsequinsizez), drawColour_, linew);
    }
    if (fzhengji) {
        sink.point(p, kWhite, kPointSize);
        drawColour_ = kWhite;
    }

    if (ln_ < n - 2)
        ++ln_;
    else
        finished_ = true;
}

std::string ReplayStepper::stitchCounter() const
{
    return fillText(uiText("TForm8", "针数：%1 / %2"),
                    {std::to_string(ln_ + 1), std::to_string(stitches_.Fstitchs)});
}

std::string ReplayStepper::colourCounter() const
{
    return fillText(uiText("TForm8", "色序：%1 / %2"),
                    {std::to_string(lc_), std::to_string(stitches_.Fcolors)});
}

} // namespace loomscope
