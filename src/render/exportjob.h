#pragma once

#include "drawing/designlook.h"
#include "exportlayout.h"
#include "model/colour.h"

#include <QSize>
#include <QString>
#include <string>
#include <vector>

namespace loomscope {

// Everything a high-resolution picture of a design is made from: how the view shows it (its
// background, sequin colour, fabric and thread colours), copied, so the picture can be made
// on another thread while the view goes on.
struct ExportJob {
    std::string designPath; // the bytes the file system holds
    std::string outputPath; // the bytes given: a name need not be valid text
    DesignLook look;
    char decimalSeparator = '.';
    // The three lines under the design's facts: the shop's details, or the program's name.
    std::vector<std::string> credits = defaultPictureCredits();
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
