// Pictures drawn off screen (EGL, no display needed) and written as JPEG; and --export.
#include "drawing/offscreengl.h"
#include "dstbuilder.h"
#include "glsupport.h"
#include "model/colorsequencefile.h"
#include "render/exportjob.h"
#include "render/trendertobmp.h"
#include "testenv.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;
using testsupport::meanColour;
using testsupport::pixelsUnlike;

namespace {

#define SKIP_WITHOUT_OFFSCREEN_GL()                                                                \
    if (!OffscreenGl::eglAvailable() && !testsupport::canShowGl())                                 \
    GTEST_SKIP() << "no off-screen OpenGL here"

// Three horizontal bars of satin, one colour each, a design about 50 x 30 mm.
std::vector<std::uint8_t> threeColours()
{
    DstBuilder b;
    for (int c = 0; c < 3; ++c) {
        if (c > 0)
            b.colourChange();
        b.jumpTo(0, -c * 100).stitch(0, 0);
        for (int row = 0; row < 20; ++row)
            b.stitchTo(row % 2 ? 0 : 500, -c * 100 - row * 3, 121);
        b.jumpBy(0, 0);
    }
    return b.fullyReadFile();
}

class PictureExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_OFFSCREEN_GL();
        testsupport::writeFile(dir.file("bars.dst"), threeColours());
        job.designPath = dir.file("bars.dst");
        job.outputPath = dir.file("bars.jpg");
        job.look.colours = {0x0000FF, 0x00FF00, 0xFF0000};
        job.look.backcolor = 0x000000;
    }
    QImage written()
    {
        const ExportResult result = exportPicture(job);
        EXPECT_TRUE(result.ok) << result.error.toStdString();
        QImage image(QString::fromStdString(job.outputPath));
        testsupport::snapshot(image, "export");
        return image.convertToFormat(QImage::Format_RGB32);
    }
    // The finished picture before it is encoded: exact colours, text included.
    QImage finished()
    {
        Trendertobmp renderer({69.6f, 20.88f, 0}, 900, 600);
        EXPECT_TRUE(renderer.isReady());
        renderer.loadfromfile(job.designPath);
        renderer.setbackcolor(job.look.backcolor);
        renderer.isture(job.look.fabric);
        renderer.setbackTexture(job.look.fabricTint, job.look.fabricPicture);
        return renderer.picture(8).convertToFormat(QImage::Format_RGB32);
    }
    // The middle of bar `c` (0 on top): bars run 0..500 units wide, 60 high, 100 apart.
    QRect bar(const QImage& image, int c) const
    {
        const int w = image.width();
        const int h = image.height();
        const int barHeight = h * 60 / 360;
        return QRect(w / 3, h * (40 + 100 * c) / 360 + barHeight / 4, w / 3, barHeight / 4);
    }

    testsupport::TempDir dir;
    ExportJob job;
};

} // namespace

TEST_F(PictureExport, ThreadColoursKeepTheirChannels)
{
    const QImage image = written();
    const auto red = meanColour(image, bar(image, 0));
    const auto green = meanColour(image, bar(image, 1));
    const auto blue = meanColour(image, bar(image, 2));
    EXPECT_GT(red.r, 2 * red.g);
    EXPECT_GT(red.r, 2 * red.b);
    EXPECT_GT(green.g, 2 * green.r);
    EXPECT_GT(green.g, 2 * green.b);
    EXPECT_GT(blue.b, 2 * blue.r);
    EXPECT_GT(blue.b, 2 * blue.g);
}

