#include "previewpointer.h"

namespace loomscope {

void PreviewPointer::armArea()
{
    areaArmed_ = true;
    textArmed_ = false;
}

void PreviewPointer::armTextPosition()
{
    textArmed_ = true;
    areaArmed_ = false;
}

void PreviewPointer::reset()
{
    areaArmed_ = textArmed_ = dragging_ = false;
}

PreviewPointer::Step PreviewPointer::press(PagePoint at)
{
    Step step;
    if (areaArmed_) {
        from_ = at;
        dragging_ = true;
        step.band = PageRect{at.x, at.y, at.x, at.y};
    } else if (textArmed_) {
        textArmed_ = false;
        step.cursorBack = true;
        step.textpos = at;
    }
    return step;
}

PreviewPointer::Step PreviewPointer::move(PagePoint at)
{
    Step step;
    if (dragging_)
        step.band = PageRect{from_.x, from_.y, at.x, at.y};
    return step;
}

PreviewPointer::Step PreviewPointer::release(PagePoint at)
{
    Step step;
    if (!dragging_)
        return step;
    areaArmed_ = dragging_ = false;
    step.bandGone = true;
    step.cursorBack = true;
    // A drag up or to the left selects nothing, and leaves the last area as it was.
    step.area = selectedArea(from_, at);
    return step;
}

} // namespace loomscope
