// Takes the README's screenshot: the main window on the sample design in the thread look.
//   screenshot SAMPLE.dst OUT.png        (run it under an X server: tools/screenshot.sh)

#include "app/tform2.h"
#include "drawing/glformat.h"
#include "drawing/programfonts.h"
#include "session/usermessages.h"
#include "viewer/tloomscope.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot SAMPLE.dst OUT.png\n");
        return 2;
    }
    loomscope::setDefaultGlFormat();
    QApplication app(argc, argv);
    loomscope::loadProgramFonts();
    QTemporaryDir home; // a clean configuration
    loomscope::MessageBoxes messages;
    loomscope::TForm2 window(home.path() + QLatin1Char('/'), messages);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    window.openFromPath(argv[1]);
    window.viewer()->Setdstshowtype(loomscope::tdstshow::dsturetype);
    QTest::qWait(500);
    const QImage shot = window.screen()->grabWindow(window.winId()).toImage();
    if (!shot.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
