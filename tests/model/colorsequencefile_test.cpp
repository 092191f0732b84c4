// The colour-sequence side file, its writer, and Embird colour files.
#include "dstbuilder.h"
#include "model/codepage.h"
#include "model/colortable.h"
#include "model/embirdcolors.h"
#include "model/palette.h"
#include "model/tembs.h"
#include "testenv.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

// A design of `colours` colours, one block each.
void loadColours(Tembs& design, int colours)
{
    DstBuilder b;
    for (int i = 0; i < colours; ++i) {
        if (i > 0)
            b.colourChange();
        b.stitch(0, 0).stitch(10, 10).stitch(10, -10);
    }
    ASSERT_EQ(design.readdstbytes(b.fullyReadFile()), DstReadStatus::Read);
    ASSERT_EQ(design.colorcount(), colours);
}

std::vector<TColor> someColours(int n)
{
    std::vector<TColor> colours;
    for (int i = 0; i < n; ++i)
        colours.push_back(rgb(10 * i + 1, 20 * i + 2, 30 * i + 3));
    return colours;
}

std::vector<std::string> someNames(int n)
{
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i)
        names.push_back("Thread " + std::to_string(i + 1));
    return names;
}

const std::string kSixteenHan = "一二三四五六七八九十百千万亿兆京";

} // namespace

TEST(ColorSequenceFile, LayoutOfAThreeColourFile)
{
    const auto colours = someColours(3);
    const auto names = someNames(3);
    const auto bytes = encodeColorSequence("Madeira", colours, names);
    ASSERT_EQ(bytes.size(), 247u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 7),
              (std::vector<std::uint8_t>{0x4C, 0x53, 0x43, 0x2E, 0x2E, 0x03, 0x00}));
    const std::uint8_t* second = bytes.data() + 7 + 80;
    EXPECT_EQ(second[0], 7);
    EXPECT_EQ(std::string(second + 1, second + 8), "Madeira");
    EXPECT_EQ(second[21], 1);
    EXPECT_EQ(second[22], '2'); // the colour number is i + 1
    EXPECT_EQ(second[44], 11);  // red first, little-endian
    EXPECT_EQ(second[45], 22);
    EXPECT_EQ(second[46], 33);
    EXPECT_EQ(second[47], 0);
    EXPECT_EQ(second[48], 8);
    EXPECT_EQ(std::string(second + 49, second + 57), "Thread 2");
    EXPECT_EQ(second[79], 0);
}

TEST(ColorSequenceFile, RecoloursOnlyWhenItCoversEveryColour)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("five.lsc");
    ASSERT_EQ(writecolorfile(path, "Isacord", someColours(5), someNames(5)), "");

    Tembs five;
    loadColours(five, 5);
    EXPECT_EQ(five.loadcolorfile(path).status, ColorFileStatus::Applied);
    EXPECT_EQ(five.colorcard(), "Isacord");
    EXPECT_EQ(five.Graphlist().Items(4)->FColor, someColours(5)[4]);
    EXPECT_EQ(five.Graphlist().Items(4)->FColorname, "Thread 5");
    EXPECT_EQ(colorTableFromBlocks(five), someColours(5));

    Tembs four;
    loadColours(four, 4);
    EXPECT_EQ(four.loadcolorfile(path).status, ColorFileStatus::Applied);
    EXPECT_EQ(four.Graphlist().Items(3)->FColor, someColours(5)[3]);

    Tembs six;
    loadColours(six, 6);
    EXPECT_EQ(six.loadcolorfile(path).status, ColorFileStatus::CardOnly);
    EXPECT_EQ(six.colorcard(), "Isacord");
    for (const TGraphObject* block : six.Graphlist()) {
        EXPECT_EQ(block->FColor, paletteColor(block->FColorindex));
        EXPECT_EQ(block->FColorname, "");
    }
}

TEST(ColorSequenceFile, IgnoresShortFilesAndOtherMagic)
{
    Tembs design;
    loadColours(design, 2);
    auto bytes = encodeColorSequence("Card", someColours(2), someNames(2));
    auto lower = bytes;
    lower[0] = 'l';
    lower[1] = 's';
    lower[2] = 'c';
    EXPECT_EQ(design.applycolorsequence(lower).status, ColorFileStatus::Ignored);
    EXPECT_EQ(design.applycolorsequence(std::span(bytes).first(11)).status,
              ColorFileStatus::Ignored);
    EXPECT_EQ(design.colorcard(), "default");
    EXPECT_EQ(design.Graphlist().First()->FColor, paletteColor(0));

    // A design without blocks takes nothing, not even the card name.
    Tembs empty;
    EXPECT_EQ(empty.applycolorsequence(bytes).status, ColorFileStatus::Ignored);
    EXPECT_EQ(empty.colorcard(), "");
}