TEST_F(PictureExport, BackgroundIsExactlyBrightenedAndTextIsItsInverse)
{
    job.look.backcolor = 0x102030; // red 0x30, green 0x20, blue 0x10
    QImage image = written();
    const QRect corner(image.width() - 40, image.height() - 40, 30, 30);
    // JPEG of best quality: within a step or two of the exact colour.
    EXPECT_EQ(pixelsUnlike(image, corner, qRgb(0x44, 0x34, 0x24), 2), 0);

    job.look.backcolor = 0xFFFFFF;
    image = written();
    EXPECT_EQ(pixelsUnlike(image, corner, qRgb(255, 255, 255), 1), 0);

    // The text is drawn after brightening, in the inverse of the background.
    const QRect text(10, 10, 200, 20);
    EXPECT_TRUE(testsupport::containsColour(finished(), text, qRgb(0, 0, 0), 0));
    job.look.backcolor = 0x00FF00; // green: text magenta
    const QImage green = finished();
    EXPECT_TRUE(testsupport::containsColour(green, text, qRgb(255, 0, 255), 0));
    EXPECT_EQ(green.pixel(green.width() - 5, green.height() - 5), qRgb(20, 255, 20));
}

TEST_F(PictureExport, FabricUnderTheDesignWithTextThatStandsOutFromIt)
{
    job.look.backcolor = 0x808080;
    job.look.fabric = true;
    job.look.fabricTint = 0x0000FF;
    job.look.fabricPicture = {1, 1, {128, 128, 128}};
    const QImage image = written();
    const QRect corner(image.width() - 40, image.height() - 40, 30, 30);
    // floor(255 * 255 / 256) = 254 and 0, each brightened by 20.
    EXPECT_EQ(pixelsUnlike(image, corner, qRgb(255, 20, 20), 3), 0);
    // On a fabric the text is the complement of the fabric's tint, as on the screen: the
    // complement of a grey background (7F7F7F) would vanish on a grey fabric.
    const QRect text(10, 10, 200, 20);
    EXPECT_TRUE(testsupport::containsColour(finished(), text, qRgb(0, 255, 255), 0));
    job.look.fabricTint = 0x303030; // dark felt
    const QImage felt = finished();
    EXPECT_TRUE(testsupport::containsColour(felt, text, qRgb(0xCF, 0xCF, 0xCF), 0));
}

TEST_F(PictureExport, CreditLinesNameTheShopOrTheProgram)
{
    EXPECT_EQ(pictureCredits("", "", ""), defaultPictureCredits());
    EXPECT_EQ(defaultPictureCredits()[0], "Made with LoomScope 4.0");
    EXPECT_EQ(pictureCredits("Rose Embroidery", "", "rose.example"),
              (std::vector<std::string>{"Rose Embroidery", "rose.example", ""}));
    EXPECT_EQ(pictureCredits("A", "123", "b.example"),
              (std::vector<std::string>{"A", "Tel: 123", "b.example"}));
    // The lines are drawn where the credits belong.
    job.look.backcolor = 0xFFFFFF;
    const QRect credits(10, 190, 300, 80);
    Trendertobmp renderer({69.6f, 20.88f, 0}, 900, 600);
    renderer.loadfromfile(job.designPath);
    renderer.setbackcolor(0xFFFFFF);
    renderer.setCredits({"", "", ""});
    const QImage blank = renderer.picture(8).convertToFormat(QImage::Format_RGB32);
    EXPECT_FALSE(testsupport::containsColour(blank, credits, qRgb(0, 0, 0), 60));
    renderer.setCredits(pictureCredits("Rose Embroidery", "0123", ""));
    const QImage shop = renderer.picture(8).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(testsupport::containsColour(shop, credits, qRgb(0, 0, 0), 60));
}

