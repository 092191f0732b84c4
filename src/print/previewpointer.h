#pragma once

#include "pagelayout.h"

#include <optional>

namespace loomscope {

// What the mouse does on the print preview. "选择区域" arms it for one drag that selects the
// area the design is fitted into; "选择位置" arms it for one press that places the free text.
// The window shows the band and the cursor the answers ask for and applies what they give;
// the states and their rules live here, where they can be tested without a window.
class PreviewPointer {
public:
    void armArea();         // the next drag selects the area
    void armTextPosition(); // the next press places the text
    void reset();           // a page shown afresh: nothing armed, no drag

    struct Step {
        std::optional<PageRect> band;     // the rubber band to show now
        bool bandGone = false;            // the band is to be taken away
        bool cursorBack = false;          // the ordinary cursor again
        std::optional<PageRect> area;     // an area was selected (right and down only)
        std::optional<PagePoint> textpos; // the text goes here
    };
    Step press(PagePoint at);
    Step move(PagePoint at);
    Step release(PagePoint at);

    bool armed() const { return areaArmed_ || textArmed_; }
    bool dragging() const { return dragging_; }

private:
    bool areaArmed_ = false; // isselectrgn
    bool textArmed_ = false; // istextpos
    bool dragging_ = false;  // ismousedown
    PagePoint from_;         // fpos1
};

} // namespace loomscope