TEST(ColorSequenceFile, ACountBeyondTheFileIsAStreamErrorAndChangesNothing)
{
    Tembs design;
    loadColours(design, 3);
    auto bytes = encodeColorSequence("Card", someColours(3), someNames(3));
    bytes.resize(bytes.size() - 1); // the third record is one byte short
    const ColorFileResult result = design.applycolorsequence(bytes);
    EXPECT_EQ(result.status, ColorFileStatus::StreamReadError);
    EXPECT_EQ(result.message, "Stream read error");
    EXPECT_EQ(design.colorcard(), "default");
    EXPECT_EQ(design.Graphlist().First()->FColor, paletteColor(0));

    // Claiming 9 records but holding 3 is fine for a design of 3 colours: only 3 are read.
    auto claims = encodeColorSequence("Card", someColours(3), someNames(3));
    claims[5] = 9;
    EXPECT_EQ(design.applycolorsequence(claims).status, ColorFileStatus::Applied);
}

TEST(ColorSequenceFile, ZeroRecordsKeepTheDefaultCard)
{
    Tembs design;
    loadColours(design, 1);
    auto bytes = encodeColorSequence("Card", someColours(0), someNames(0));
    bytes.resize(12, 0); // long enough not to be ignored
    EXPECT_EQ(design.applycolorsequence(bytes).status, ColorFileStatus::CardOnly);
    EXPECT_EQ(design.colorcard(), "default");
}

TEST(ColorSequenceFile, TextsAreCodePage936CutAtWholeCharacters)
{
    Tembs design;
    loadColours(design, 3);
    const std::vector<std::string> names = {kSixteenHan, std::string(35, 'x'), "a" + kSixteenHan};
    const auto bytes = encodeColorSequence("  马德拉 \t", someColours(3), names);
    // Sixteen Han characters are 32 bytes: 15 of them fit the 30-byte field.
    EXPECT_EQ(bytes[7 + 48], 30);
    EXPECT_EQ(bytes[7 + 80 + 48], 30);
    EXPECT_EQ(bytes[7 + 160 + 48], 29); // "a" and 14 characters: never half a character
    ASSERT_EQ(design.applycolorsequence(bytes).status, ColorFileStatus::Applied);
    EXPECT_EQ(design.Graphlist().Items(0)->FColorname, "一二三四五六七八九十百千万亿兆");
    EXPECT_EQ(design.Graphlist().Items(1)->FColorname, std::string(30, 'x'));
    EXPECT_EQ(design.Graphlist().Items(2)->FColorname, "a一二三四五六七八九十百千万亿");
    EXPECT_EQ(design.colorcard(), "马德拉");
}

TEST(ColorSequenceFile, DamagedLengthBytesNeverReadPastTheirField)
{
    Tembs design;
    loadColours(design, 1);
    auto bytes = encodeColorSequence("Card", someColours(1), {});
    bytes[7 + 48] = 255; // thread name claims 255 bytes in a 31-byte field
    bytes[7 + 0] = 200;
    ASSERT_EQ(design.applycolorsequence(bytes).status, ColorFileStatus::Applied);
    EXPECT_EQ(design.Graphlist().First()->FColorname.size(), 30u);
}

TEST(ColorSequenceFile, WriterNeverLeavesAHalfWrittenFile)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("design.lsc");
    ASSERT_EQ(writecolorfile(path, "A", someColours(2), someNames(2)), "");
    ASSERT_EQ(writecolorfile(path, "B", someColours(4), someNames(4)), "");
    EXPECT_EQ(testsupport::readFile(path).size(), 7u + 4 * 80);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);

    // A read-only side file is refused, whoever runs the program.
    ::chmod(path.c_str(), 0444);
    EXPECT_NE(writecolorfile(path, "C", someColours(1), someNames(1)), "");
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(testsupport::readFile(path).size(), 7u + 4 * 80);
    EXPECT_NE(writecolorfile(dir.file("no/such/folder.lsc"), "C", someColours(1), {}), "");
}

TEST(ColorSequenceFile, SideFileNameReplacesTheLastExtension)
{
    EXPECT_EQ(sideFilePath("/a/b/rose.dst"), "/a/b/rose.lsc");
    EXPECT_EQ(sideFilePath("/a/b/rose.v2.DST"), "/a/b/rose.v2.lsc");
    EXPECT_EQ(sideFilePath("/a.b/rose"), "/a.b/rose.lsc");
}

