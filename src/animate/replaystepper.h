#pragma once

#include "replaysink.h"
#include "replaystitches.h"

#include <array>
#include <functional>
#include <string>

namespace loomscope {

// The sewing of a design replayed record by record, as a machine sews it. Every tick draws the
// next few records on top of what earlier ticks drew, so a tick costs the same at the first
// record and at the millionth: stitches solid in their thread colour with darker ends where
// the thread enters the cloth, travels dashed, sequins as two rings, optional white stitch
// points. Thread colours come from the viewer, one per colour index.
class ReplayStepper {
public:
    ReplayStepper(ReplayStitches stitches, std::function<TColor(int)> readcolorlist);

    // Back to the first record in colour 0; what is drawn is the caller's to clear.
    void restart();
    // Draws the next `speed` records (1 ... 10) with lines `linew` pixels wide and, when
    // `fzhengji`, a white point on every record. Does nothing once the design is finished.
    void tick(ReplaySink& sink, int speed, int linew, bool fzhengji);

    bool finished() const { return finished_; }
    int ln() const { return ln_; }          // the current record
    int lc() const { return lc_; }          // the next thread colour to take
    bool zhen() const { return zhen_; }     // sewing (solid) rather than travelling (dashed)
    bool fliang() const { return fliang_; } // inside a sequin section
    TColor fcolor() const { return fcolor_; }
    const ReplayStitches& stitches() const { return stitches_; }
    // Where the needle marker goes: the current record on the surface.
    TPointF needle() const { return pos(ln_); }

    // The panel's counters: "针数：" current / records and "色序：" colour / colours.
    std::string stitchCounter() const;
    std::string colourCounter() const;

private:
    TPointF pos(int i) const;
    void drawRecord(ReplaySink& sink, int linew, bool fzhengji);

    ReplayStitches stitches_;
    std::function<TColor(int)> readcolorlist_;
    int ln_ = 0;
    int lc_ = 1;
    bool zhen_ = false;
    bool fliang_ = false;
    bool finished_ = false;
    TColor fcolor_ = 0;
    // Travels and sequins take whatever colour was drawn with last, as the stitch points'
    // white does.
    TColor drawColour_ = 0;
};

// A thread colour with each channel 50 darker, not below 0: the ends of a stitch.
TColor darkened(TColor colour);

// The 50 corners of a sequin ring of `radius` around `centre`, at angles k * 2pi / 50.
inline constexpr int kSequinVertices = 50;
std::array<TPointF, kSequinVertices> sequinOutline(TPointF centre, float radius);

} // namespace loomscope
