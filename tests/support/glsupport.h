#pragma once

#include "model/numberformat.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QRect>
#include <QString>
#include <QThread>
#include <ostream>
#include <string>

// Readable QStrings in GoogleTest's messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace loomscope::testsupport {

// GL widgets need a real window system; on the offscreen platform they cannot be shown.
inline bool canShowGl()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

#define SKIP_WITHOUT_GL()                                                                          \
    if (!loomscope::testsupport::canShowGl())                                                      \
    GTEST_SKIP() << "GL widgets need an X server (run under xvfb-run)"

// Runs the event loop until `done()` holds or `timeoutMs` have passed; whether it held.
// (QtTest's QTRY_ macros report to QtTest, not to GoogleTest, and would pass silently.)
template <typename Predicate> bool waitUntil(Predicate done, int timeoutMs = 5000);

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
// A number text as the program writes it under the user's locale: its decimal separator for
// the "." (the suite runs under a comma locale too).
inline QString inLocale(QString text)
{
    return text.replace(QLatin1Char('.'), QLatin1Char(loomscope::environmentDecimalSeparator()));
}
inline std::string inLocale(const char* text)
{
    return inLocale(QString::fromUtf8(text)).toStdString();
}

// Saves a picture for a person to look at when LOOMSCOPE_SNAPSHOTS names a folder.
void snapshot(const QImage& image, const char* name);

template <typename Predicate> bool waitUntil(Predicate done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

} // namespace loomscope::testsupport
