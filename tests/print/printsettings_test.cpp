// What the print system keeps and takes from the user: the page options and the company
// details in config.ini, the design block's texts, the stitch-count answer, the names pages
// are saved under, and 24-bit BMP files.
#include "config/companyinfo.h"
#include "config/configstore.h"
#include "config/inifile.h"
#include "dstbuilder.h"
#include "model/tembs.h"
#include "print/bmpfile.h"
#include "print/pagetexts.h"
#include "print/printoptions.h"
#include "testenv.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

std::string text(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> bytesOf(const std::string& s)
{
    return {s.begin(), s.end()};
}

} // namespace

TEST(PrintOptions, SavedInTableOrderAsMinusOneAndZeroLeavingOtherSectionsAlone)
{
    IniFile ini = IniFile::fromText("[general]\nbackcolor=EEEEEE\n[companyinfo]\ncomname=A\n");
    PrintOptions only;
    only.cominfo = only.designinfo = only.color = only.border = false;
    only.beginend = true;
    writePrintOptions(ini, only);
    EXPECT_EQ(ini.text(), "[general]\nbackcolor=EEEEEE\n[companyinfo]\ncomname=A\n\n[printer]\n"
                          "cominfo=0\ndesigninfo=0\ncolor=0\nborder=0\ntruetype=0\nbeginend=-1\n"
                          "points=0\nfunction=0\n");
    EXPECT_EQ(readPrintOptions(ini).options, only);
}

TEST(PrintOptions, ReadingTakesNumbersAndWordsAndKeepsDefaultsForMissingKeys)
{
    PrintOptionsRead read = readPrintOptions(
        IniFile::fromText("[PRINTER]\ncolor=True\nCominfo=0\nborder=\ntruetype=5\n"));
    EXPECT_TRUE(read.error.empty());
    EXPECT_TRUE(read.options.color);
    EXPECT_FALSE(read.options.cominfo);
    EXPECT_TRUE(read.options.border);     // empty: the box's first state
    EXPECT_TRUE(read.options.designinfo); // absent: the same
    EXPECT_TRUE(read.options.truetype);
    EXPECT_FALSE(read.options.beginend);

    EXPECT_TRUE(readPrintOptions(IniFile::fromText("[printer]\ncolor=1\n")).options.color);
    EXPECT_EQ(readPrintOptions(IniFile()).options, PrintOptions());

    // A value that is no boolean stops the reading there; the keys before it count.
    read = readPrintOptions(
        IniFile::fromText("[printer]\ncominfo=0\ncolor=yes\nborder=0\nbeginend=-1\n"));
    EXPECT_EQ(read.error, "'yes' is not a valid boolean value");
    EXPECT_FALSE(read.options.cominfo);
    EXPECT_TRUE(read.options.color);
    EXPECT_TRUE(read.options.border);
    EXPECT_FALSE(read.options.beginend);
}

TEST(CompanyInfo, RoundTripKeepsChineseTextsAndTheRestOfTheFile)
{
    testsupport::TempDir home;
    const std::string folder = home.path().string() + "/";
    ConfigStore config(folder + "config.ini");
    EXPECT_TRUE(readcompanyinfo(config).info.empty()); // no config.ini yet: no error
    EXPECT_TRUE(readcompanyinfo(config).error.empty());
    testsupport::writeFile(folder + "config.ini", bytesOf("; shop\r\n[printer]\r\ncolor=0\r\n"));
    const CompanyInfo info{"绣花厂 Ltd", "www.example.cn", "shop@example.cn", "0571-8888"};
    EXPECT_EQ(writecompanyinfo(config, info), "");
    const CompanyInfoRead read = readcompanyinfo(ConfigStore(folder + "config.ini"));
    EXPECT_EQ(read.info.comname, info.comname);
    EXPECT_EQ(read.info.website, info.website);
    EXPECT_EQ(read.info.email, info.email);
    EXPECT_EQ(read.info.tel, info.tel);
    EXPECT_EQ(text(testsupport::readFile(folder + "config.ini")),
              "; shop\r\n[printer]\r\ncolor=0\r\n\r\n[companyinfo]\r\ncomname=绣花厂 Ltd\r\n"
              "website=www.example.cn\r\nemail=shop@example.cn\r\ntel=0571-8888\r\n");
}

TEST(CompanyInfo, WriteFailuresNameTheFile)
{
    testsupport::TempDir home;
    const std::string missing = home.path().string() + "/gone/";
    ConfigStore config(missing + "config.ini");
    const std::string error = writecompanyinfo(config, {"New", "", "", ""});
    EXPECT_EQ(error.rfind("Cannot create file \"" + missing + "config.ini\".", 0), 0u) << error;
}

