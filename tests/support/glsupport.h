#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QRect>

namespace loomscope::testsupport {

// GL widgets need a real window system; on the offscreen platform they cannot be shown.
inline bool canShowGl()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

#define SKIP_WITHOUT_GL()                                                                          \
    if (!loomscope::testsupport::canShowGl())                                                      \
    GTEST_SKIP() << "GL widgets need an X server (run under xvfb-run)"

// Mean red, green and blue over a rectangle of a picture.
struct MeanColour {
    double r = 0, g = 0, b = 0;
    double brightness() const { return (r + g + b) / 3; }
};
MeanColour meanColour(const QImage& image, const QRect& area);
// Whether any pixel of the area is within `tolerance` of the colour on every channel.
bool containsColour(const QImage& image, const QRect& area, QRgb colour, int tolerance = 8);
// Pixels of the area that differ from `colour` by more than `tolerance`.
int pixelsUnlike(const QImage& image, const QRect& area, QRgb colour, int tolerance = 8);
// Saves a picture for a person to look at when LOOMSCOPE_SNAPSHOTS names a folder.
void snapshot(const QImage& image, const char* name);

} // namespace loomscope::testsupport
