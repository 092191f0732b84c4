#pragma once

#include "model/colour.h"
#include "viewer/fabrictile.h"

#include <QSize>
#include <QString>
#include <string>
#include <vector>

namespace loomscope {

// Everything a high-resolution picture of a design is made from: what the view shows (its
// background, sequin colour, fabric and thread colours), copied, so the picture can be made
// on another thread while the view goes on.
struct ExportJob {
    std::string designPath;
    QString outputPath;
    TColor backcolor = 0xEEEEEE;
    TColor sequincolor = 0;
    bool fabric = false;
    TColor fabricTint = 0xFFFFFF;
    RgbPicture fabricPicture;
    std::vector<TColor> colours; // thread colour per colour index
    char decimalSeparator = '.';
};

struct ExportResult {
    bool ok = false;
    QString error;
    QSize size; // of the picture written
    int dotsPerInch = 0;
};

// Reads the design again at eight pixels per model unit (at most 3000 pixels on the longer
// side), draws it in the thread look and writes the JPEG. Runs on any thread where an
// off-screen context can be made (see OffscreenGl).
ExportResult exportPicture(const ExportJob& job);

} // namespace loomscope