TEST(ColorSequenceFile, SideFilesAreFoundInAnyLetterCaseAndKeptAsTheyAreSpelt)
{
    testsupport::TempDir dir;
    const std::string design = dir.file("ROSE.DST");
    EXPECT_EQ(findSideFile(design), std::nullopt);
    EXPECT_EQ(sideFileForWriting(design), dir.file("ROSE.lsc"));
    // Copied from a Windows disk.
    testsupport::writeFile(dir.file("ROSE.LSC"), {1});
    EXPECT_EQ(findSideFile(design), dir.file("ROSE.LSC"));
    EXPECT_EQ(findSideFile(dir.file("rose.dst")), dir.file("ROSE.LSC"));
    EXPECT_EQ(sideFileForWriting(design), dir.file("ROSE.LSC"));
    // The exact spelling wins over another one.
    testsupport::writeFile(dir.file("ROSE.lsc"), {2});
    EXPECT_EQ(findSideFile(design), dir.file("ROSE.lsc"));
    // A folder of that name is no side file; another design's is not either.
    std::filesystem::create_directory(dir.path() / "lily.LSC");
    EXPECT_EQ(findSideFile(dir.file("lily.dst")), std::nullopt);
    EXPECT_EQ(findSideFile(dir.file("ROSES.dst")), std::nullopt);
}

TEST(CodePage936, RoundTripsAndReplacesWhatItCannotHold)
{
    EXPECT_EQ(utf8ToCp936("马").size(), 2u);
    EXPECT_EQ(cp936ToUtf8(utf8ToCp936("红色 Red")), "红色 Red");
    EXPECT_EQ(utf8ToCp936("😀x"), "?x");
    EXPECT_EQ(cp936ToUtf8("\x81"), "\xEF\xBF\xBD"); // a lead byte without its partner
    EXPECT_EQ(cutCp936(utf8ToCp936("一二"), 3), utf8ToCp936("一"));
}

TEST(CodePage936, FileNamesFromChineseSystemsAreShownAsTheirCharacters)
{
    EXPECT_EQ(pathDisplayText("/d/玫瑰.dst"), "/d/玫瑰.dst"); // UTF-8 stays
    EXPECT_EQ(pathDisplayText("/d/" + utf8ToCp936("玫瑰") + ".DST"), "/d/玫瑰.DST");
    // Neither UTF-8 nor code page 936: the odd byte is marked, the rest stays readable.
    EXPECT_EQ(pathDisplayText("a\xFF"
                              "b.dst"),
              "a\xEF\xBF\xBD"
              "b.dst");
    EXPECT_FALSE(isUtf8("\xC0\x80"));     // overlong
    EXPECT_FALSE(isUtf8("\xED\xA0\x80")); // a surrogate
    EXPECT_TRUE(isUtf8("\xF0\x9F\x98\x80"));
}

TEST(CodePage936, WithoutTheConversionNamesAreRefusedOrReportedNeverWrittenAsUtf8)
{
    testsupport::TempDir dir;
    const std::string chinese = dir.file("chinese.lsc");
    ASSERT_EQ(
        writecolorfile(chinese, "伊莎卡", someColours(2), std::vector<std::string>{"红色", "金线"}),
        "");
    const std::string names = dir.file("names.lsc");

    setCodePage936NameForTesting("NO-SUCH-CHARSET"); // a system without glibc's modules
    EXPECT_FALSE(codePage936Available());
    // Writing: a clear error and no file, rather than UTF-8 a Windows system shows garbled.
    const std::string error =
        writecolorfile(names, "Card", someColours(2), std::vector<std::string>{"红色", "b"});
    EXPECT_NE(error.find("code page 936"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(names));
    EXPECT_EQ(writecolorfile(names, "Card", someColours(2), someNames(2)), ""); // ASCII is fine
    // Reading: the colours apply, and the user is told the names could not be read.
    Tembs design;
    loadColours(design, 2);
    const ColorFileResult read = design.loadcolorfile(chinese);
    EXPECT_EQ(read.status, ColorFileStatus::Applied);
    EXPECT_NE(read.message.find("could not be read"), std::string::npos) << read.message;
    EXPECT_EQ(design.Graphlist().First()->FColor, someColours(2)[0]);
    EXPECT_TRUE(isUtf8(design.Graphlist().First()->FColorname));
    setCodePage936NameForTesting("CP936");

    EXPECT_TRUE(codePage936Available());
    EXPECT_EQ(design.loadcolorfile(chinese).message, "");
    EXPECT_EQ(design.Graphlist().First()->FColorname, "红色");
}

TEST(EmbirdColors, FourBytesPerColourRedFirst)
{
    const std::vector<std::uint8_t> bytes = {255, 0, 0, 9, 0, 128, 255, 0, 1, 2, 3};
    const auto colours = parseEmbirdColors(bytes);
    ASSERT_EQ(colours.size(), 3u); // the last entry's unread fourth byte may be missing
    EXPECT_EQ(colours[0], 0x0000FFu);
    EXPECT_EQ(colours[1], 0xFF8000u);
    EXPECT_EQ(colours[2], 0x030201u);
    EXPECT_EQ(parseEmbirdColors(std::span(bytes).first(10)).size(), 2u); // two bytes: none
    EXPECT_TRUE(parseEmbirdColors({}).empty());
    EXPECT_FALSE(loadEmbirdColors("/no/such/file.edr").error.empty());
}
