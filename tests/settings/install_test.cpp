// `cmake --install` into a temporary prefix puts every file where a desktop looks for it.
#include "model/fileio.h"
#include "settings/desktopfiles.h"
#include "testenv.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace loomscope;
namespace fs = std::filesystem;

TEST(Install, APrefixHoldsProgramDataDesktopFilesIconsAndThumbnailer)
{
    testsupport::TempDir prefix;
    const std::string p = prefix.path().string();
    const std::string command = "cmake --install '" + std::string(LOOMSCOPE_BUILD_DIR) +
                                "' --prefix '" + p + "' >'" + p + "/install.log' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const std::string program = p + "/bin/loomscope";
    EXPECT_TRUE(fs::exists(program));
    for (const char* file :
         {"lib/loomscope/loomscope-gui", "share/loomscope/manual/index.html",
          "share/loomscope/LoomScope Default.tch", "share/loomscope/charts-LICENSE.txt",
          "share/applications/loomscope.desktop", "share/mime/packages/loomscope.xml",
          "share/thumbnailers/loomscope.thumbnailer", "share/loomscope/Fabrics/canvas.bmp",
          "share/loomscope/samples/rose-badge.dst",
          "share/icons/hicolor/scalable/apps/loomscope.svg",
          "share/icons/hicolor/scalable/mimetypes/application-x-tajima-dst.svg"})
        EXPECT_TRUE(fileExists(p + "/" + file)) << file;
    for (const char* size :
         {"16x16", "22x22", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"}) {
        EXPECT_TRUE(fileExists(p + "/share/icons/hicolor/" + size + "/apps/loomscope.png")) << size;
        EXPECT_TRUE(fileExists(p + "/share/icons/hicolor/" + size +
                               "/mimetypes/application-x-tajima-dst.png"))
            << size;
    }
    EXPECT_FALSE(fs::exists(p + "/share/loomscope/icons")); // the icons live in the theme only

    // The installed program works on its own, away from the build tree: a file manager's
    // thumbnail of the installed sample.
    const std::string thumbnail = "'" + program + "' --thumbnail -s 64 '" + p +
                                  "/share/loomscope/samples/rose-badge.dst' '" + p +
                                  "/rose.png' >/dev/null 2>&1";
    EXPECT_EQ(std::system(thumbnail.c_str()), 0);
    EXPECT_TRUE(fileExists(p + "/rose.png"));

    // The desktop files name the installed program.
    const auto entry = testsupport::readFile(p + "/share/applications/loomscope.desktop");
    EXPECT_EQ(std::string(entry.begin(), entry.end()), desktopEntryText(program));
    const auto thumbnailer = testsupport::readFile(p + "/share/thumbnailers/loomscope.thumbnailer");
    EXPECT_EQ(std::string(thumbnailer.begin(), thumbnailer.end()), thumbnailerText(program));
}
