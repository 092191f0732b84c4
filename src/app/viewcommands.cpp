#include "viewcommands.h"

#include "mainactions.h"
#include "viewer/tloomscope.h"

#include <QAction>

namespace loomscope {

void connectViewCommands(const MainActions& a, Tloomscope& view,
                         std::function<void(int row)> colourStepShown)
{
    Tloomscope* v = &view;
    auto on = [v](QAction* action, auto work) {
        QObject::connect(action, &QAction::triggered, v, work);
    };
    on(a.enlarge, [v] { v->Setscale(1.2f); });
    on(a.reduce, [v] { v->Setscale(0.8f); });
    on(a.actualSize, [v] { v->yibiyi(); });
    on(a.fit,
       [v] { v->chuangkou(static_cast<float>(v->width()), static_cast<float>(v->height())); });
    on(a.measure, [v] { v->Setcl(true); });
    on(a.threadLook, [v] { v->Setdstshowtype(tdstshow::dsturetype); });
    on(a.lines, [v] { v->Setdstshowtype(tdstshow::dsline); });
    on(a.toggleShowType, [v] {
        v->Setdstshowtype(v->dstshowtype() == tdstshow::dsturetype ? tdstshow::dsline
                                                                   : tdstshow::dsturetype);
    });
    on(a.stitchPoints, [v] { v->Setshowpoint(!v->showpoint()); });
    on(a.machineCodes, [v] { v->Setshowjiqima(!v->showjiqima()); });
    on(a.toggleBeginEnd, [v] { v->Setshowbeginend(!v->showbeginend()); });
    // Home selects the sequence's first row, Page Up the one after the cursor, Page Down and
    // End the one at it.
    on(a.firstColour, [v, colourStepShown] {
        v->firstcolor();
        colourStepShown(1);
    });
    on(a.priorColour, [v, colourStepShown] {
        v->priorcolor();
        colourStepShown(v->colorindex() + 1);
    });
    on(a.nextColour, [v, colourStepShown] {
        v->nextcolor();
        colourStepShown(v->colorindex());
    });
    on(a.endColour, [v, colourStepShown] {
        v->endcolor();
        colourStepShown(v->dstinfo().Fcolorcount);
    });
}

} // namespace loomscope
