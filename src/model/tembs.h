#pragma once

#include "colorsequencefile.h"
#include "dstshape.h"
#include "embroideryformats.h"
#include "geometry.h"
#include "tgraphlist.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace loomscope {

// What became of a request to read a DST file.
enum class DstReadStatus {
    Read,           // every field describes the file
    WrongExtension, // not a design's extension in any letter case: nothing changed
    TooShort,       // fewer than 523 bytes: name set, blocks of the previous design kept
    CannotOpen,     // could not be opened or mapped: as TooShort
    TooLarge,       // more records than the reader accepts: as TooShort
    Missing,        // no file of that name (gone since it was listed): as CannotOpen
};

// The other formats are read whole; a file larger than this is not a design.
inline constexpr std::size_t kMaxOtherFormatBytes = std::size_t{64} << 20;

// Summary of a design, copied out by its users.
struct Tdstinfo {
    int Fstitchcount = 0;
    int Fcolorcount = 0;
    double Fwidth = 0;  // mm
    double Fheight = 0; // mm
    int lpcount = 0;    // sequins
};

// One embroidery design in memory: its colour blocks, extent, counts and current view scale.
//
// Coordinates are model units: a DST length (0.1 mm) divided by 2.83465 and multiplied by the
// current scale, centred on the middle of the design, y pointing down. Scaling rewrites every
// point in place, so drawing code only adds the centre of its own area. The design owns its
// blocks; Graphlist() lists them in stitch order.
class Tembs {
public:
    Tembs();
    ~Tembs();
    Tembs(const Tembs&) = delete;
    Tembs& operator=(const Tembs&) = delete;

    // Reads a design file: DST, or PES, PEC, JEF, EXP, VP3 or XXX by its extension (any letter
    // case); any other name is ignored. The other formats are drawn as DST designs, with
    // their own facts and thread colours.
    DstReadStatus loadfromfile(const std::string& filepath);
    // The same whatever the file is called: a file manager's sandboxed thumbnailer is given a
    // copy under a made-up name.
    DstReadStatus loadcontent(const std::string& filepath);
    // Reads DST bytes (512-byte header, then 3-byte records); the file reader's engine, also
    // used by tests and fuzzing. Fills every field as loadfromfile does, except the name.
    DstReadStatus readdstbytes(std::span<const std::uint8_t> bytes);
    // The same from records given as moves (dstSteps of a design of another format): the
    // design is what readdstbytes makes of the file those records would be written to. Their
    // shape (dstShapeOf), where already known, spares a pass through them.
    DstReadStatus readdststeps(std::span<const DstStep> steps, const DstShape* shape = nullptr);
    // Forgets the design: no blocks, counts, extent or points, scale 0, as a new design. The
    // name and colour card stay.
    void clear();
    // Applies a colour-sequence side file to the blocks and the colour card.
    ColorFileResult loadcolorfile(const std::string& filepath);
    // The same from bytes already read.
    ColorFileResult applycolorsequence(std::span<const std::uint8_t> bytes);
    // Gives every block of colour index `colourIndex` the colour and no thread name, as the
    // Embird colour loader does.
    void recolour(int colourIndex, TColor colour);

    void firstcolor() { FColorindex = 0; }
    void nextcolor();
    void priorcolor();
    void endcolor() { FColorindex = Fcolorcount; }
    // One-to-one: scale back to 1.
    void yibiyi();
    // Fit to window: the largest scale at which the extent with its margin fits wid x hei.
    void chuangkou(float wid, float hei);
    void zoomin() { Setscale(0.8f); }
    void zoomout() { Setscale(1.2f); }

    // Multiplies the scale by `factor`. Refused (false, nothing changes) once the scale has
    // passed 0.1 going down or 10 going up, and for factors that are not finite and positive.
    bool Setscale(float factor);
    void SetColorindex(int value);
    // Copies the first colour-count entries into the palette text list.
    void Setcolorlist(const std::vector<std::string>& list);

    const std::vector<std::string>& colorlist() const { return Fcolorlist; }
    const TGraphlist& Graphlist() const { return FObjectlist; }
    const std::string& colorcard() const { return Fcolorcard; }
    const TRectF& dstrect() const { return Fdstrect; }
    double width() const { return Fwidth; }
    double height() const { return Fheight; }
    float scale() const { return Fscale; }
    int colorcount() const { return Fcolorcount; }
    int sequins() const { return Fsequins; }
    int stitchs() const { return Fstitchs; }
    int Colorindex() const { return FColorindex; }
    // First and last record at the current scale.
    TPointF firstpoint() const { return Ffirstpoint1; }
    TPointF lastpoint() const { return Flastpoint1; }
    // The same at scale 1.
    TPointF firstpointUnscaled() const { return Ffirstpoint; }
    TPointF lastpointUnscaled() const { return Flastpoint; }
    const std::string& dstfilename() const { return ffilename; }
    // The system's words for why the last file could not be opened or read ("Permission
    // denied"); empty after a read that opened the file.
    const std::string& readError() const { return freadError; }
    Tdstinfo info() const { return {Fstitchs, Fcolorcount, Fwidth, Fheight, Fsequins}; }
    // The format of the design read last.
    DesignFormat format() const { return Fformat; }
    // The thread colours the file itself gives, one per colour index; empty for formats that
    // name none (DST, EXP).
    const std::vector<TColor>& threadColours() const { return Fthreadcolours; }

private:
    DstReadStatus readdst(const std::string& filepath);
    template <typename Feed>
    DstReadStatus readrecords(std::size_t n, Feed&& feed, const DstShape* shape = nullptr);
    static std::optional<DesignFormat> formatOfContent(const std::string& filepath);
    DstReadStatus readOtherFormat(const std::string& filepath, DesignFormat format);
    DstReadStatus keepPreviousDesign(DstReadStatus why);
    void addblock(TPointList points, TColor colour, int colourIndex, bool sequin);
    void clearblocks();

    std::vector<std::string> Fcolorlist;
    // Owns what FObjectlist lists; a deque, so that a block stays where it is as others are
    // added, and tens of thousands of blocks take a few hundred allocations, not one each.
    std::deque<TGraphObject> blocks_;
    TGraphlist FObjectlist;
    std::string Fcolorcard;
    TRectF Fdstrect;
    double Fwidth = 0;
    double Fheight = 0;
    float Fscale = 0;
    int Fcolorcount = 0;
    int Fsequins = 0;
    int Fstitchs = 0;
    int FColorindex = 0;
    TPointF Ffirstpoint;
    TPointF Flastpoint;
    TPointF Ffirstpoint1;
    TPointF Flastpoint1;
    std::string ffilename;
    std::string freadError;
    DesignFormat Fformat = DesignFormat::Dst;
    std::vector<TColor> Fthreadcolours;
};

} // namespace loomscope
