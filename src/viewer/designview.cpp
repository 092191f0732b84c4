#include "designview.h"

#include "model/colortable.h"
#include "model/designfile.h"
#include "model/fileio.h"
#include "model/numberformat.h"

#include <cmath>

namespace loomscope {

DesignView::DesignView() : Fzhucolorrgb(colortovector(11842740, 255)) {}

DesignView::LoadResult DesignView::loaddstfile(const std::string& filename, bool chuang, int width,
                                               int height)
{
    LoadResult result;
    result.loaded = true;
    // A file gone since it was listed is shown as what it is now: nothing to show. Keeping
    // the previous design would show it under the new name.
    const DesignLoad load = loadDesign(Fdstfile, filename);
    result.dst = load.status;
    result.sideFile = load.sideFileResult;
    lastRead_ = result.dst;
    ffilename = filename;
    if (result.dst != DstReadStatus::Read) {
        // The reader keeps the previous design's blocks; shown under the new file's name they
        // would tell a lie. The view shows its background only until a design is read.
        Fdstfile.clear();
        Fdstinfo = Fdstfile.info();
        look_.colours.clear();
        FColorindex = 0;
        fisexist = false;
        fglrect = {};
        updatesequinradii();
        geometryChanged();
        return result;
    }
    Fdstinfo = Fdstfile.info();
    look_.colours = colorTableFromBlocks(Fdstfile);
    FColorindex = Fdstfile.colorcount();
    fisexist = true;
    if (chuang) {
        chuangkou(static_cast<float>(width), static_cast<float>(height), width, height);
    } else {
        centerpos = {static_cast<float>(width) / 2, static_cast<float>(height) / 2};
        fglrect = Fdstfile.dstrect().translated(centerpos.x, centerpos.y);
        updatesequinradii();
    }
    geometryChanged();
    return result;
}

void DesignView::Setscale(float factor)
{
    if (fhua)
        return;
    const TPointF c = fglrect.center();
    if (Fdstfile.Setscale(factor))
        geometryChanged();
    fglrect = Fdstfile.dstrect().translated(c.x, c.y);
    updatesequinradii();
}

void DesignView::centreIn(int width, int height)
{
    fglrect = Fdstfile.dstrect().translated(static_cast<float>(width / 2),
                                            static_cast<float>(height / 2));
    updatesequinradii();
    geometryChanged();
}

void DesignView::yibiyi(int width, int height)
{
    Fdstfile.yibiyi();
    centreIn(width, height);
}

void DesignView::chuangkou(float wid, float hei, int width, int height)
{
    Fdstfile.chuangkou(wid, hei);
    centreIn(width, height);
}

void DesignView::offsetpos(float x, float y)
{
    if (ftingzhi) {
        ftingzhi = false;
        return;
    }
    fglrect = fglrect.translated(x, y);
}

void DesignView::resize(int width, int height)
{
    if (fisexist)
        centerpos = {static_cast<float>(width) / 2, static_cast<float>(height) / 2};
}

void DesignView::firstcolor()
{
    FColorindex = 0;
    geometryChanged();
}

void DesignView::nextcolor()
{
    if (FColorindex < Fdstfile.colorcount())
        ++FColorindex;
    geometryChanged();
}

void DesignView::priorcolor()
{
    if (FColorindex > 0)
        --FColorindex;
    geometryChanged();
}

void DesignView::endcolor()
{
    FColorindex = Fdstfile.colorcount();
    geometryChanged();
}

bool DesignView::setcolorlist(int coindex, TColor colour)
{
    if (coindex < 0 || coindex >= static_cast<int>(look_.colours.size()))
        return false;
    TColor& stored = look_.colours[static_cast<std::size_t>(coindex)];
    if (stored == colour)
        return false;
    stored = colour;
    geometryChanged();
    return true;
}

TColor DesignView::readcolorlist(int coindex) const
{
    if (coindex < 0 || coindex >= static_cast<int>(look_.colours.size()))
        return 0xFFFFFF;
    return look_.colours[static_cast<std::size_t>(coindex)];
}

void DesignView::setDstshowtype(tdstshow value)
{
    fdstshow = value;
    geometryChanged();
}

void DesignView::setShowpoint(bool value)
{
    fshowpoint = value;
    geometryChanged();
}

void DesignView::setShowjiqima(bool value)
{
    fshowjiqima = value;
    geometryChanged();
}

void DesignView::setBackcolor(TColor value)
{
    look_.backcolor = value;
    FFontcolorrgb = colortovector(complementOf(value), 255);
}

void DesignView::setFontcolor(TColor value)
{
    FFontcolor = value;
    FFontcolorrgb = colortovector(value, 255);
}

void DesignView::setSequincolor(TColor value)
{
    look_.sequincolor = value;
    Fzhucolorrgb = colortovector(value, 255);
    geometryChanged();
}

void DesignView::setSequinsizeD(float mm)
{
    look_.sequinOuterMm = mm;
    updatesequinradii();
    geometryChanged();
}

void DesignView::setSequinsizeX(float mm)
{
    look_.sequinHoleMm = mm;
    updatesequinradii();
    geometryChanged();
}

void DesignView::updatesequinradii()
{
    Fsequinsizez = look_.sequinOuterMm * Fdstfile.scale() * kSequinRadiusPerMm;
    Fsequinsizelz = look_.sequinHoleMm * Fdstfile.scale() * kSequinRadiusPerMm;
}

void DesignView::setbackground(bool on, TColor tint, const RgbPicture& picture)
{
    if (on) {
        pxs2 = tintfabric(picture, tint, FabricTint::Viewer);
        look_.fabricPicture = picture;
        look_.fabricTint = tint;
    }
    look_.fabric = on;
    FFontcolorrgb =
        colortovector(textColourOver(look_.backcolor, look_.fabric, look_.fabricTint), 255);
}

void DesignView::measurePress(int x, int y)
{
    if (!fcl) {
        // A new gesture: the release of an earlier measurement is no longer pending, even
        // when the host never passed it on (a measurement begun outside the design).
        ftingzhi = false;
        return;
    }
    fpos1 = fpos2 = {x, y};
    fhua = true;
    ftingzhi = true;
}

void DesignView::measureMove(int x, int y)
{
    if (!fcl || !fhua)
        return;
    fpos2 = {x, y};
    const double d = std::hypot(double(x - fpos1.x), double(y - fpos1.y));
    const double scale = Fdstfile.scale() > 0 ? Fdstfile.scale() : 1;
    Fclzhi = formatOneDecimal(d * (1 / scale) / kModelUnitsPerMm, decimalSeparator_) + "mm";
}

void DesignView::measureRelease(int, int)
{
    if (!fcl)
        return;
    Fclzhi.clear();
    fcl = false;
    fhua = false;
    fpos2 = {-1, -1};
}

} // namespace loomscope
