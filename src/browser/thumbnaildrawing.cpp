#include "thumbnaildrawing.h"

#include "model/designfile.h"
#include "model/fileio.h"

#include <algorithm>
#include <cmath>

namespace loomscope {

namespace {

// The points a block is drawn through: all but its last.
std::size_t drawnPoints(const TGraphObject& block)
{
    return block.FPointList.size() < 3 ? 0 : block.FPointList.size() - 1;
}

// A model unit is 0.1 mm / 2.83465 at scale 1; thread is about 0.4 mm wide.
constexpr double kThreadWidthInUnits = 4 / 2.83465;
// Pixels a file manager's thumbnail may touch: some fifty coats over a 1024 x 1024 picture,
// a fraction of a second. Real designs need a few per cent of it; a file that needs more is
// a solid blot long before the budget runs out.
constexpr std::size_t kThumbnailWorkBudget = std::size_t{50} << 20;

} // namespace

void drawListThumbnail(const Tembs& fitted, PixelCanvas& canvas)
{
    const TRectF& r = fitted.dstrect();
    const double w = r.right - r.left;
    const double h = r.bottom - r.top;
    const int ox = static_cast<int>(std::trunc((canvas.width() - w) / 2));
    const int oy = static_cast<int>(std::trunc((canvas.height() - h) / 2));
    auto px = [&](const TPoint3F& p) { return static_cast<int>(std::trunc(w / 2 + p.X)) + ox; };
    auto py = [&](const TPoint3F& p) { return static_cast<int>(std::trunc(h / 2 + p.Y)) + oy; };
    for (const TGraphObject* block : fitted.Graphlist()) {
        const std::size_t n = drawnPoints(*block);
        const TPointList& points = block->FPointList;
        for (std::size_t k = 1; k < n; ++k)
            canvas.hardLine(px(points[k - 1]), py(points[k - 1]), px(points[k]), py(points[k]),
                            block->FColor);
    }
}

ListThumbnail makeListThumbnail(const std::string& path, const std::string& sideFile)
{
    ListThumbnail result;
    Tembs design;
    // Gone since the folder was listed, no permission, too short: the row says so and counts
    // for nothing, rather than showing a design of no stitches that would still be billed.
    DesignLoadOptions options{SideFiles::Given, {}};
    if (!sideFile.empty())
        options.givenSideFile = sideFile;
    // A side file that cannot be read changes nothing: the row shows the palette colours, as
    // for a design without one, and the rest of the folder is still listed.
    const DesignLoad load = loadDesign(design, path, options);
    if (!load.read()) {
        result.error = load.reason;
        return result;
    }
    design.chuangkou(kListThumbnailSize, kListThumbnailSize);
    result.info = design.info();
    drawListThumbnail(design, result.picture);
    return result;
}

PixelCanvas drawFileManagerThumbnail(const Tembs& design, int size)
{
    size = std::clamp(size, 1, kLargestThumbnailSize);
    // The stitches' own extent: the design's extent less the margin the reader adds.
    const TRectF& r = design.dstrect();
    const double margin = 20 * double(design.scale());
    const double left = r.left + margin;
    const double top = r.top + margin;
    const double w = std::max(0.0, double(r.right) - r.left - 2 * margin);
    const double h = std::max(0.0, double(r.bottom) - r.top - 2 * margin);
    const double longer = std::max(w, h);
    if (!(longer > 0) || !std::isfinite(longer))
        return PixelCanvas(size, size, 0, 0);

    const int pw = w >= h ? size : std::max(1, static_cast<int>(std::lround(size * w / h)));
    const int ph = h > w ? size : std::max(1, static_cast<int>(std::lround(size * h / w)));
    PixelCanvas canvas(pw, ph, 0, 0);
    canvas.setWorkBudget(kThumbnailWorkBudget);

    // Thread width at this size, but never thinner than a pixel (the picture would fade) nor
    // thicker than three (small pictures would blot). Half a line's width stays free at the
    // edges so no line is cut.
    const double rough = (size - 1) / longer;
    const double line = std::clamp(kThreadWidthInUnits * double(design.scale()) * rough, 1.0, 3.0);
    const double s = std::max(size - line - 1, 1.0) / longer;
    const double x0 = (pw - w * s) / 2;
    const double y0 = (ph - h * s) / 2;
    for (const TGraphObject* block : design.Graphlist()) {
        const std::size_t n = drawnPoints(*block);
        const TPointList& points = block->FPointList;
        for (std::size_t k = 1; k < n; ++k) {
            canvas.smoothLine(x0 + (points[k - 1].X - left) * s, y0 + (points[k - 1].Y - top) * s,
                              x0 + (points[k].X - left) * s, y0 + (points[k].Y - top) * s, line,
                              block->FColor);
            if (canvas.budgetSpent())
                return canvas;
        }
    }
    return canvas;
}

} // namespace loomscope
