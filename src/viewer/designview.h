#pragma once

// What the viewer control knows apart from drawing: the design it owns, the colour of every
// colour index, the colour cursor, where the design lies on screen, the display switches, the
// sequin sizes, the colours of background, text and sequins, the fabric, and the one-shot
// measuring tool. The window (Tloomscope) draws from it and forwards its operations here.

#include "drawing/designlook.h"
#include "drawing/fabrictile.h"
#include "model/colorsequencefile.h"
#include "model/tembs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace loomscope {

// The show types: plain stitch lines, or the thread look.
enum class tdstshow { dsline = 0, dsturetype = 1 };

struct TPointI {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPointI&, const TPointI&) = default;
};

class DesignView {
public:
    DesignView();

    // Loading. `width` and `height` are the control's size. A file that is not there or cannot
    // be read as a design leaves the view empty (`dst` says why). A side file that cannot be
    // read is reported in `sideFile`; the design is shown with its default colours then.
    struct LoadResult {
        bool loaded = false;
        DstReadStatus dst = DstReadStatus::Read;
        ColorFileResult sideFile;
    };
    LoadResult loaddstfile(const std::string& filename, bool chuang, int width, int height);

    // View operations; each changes what a frame shows.
    void Setscale(float factor);        // about the design's centre on screen
    void yibiyi(int width, int height); // scale 1, centred in the control
    void chuangkou(float wid, float hei, int width, int height); // fit, centred
    void offsetpos(float x, float y); // pan, unless it ends a measuring gesture
    void resize(int width, int height);

    void firstcolor();
    void nextcolor();
    void priorcolor();
    void endcolor();
    // Sets the thread colour of one colour index; false (nothing changed) for an index
    // outside the design's colours or the colour already stored.
    bool setcolorlist(int coindex, TColor colour);
    // The thread colour of an index, white outside the design's colours.
    TColor readcolorlist(int coindex) const;
    // The blocks of a colour index take a colour and lose their thread name (Embird colours).
    void recolourBlocks(int coindex, TColor colour) { Fdstfile.recolour(coindex, colour); }

    // Switches and colours.
    tdstshow dstshowtype() const { return fdstshow; }
    void setDstshowtype(tdstshow value);
    bool showpoint() const { return fshowpoint; }
    void setShowpoint(bool value);
    bool showjiqima() const { return fshowjiqima; }
    void setShowjiqima(bool value);
    bool showbeginend() const { return Fshowbeginend; }
    void setShowbeginend(bool value) { Fshowbeginend = value; }
    bool showfont() const { return Fshowfont; }
    void setShowfont(bool value) { Fshowfont = value; }
    TColor backcolor() const { return look_.backcolor; }
    void setBackcolor(TColor value); // the text takes the complement
    TColor fontcolor() const { return FFontcolor; }
    void setFontcolor(TColor value);
    const TColorVector& fontColourInUse() const { return FFontcolorrgb; }
    TColor sequincolor() const { return look_.sequincolor; }
    void setSequincolor(TColor value);
    const TColorVector& sequinColourInUse() const { return Fzhucolorrgb; }
    float sequinsizeD() const { return look_.sequinOuterMm; }
    void setSequinsizeD(float mm);
    float sequinsizeX() const { return look_.sequinHoleMm; }
    void setSequinsizeX(float mm);
    float sequinOuterRadius() const { return Fsequinsizez; }
    float sequinHoleRadius() const { return Fsequinsizelz; }

    // The fabric: on or off, its tint and picture. The text takes the complement of the tint
    // while the fabric is on, of the background otherwise.
    void setbackground(bool on, TColor tint, const RgbPicture& picture);
    bool isbackground() const { return look_.fabric; }
    const FabricTile& fabricTile() const { return pxs2; }
    const RgbPicture& fabricPicture() const { return look_.fabricPicture; }
    TColor fabricTint() const { return look_.fabricTint; }
    // Everything above as one description, for drawing the design elsewhere.
    const DesignLook& look() const { return look_; }

    // The measuring tool: armed by the host, one measurement per arming. Every button press,
    // release and pointer move of the control comes here; the release that ends a
    // measurement is not a pan, so the next offsetpos is swallowed.
    void setCl(bool armed) { fcl = armed; }
    bool armed() const { return fcl; }
    bool measuring() const { return fhua; }
    void measurePress(int x, int y);
    void measureMove(int x, int y);
    void measureRelease(int x, int y);
    TPointI measureStart() const { return fpos1; }
    TPointI measureEnd() const { return fpos2; }
    const std::string& measureText() const { return Fclzhi; }
    void setDecimalSeparator(char separator) { decimalSeparator_ = separator; }
    char decimalSeparator() const { return decimalSeparator_; }

    bool isexist() const { return fisexist; }
    // What the last load made of its file (Read when a design is shown).
    DstReadStatus lastRead() const { return lastRead_; }
    const Tembs& dstfile() const { return Fdstfile; }
    const Tdstinfo& dstinfo() const { return Fdstinfo; }
    const TRectF& dstrect() const { return fglrect; }   // the design's extent on screen
    TPointF origin() const { return fglrect.center(); } // where the design's centre is drawn
    int colorindex() const { return FColorindex; }
    const std::vector<TColor>& colorlist() const { return look_.colours; }
    const std::string& filename() const { return ffilename; }

    // Grows whenever the design's vertex arrays need building again: scale, colours, colour
    // cursor, show type, stitch points, machine codes, sequin sizes or colour.
    std::uint64_t geometryRevision() const { return revision_; }

private:
    void centreIn(int width, int height);
    void updatesequinradii();
    void geometryChanged() { ++revision_; }

    Tembs Fdstfile;
    bool fisexist = false;
    tdstshow fdstshow = tdstshow::dsline;
    bool fshowpoint = false;
    bool fshowjiqima = false;
    TPointF centerpos;
    TRectF fglrect;
    Tdstinfo Fdstinfo;
    int FColorindex = 0;
    bool Fshowbeginend = false;
    bool fcl = false;
    bool fhua = false;
    bool ftingzhi = false;
    std::string Fclzhi;
    TPointI fpos1;
    TPointI fpos2;
    TColor FFontcolor = 0;
    TColorVector FFontcolorrgb{0, 0, 0, 1};
    TColorVector Fzhucolorrgb;
    bool Fshowfont = true;
    float Fsequinsizez = kDefaultSequinOuterMm * kSequinRadiusPerMm;
    float Fsequinsizelz = kDefaultSequinHoleMm * kSequinRadiusPerMm;
    std::string ffilename;
    // Background, fabric, sequins and thread colours.
    DesignLook look_;
    FabricTile pxs2{};
    char decimalSeparator_ = '.';
    std::uint64_t revision_ = 1;
    DstReadStatus lastRead_ = DstReadStatus::Read;
};

} // namespace loomscope