TEST(CompanyInfo, AReadOnlyConfigIniIsReportedAndStaysWhole)
{
    // Refused by its permissions whoever runs the program, root included.
    testsupport::TempDir home;
    const std::string folder = home.path().string() + "/";
    testsupport::writeFile(folder + "config.ini", bytesOf("[companyinfo]\ncomname=Old\n"));
    ::chmod((folder + "config.ini").c_str(), 0444);
    ConfigStore config(folder + "config.ini");
    const std::string error = writecompanyinfo(config, {"New", "", "", ""});
    EXPECT_NE(error.find(folder + "config.ini"), std::string::npos) << error;
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(readcompanyinfo(config).info.comname, "Old");
    EXPECT_EQ(readcompanyinfo(ConfigStore(folder + "config.ini")).info.comname, "Old");
}

TEST(PageTexts, DesignBlockValues)
{
    DstBuilder b;
    b.stitch(0, 0).stitchTo(850, 0).colourChange().stitch(0, 0).stitchTo(850, 600).jumpBy(0, 0);
    Tembs design;
    ASSERT_EQ(design.readdstbytes(b.fullyReadFile()), DstReadStatus::Read);
    design.chuangkou(555, 640);
    const DesignBlockValues v = designBlockValues(design, 0, ',');
    EXPECT_EQ(v.colors, "2");
    EXPECT_EQ(v.stitches, "0"); // the printed count, not the design's
    EXPECT_EQ(v.sizeMm, "85 * 60");
    EXPECT_EQ(v.sizeInch, "3,346 * 2,362");
    EXPECT_EQ(v.scale, formatScale(design.scale(), ','));
    EXPECT_EQ(formatScale(1), "1.00");
    EXPECT_EQ(formatScale(0.785f), "0.79");
    EXPECT_EQ(formatScale(12.5, ','), "12,50");
}

TEST(PageTexts, StitchCountAnswers)
{
    using Kind = StitchCountAnswer::Kind;
    EXPECT_EQ(parseStitchCount("12a").kind, Kind::IllegalCharacter);
    EXPECT_EQ(parseStitchCount("-5").kind, Kind::IllegalCharacter);
    EXPECT_EQ(parseStitchCount(" 5").kind, Kind::IllegalCharacter);
    EXPECT_EQ(parseStitchCount("").kind, Kind::Unchanged);
    const StitchCountAnswer zero = parseStitchCount("0");
    EXPECT_EQ(zero.kind, Kind::Accepted);
    EXPECT_EQ(zero.value, 0);
    EXPECT_EQ(parseStitchCount("2147483647").value, 2147483647);
    EXPECT_EQ(parseStitchCount("007").value, 7);
    const StitchCountAnswer big = parseStitchCount("2147483648");
    EXPECT_EQ(big.kind, Kind::NotAnInteger);
    EXPECT_EQ(big.error, "'2147483648' is not a valid integer value");
}

TEST(PageTexts, SavedNamesGetTheirExtensionOnce)
{
    EXPECT_EQ(withExtension("/tmp/rose", ".bmp"), "/tmp/rose.bmp");
    EXPECT_EQ(withExtension("/tmp/rose.bmp", ".bmp"), "/tmp/rose.bmp");
    EXPECT_EQ(withExtension("/tmp/ROSE.BMP", ".bmp"), "/tmp/ROSE.BMP");
    EXPECT_EQ(withExtension("/tmp/rose.dst", ".bmp"), "/tmp/rose.dst.bmp");
    EXPECT_EQ(withExtension("/tmp/rose.bmp", ".pdf"), "/tmp/rose.bmp.pdf");
    EXPECT_EQ(withExtension("bmp", ".bmp"), "bmp.bmp");
}

TEST(BmpFile, BottomUpRowsPaddedToFourBytes)
{
    // 3 x 2: red, green, blue over white, black, grey; rows of 9 bytes padded to 12.
    const std::vector<std::uint8_t> rgb{255, 0,   0,   0, 255, 0, 0,   0,   255,
                                        255, 255, 255, 0, 0,   0, 128, 128, 128};
    const std::vector<std::uint8_t> bmp = encodeBmp24(3, 2, rgb);
    ASSERT_EQ(bmp.size(), 54u + 24u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(bmp[2], 78);
    EXPECT_EQ(bmp[10], 54);
    EXPECT_EQ(bmp[18], 3);
    EXPECT_EQ(bmp[22], 2);
    EXPECT_EQ(bmp[28], 24);
    // The bottom row comes first, blue-green-red.
    EXPECT_EQ(std::vector<std::uint8_t>(bmp.begin() + 54, bmp.begin() + 66),
              (std::vector<std::uint8_t>{255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(bmp.begin() + 66, bmp.begin() + 75),
              (std::vector<std::uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0}));
    EXPECT_TRUE(encodeBmp24(3, 2, {rgb.data(), 17}).empty());
    EXPECT_TRUE(encodeBmp24(0, 2, {}).empty());
}