TEST_F(PictureExport, ResolutionAndSizeAreInTheFile)
{
    const ExportResult result = exportPicture(job);
    ASSERT_TRUE(result.ok);
    const auto bytes = testsupport::readFile(job.outputPath);
    ASSERT_GT(bytes.size(), 20u);
    EXPECT_EQ(std::string(bytes.begin() + 6, bytes.begin() + 11), std::string("JFIF\0", 5));
    EXPECT_EQ(bytes[13], 1); // dots per inch
    EXPECT_EQ(bytes[14] * 256 + bytes[15], 720);
    EXPECT_EQ(bytes[16] * 256 + bytes[17], 720);
    EXPECT_EQ(result.dotsPerInch, 720);
    const QImage image(QString::fromStdString(job.outputPath));
    EXPECT_EQ(image.size(), result.size);
    EXPECT_EQ(image.width() % 4, 0);
    EXPECT_EQ(image.height() % 4, 0);
}

TEST_F(PictureExport, DesignWithoutBlocksGivesBackgroundAndText)
{
    std::vector<std::uint8_t> lone(523, 0);
    lone[512 + 2] = 0x03;
    testsupport::writeFile(dir.file("lone.dst"), lone);
    job.designPath = dir.file("lone.dst");
    job.look.backcolor = 0xFFFFFF;
    const QImage image = written();
    EXPECT_EQ(pixelsUnlike(image, QRect(0, 270, image.width(), image.height() - 270),
                           qRgb(255, 255, 255), 1),
              0);
    EXPECT_TRUE(testsupport::containsColour(image, QRect(10, 10, 100, 20), qRgb(0, 0, 0), 40));
}

TEST_F(PictureExport, FailuresLeaveNoFile)
{
    job.outputPath = dir.file("no/such/folder/x.jpg");
    ExportResult result = exportPicture(job);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("x.jpg")) << result.error.toStdString();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(job.outputPath)));

    job.outputPath = dir.file("bars.jpg");
    job.designPath = dir.file("missing.dst");
    result = exportPicture(job);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(job.outputPath)));
}

TEST(Trendertobmp, SetcolorlistIgnoresIndicesOutsideTheDesign)
{
    SKIP_WITHOUT_OFFSCREEN_GL();
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("bars.dst"), threeColours());
    Trendertobmp renderer({69.6f, 20.88f, 0}, 1000, 801);
    ASSERT_TRUE(renderer.isReady()) << renderer.error().toStdString();
    EXPECT_EQ(renderer.width(), 1004);
    EXPECT_EQ(renderer.height(), 804);
    ASSERT_TRUE(renderer.loadfromfile(dir.file("bars.dst")));
    renderer.setcolorlist(3, 0x123456);
    renderer.setcolorlist(-1, 0x123456);
    renderer.setcolorlist(1, 0x654321);
    EXPECT_EQ(renderer.colorlist(), (std::vector<TColor>{0x0000FF00, 0x654321, 0x000000FF}));
    renderer.setbackcolor(0x00FF00);
    EXPECT_EQ(renderer.fontcolor(), 0xFF00FFu);
    EXPECT_EQ(renderer.savetobmp(8).size(), QSize(1004, 804));
}

namespace {
struct CommandRun {
    int status = -1;
    QString out;
    QString err;
};

CommandRun exportCommand(const QStringList& args, const QString& home,
                         const QString& locale = QStringLiteral("C.UTF-8"))
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("LOOMSCOPE_HOME"), home);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(LOOMSCOPE_BINARY), QStringList{QStringLiteral("--export")} + args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
} // namespace

