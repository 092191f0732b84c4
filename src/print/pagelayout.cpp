#include "pagelayout.h"

#include "model/tembs.h"

#include <algorithm>
#include <cmath>

namespace loomscope {

int pageRound(double value)
{
    // Far beyond any page, but inside an int: a runaway coordinate must not overflow.
    constexpr double kLimit = 1 << 30;
    if (!(value > -kLimit))
        return -(1 << 30);
    if (!(value < kLimit))
        return 1 << 30;
    return static_cast<int>(std::nearbyint(value));
}

PagePoint onCanvas(PagePoint p, double f)
{
    return {pageRound(f * p.x), pageRound(f * p.y)};
}

PageRect frameOnCanvas(double f)
{
    return {pageRound(f * kFrame.left), pageRound(f * kFrame.top), pageRound(f * kFrame.right),
            pageRound(f * kFrame.bottom)};
}

float pageScale(int pageWidth, int pageHeight)
{
    return std::min(static_cast<float>(pageWidth) / kPageWidth,
                    static_cast<float>(pageHeight) / kPageHeight);
}

double unitMillimetres(double f, double dotsPerInch)
{
    return dotsPerInch > 0 && f > 0 ? f * 25.4 / dotsPerInch : kPointMillimetres;
}

float actualSizeScale(double unitMm)
{
    // Model units per millimetre at scale s: 10 s / 2.83465; one unit is unitMm of paper.
    return static_cast<float>(2.83465 / (10 * unitMm));
}

PagePoint placeDesign(Tembs& design, Placement placement, PageRect& designrect, double f,
                      double unitMm)
{
    switch (placement) {
    case Placement::ActualSize:
        design.yibiyi();
        design.Setscale(actualSizeScale(unitMm));
        break;
    case Placement::FitToPaper:
        if (design.dstrect().width() > static_cast<float>(kFrame.width()) ||
            design.dstrect().height() > static_cast<float>(kFrame.height()))
            design.chuangkou(static_cast<float>(kFrame.width()),
                             static_cast<float>(kFrame.height()));
        break;
    case Placement::SelectedArea: {
        design.chuangkou(static_cast<float>(designrect.width()),
                         static_cast<float>(designrect.height()));
        const PagePoint c = designrect.centre();
        return {pageRound(f * c.x), pageRound(f * c.y)};
    }
    }
    // Kept in page units whatever the canvas: a printout must not leave printer pixels
    // behind for the next selected-area page.
    designrect = kFrame;
    return frameOnCanvas(f).centre();
}

Placement initialPlacement(const Tembs& design, double unitMm)
{
    // The extent at actual size: the design's as it stands, rescaled.
    const double k = design.scale() > 0 ? actualSizeScale(unitMm) / design.scale() : 1;
    const bool larger = design.dstrect().width() * k > kFrame.width() ||
                        design.dstrect().height() * k > kFrame.height();
    return larger ? Placement::FitToPaper : Placement::ActualSize;
}

PageRect swatchRect(int k)
{
    const int column = k % 35;
    const int gap = 6 * (column / 5);
    const int rowOffset = 20 * (k / 35 + 1);
    const int left = 54 + 14 * column + gap;
    const int top = 710 + rowOffset;
    return {left, top, left + 11, top + 11};
}

std::optional<PageRect> selectedArea(PagePoint press, PagePoint release)
{
    const PageRect r{press.x, press.y, release.x, release.y};
    if (r.width() > 0 && r.height() > 0)
        return r;
    return std::nullopt;
}

namespace {
PreviewAxis previewAxis(int client, int threshold, int page, int range)
{
    if (client <= threshold)
        return {true, range, 30};
    return {false, client, (client - page) / 2};
}
} // namespace

PreviewAxis previewHorizontal(int clientWidth)
{
    return previewAxis(clientWidth, 600, kPageWidth, 660);
}

PreviewAxis previewVertical(int clientHeight)
{
    return previewAxis(clientHeight, 840, kPageHeight, 900);
}

} // namespace loomscope
