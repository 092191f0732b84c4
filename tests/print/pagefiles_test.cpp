// Files of the print system: the page as a PDF (also through `--worksheet`), the company logo
// and 24-bit BMP pictures.
#include "cli/worksheetcommand.h"
#include "config/companyinfo.h"
#include "drawing/programfonts.h"
#include "dstbuilder.h"
#include "model/colorsequencefile.h"
#include "model/tembs.h"
#include "print/composepage.h"
#include "print/pagefiles.h"
#include "testenv.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

std::vector<std::uint8_t> squareDesign()
{
    DstBuilder b("ROSE");
    b.stitch(0, 0).stitchTo(500, 0).stitchTo(500, 300).colourChange().stitch(0, 0).stitchTo(0, 0);
    b.jumpBy(0, 0);
    return b.fullyReadFile();
}

std::string text(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> bytesOf(const std::string& s)
{
    return {s.begin(), s.end()};
}

// Pages of a PDF by its page objects ("/Type /Page", not "/Pages").
int pageCount(const std::string& pdf)
{
    const std::regex page(R"(/Type\s*/Page[^s])");
    return static_cast<int>(
        std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

// The text of a PDF as a reader extracts it, when poppler's pdftotext is installed.
std::optional<QString> pdfText(const std::string& path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess p;
    p.start(tool, {QString::fromStdString(path), QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class PageFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        loadProgramFonts();
        testsupport::writeFile(design(), squareDesign());
    }
    std::string home() const { return homeDir.path().string() + "/"; }
    std::string design() const { return dir.file("Rose Badge.DST"); }
    int worksheet(const QStringList& args)
    {
        out.str({});
        err.str({});
        std::vector<std::string> bytes;
        for (const QString& a : args)
            bytes.push_back(a.toStdString());
        return runWorksheetCommand(bytes, QString::fromStdString(home()), out, err);
    }
    testsupport::TempDir dir;
    testsupport::TempDir homeDir;
    std::ostringstream out;
    std::ostringstream err;
};

} // namespace

TEST_F(PageFiles, PdfIsOneVectorPageHoldingTheDesignsName)
{
    Tembs d;
    ASSERT_EQ(d.loadfromfile(design()), DstReadStatus::Read);
    PrintPage page;
    page.candraw = true;
    page.falsestitches = 1234;
    page.freeText = {"客户：王先生"};
    const PageSources sources{[](int) { return TColor{0xFF}; }, nullptr, home(), '.'};
    const std::string pdf = dir.file("page.pdf");
    ASSERT_EQ(writePagePdf(pdf, d, page, sources, QStringLiteral("Rose Badge")), QString());
    const std::string bytes = text(testsupport::readFile(pdf));
    EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
    EXPECT_EQ(pageCount(bytes), 1);
    EXPECT_LT(bytes.size(), 200'000u);
    if (const auto t = pdfText(pdf)) {
        EXPECT_TRUE(t->contains(QStringLiteral("Rose Badge"))) << t->toStdString();
        EXPECT_TRUE(t->contains(QStringLiteral("1234")));
        EXPECT_TRUE(t->contains(QStringLiteral("客户：王先生")));
    }

    // Shaded thread lines stay small in a PDF: solid bands, not a gradient object a stitch.
    DstBuilder many;
    for (int row = 0; row < 50; ++row)
        many.stitchTo(row % 2 ? 0 : 1000, row * 10, 10);
    many.jumpBy(0, 0);
    testsupport::writeFile(dir.file("many.dst"), many.fullyReadFile());
    Tembs fill;
    ASSERT_EQ(fill.loadfromfile(dir.file("many.dst")), DstReadStatus::Read);
    ASSERT_GT(fill.stitchs(), 5000);
    page.options.truetype = true;
    ASSERT_EQ(writePagePdf(pdf, fill, page, sources, {}), QString());
    EXPECT_LT(testsupport::readFile(pdf).size(), 300'000u);

    // A folder that is not there: a message naming the file, nothing left behind.
    const std::string lost = dir.file("no/such/folder/page.pdf");
    const QString error = writePagePdf(lost, d, page, sources, {});
    EXPECT_TRUE(error.contains(QString::fromStdString(lost))) << error.toStdString();
}

TEST_F(PageFiles, WorksheetCommandWritesTheWindowsPage)
{
    // The options saved by the window and the shop's details reach the page.
    testsupport::writeFile(home() + "config.ini",
                           bytesOf("[printer]\ndesigninfo=0\n[companyinfo]\ncomname=Loom & Co\n"));
    const std::string pdf = dir.file("sheet.pdf");
    ASSERT_EQ(worksheet({QString::fromStdString(design()), QString::fromStdString(pdf)}), 0)
        << err.str();
    EXPECT_NE(out.str().find("Rose Badge"), std::string::npos);
    EXPECT_EQ(pageCount(text(testsupport::readFile(pdf))), 1);
    if (const auto t = pdfText(pdf)) {
        EXPECT_TRUE(t->contains(QStringLiteral("Loom & Co")));
        EXPECT_FALSE(t->contains(QStringLiteral("Design:")));
    }

    EXPECT_EQ(worksheet({QString::fromStdString(design())}), 2);
    EXPECT_EQ(worksheet({QString::fromStdString(dir.file("none.dst")), QStringLiteral("x.pdf")}),
              2);
    EXPECT_NE(err.str().find("none.dst"), std::string::npos);
    testsupport::writeFile(dir.file("short.dst"), std::vector<std::uint8_t>(100, 0));
    EXPECT_EQ(worksheet({QString::fromStdString(dir.file("short.dst")), QStringLiteral("x.pdf")}),
              2);
    EXPECT_EQ(worksheet({QString::fromStdString(design()),
                         QString::fromStdString(dir.file("gone/sheet.pdf"))}),
              1);
    EXPECT_NE(err.str().find("gone/sheet.pdf"), std::string::npos) << err.str();
    // A saved option that is no boolean is reported, not guessed.
    testsupport::writeFile(home() + "config.ini", bytesOf("[printer]\ncolor=x\n"));
    EXPECT_EQ(worksheet({QString::fromStdString(design()), QString::fromStdString(pdf)}), 1);
    EXPECT_NE(err.str().find("'x' is not a valid boolean value"), std::string::npos);
}

TEST_F(PageFiles, LogoIsThePictureSqueezedToFiftyByFifty)
{
    // 200 x 100 in four quadrants: each becomes 25 x 25 of the logo.
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (x >= 100 || y >= 50)
                picture.setPixel(x, y, x >= 100 ? (y >= 50 ? 0xFFFFFF00 : 0xFF0000FF) : 0xFF00FF00);
    ASSERT_EQ(writeCompanyLogo(picture, home()), QString());
    const std::vector<std::uint8_t> bmp = testsupport::readFile(companyLogoPath(home()));
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ(bmp[18], 50);
    EXPECT_EQ(bmp[22], 50);
    EXPECT_EQ(bmp[28], 24);
    const QImage logo(QString::fromStdString(companyLogoPath(home())));
    ASSERT_EQ(logo.size(), QSize(50, 50));
    EXPECT_EQ(logo.pixel(10, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(logo.pixel(40, 10) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(logo.pixel(10, 40) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(logo.pixel(40, 40) & 0xFFFFFF, 0xFFFF00u);

    QString error;
    testsupport::writeFile(dir.file("broken.jpg"), {0xFF, 0xD8, 0xFF, 0x00, 0x01});
    EXPECT_TRUE(loadPicture(QString::fromStdString(dir.file("broken.jpg")), &error).isNull());
    EXPECT_TRUE(error.contains(QStringLiteral("broken.jpg")));
}
