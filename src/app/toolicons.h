#pragma once

#include <QIcon>

namespace loomscope {

// The tool strip's pictures, drawn by the program itself so they need no files or theme.
enum class ToolIcon {
    Open,
    SavePicture,
    Previous,
    Next,
    Browser,
    ZoomIn,
    ZoomOut,
    ActualSize,
    Fit,
    Measure,
    ThreadLook,
    Lines,
    StitchPoints,
    MachineCodes,
    SlowDisplay,
    FirstColour,
    PriorColour,
    NextColour,
    EndColour,
    Fabric,
    ColourPanel,
    Screenshot,
    Print,
    Editor,
    Settings,
    WebPage,
    About,
};

QIcon toolIcon(ToolIcon which);

} // namespace loomscope