TEST(ExportCommand, WritesThePictureWithoutADisplay)
{
    SKIP_WITHOUT_OFFSCREEN_GL();
    if (!OffscreenGl::eglAvailable())
        GTEST_SKIP() << "the command line draws with EGL surfaceless only";
    testsupport::TempDir dir;
    const QString home = QString::fromStdString(dir.file("home"));
    std::filesystem::create_directories(dir.path() / "home" / "Fabrics");
    QImage weave(128, 128, QImage::Format_RGB888);
    weave.fill(QColor(128, 128, 128));
    weave.save(home + "/Fabrics/grey.bmp");
    testsupport::writeFile(dir.file("home/config.ini"),
                           {'[', 'g', 'e', 'n', 'e', 'r', 'a', 'l', ']', '\n', 'b', 'a', 'c', 'k',
                            'c', 'o', 'l', 'o', 'r', '=', '1', '0', '2', '0',  '3', '0', '\n'});
    testsupport::writeFile(dir.file("bars.dst"), threeColours());
    const QString design = QString::fromStdString(dir.file("bars.dst"));
    const QString out = QString::fromStdString(dir.file("bars.jpg"));

    CommandRun run = exportCommand({design, out}, home);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("720 dots per inch")) << run.out.toStdString();
    QImage image = QImage(out).convertToFormat(QImage::Format_RGB32);
    const QRect corner(image.width() - 40, image.height() - 40, 30, 30);
    EXPECT_EQ(pixelsUnlike(image, corner, qRgb(0x44, 0x34, 0x24), 2), 0); // config.ini's background

    run = exportCommand(
        {design, out, "--background", "#FF0000", "--fabric", "grey", "--fabric-color", "#0000FF"},
        home);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    image = QImage(out).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(pixelsUnlike(image, corner, qRgb(20, 20, 255), 3),
              0); // red first on the command line

    EXPECT_EQ(exportCommand({design, out, "--background", "red"}, home).status, 2);
    const CommandRun silk = exportCommand({design, out, "--fabric", "silk"}, home);
    EXPECT_EQ(silk.status, 2);
    // Which fabrics there are, and where they were looked for.
    EXPECT_TRUE(silk.err.contains("no fabric 'silk'")) << silk.err.toStdString();
    EXPECT_TRUE(silk.err.contains("grey")) << silk.err.toStdString();
    EXPECT_TRUE(silk.err.contains(home + "/Fabrics")) << silk.err.toStdString();
    const CommandRun tintOnly = exportCommand({design, out, "--fabric-color", "#FF0000"}, home);
    EXPECT_EQ(tintOnly.status, 2);
    EXPECT_TRUE(tintOnly.err.contains("--fabric NAME")) << tintOnly.err.toStdString();
    EXPECT_EQ(exportCommand({design}, home).status, 2);
    EXPECT_EQ(exportCommand({QString::fromStdString(dir.file("none.dst")), out}, home).status, 2);
    const CommandRun unwritable =
        exportCommand({design, QString::fromStdString(dir.file("no/dir/x.jpg"))}, home);
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.contains("x.jpg"));

    // Numbers in the picture use the user's decimal separator, as the window's pictures do:
    // the size line of a German user differs from an English one's.
    if (QProcess::execute(QStringLiteral("sh"),
                          {QStringLiteral("-c"), QStringLiteral("locale -a | grep -qi de_DE")}) ==
        0) {
        const QString german = QString::fromStdString(dir.file("german.jpg"));
        ASSERT_EQ(exportCommand({design, german}, home, QStringLiteral("de_DE.UTF-8")).status, 0);
        ASSERT_EQ(exportCommand({design, out}, home).status, 0);
        const QImage c = QImage(out).convertToFormat(QImage::Format_RGB32);
        const QImage de = QImage(german).convertToFormat(QImage::Format_RGB32);
        const QRect stitches(10, 40, 300, 25);
        const QRect size(10, 100, 300, 55);
        EXPECT_EQ(c.copy(stitches), de.copy(stitches));
        EXPECT_NE(c.copy(size), de.copy(size));
    }

    // A damaged side file is said, and the picture shows what the view shows: the palette's
    // colours.
    auto side = encodeColorSequence("C", std::vector<TColor>{1, 2, 3}, {});
    side.resize(side.size() - 9);
    testsupport::writeFile(dir.file("bars.lsc"), side);
    const CommandRun damaged = exportCommand({design, out}, home);
    EXPECT_EQ(damaged.status, 0);
    EXPECT_TRUE(damaged.err.contains("bars.lsc: Stream read error; the design keeps the palette"))
        << damaged.err.toStdString();
}
