#include "glsupport.h"
#include "viewer/tloomscope.h"

#include <gtest/gtest.h>

using namespace loomscope;

TEST(Snapshot, Sample)
{
    SKIP_WITHOUT_GL();
    Tloomscope view;
    view.resize(850, 571);
    view.show();
    view.loaddstfile(QStringLiteral(LOOMSCOPE_SOURCE_DIR "/data/samples/rose-badge.dst"), true);
    testsupport::snapshot(view.grabFramebuffer(), "lines");
    view.Setdstshowtype(tdstshow::dsturetype);
    testsupport::snapshot(view.grabFramebuffer(), "threads");
    view.Setscale(4);
    testsupport::snapshot(view.grabFramebuffer(), "threads-zoom");
}
