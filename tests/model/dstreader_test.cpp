// Reading DST records into blocks: the decoding table, the size rule and the block pass.
#include "drawnalike.h"
#include "dstbuilder.h"
#include "model/dstrecords.h"
#include "model/palette.h"
#include "model/tembs.h"
#include "testenv.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;
using loomscope::tools::DstKind;
using testsupport::blockIndices;
using testsupport::blockSizes;

namespace {

constexpr double kUnit = 2.83465;

// A file whose records all have the same move and the given control bytes.
std::vector<std::uint8_t> controlBytes(std::initializer_list<std::uint8_t> controls)
{
    DstBuilder b;
    for (std::uint8_t c : controls)
        b.raw(0, 0, c);
    return b.fullyReadFile();
}

} // namespace

TEST(DstRecord, DecodesEveryBitOfTheTable)
{
    struct Case {
        std::uint8_t b0, b1, b2;
        int dx, dy;
    };
    const Case cases[] = {
        {0x22, 0x00, 0x03, -1, 9},  {0x00, 0x00, 0x07, 81, 0},  {0x00, 0x00, 0xC3, 0, 0},
        {0x01, 0x00, 0x00, 1, 0},   {0x04, 0x00, 0x00, 9, 0},   {0x08, 0x00, 0x00, -9, 0},
        {0x10, 0x00, 0x00, 0, -9},  {0x40, 0x00, 0x00, 0, -1},  {0x80, 0x00, 0x00, 0, 1},
        {0x00, 0x01, 0x00, 3, 0},   {0x00, 0x02, 0x00, -3, 0},  {0x00, 0x04, 0x00, 27, 0},
        {0x00, 0x08, 0x00, -27, 0}, {0x00, 0x10, 0x00, 0, -27}, {0x00, 0x20, 0x00, 0, 27},
        {0x00, 0x40, 0x00, 0, -3},  {0x00, 0x80, 0x00, 0, 3},   {0x00, 0x00, 0x08, -81, 0},
        {0x00, 0x00, 0x10, 0, -81}, {0x00, 0x00, 0x20, 0, 81},  {0x00, 0x00, 0x2B, -81, 81},
        {0xFF, 0xFF, 0xFF, 0, 0},   {0x00, 0x00, 0xC0, 0, 0},
    };
    for (const Case& c : cases) {
        const DstMove m = decodeDstMove(c.b0, c.b1, c.b2);
        EXPECT_EQ(m.dx, c.dx) << int(c.b0) << ' ' << int(c.b1) << ' ' << int(c.b2);
        EXPECT_EQ(m.dy, c.dy) << int(c.b0) << ' ' << int(c.b1) << ' ' << int(c.b2);
    }
}

TEST(DstRecord, EveryMoveWithinReachDecodesBackToItself)
{
    for (int dx = -121; dx <= 121; ++dx)
        for (int dy = -121; dy <= 121; ++dy) {
            const auto r = tools::encodeDstRecord(dx, dy, DstKind::Stitch);
            const DstMove m = decodeDstMove(r[0], r[1], r[2]);
            ASSERT_EQ(m.dx, dx);
            ASSERT_EQ(m.dy, dy);
        }
}

TEST(DstReader, FourRecordsMakeOneBlockEndingWithItsJump)
{
    DstBuilder b;
    b.raw(0, 0, 0x03).raw(0, 0, 0x03).raw(0x01, 0, 0x03).raw(0, 0, 0x83);
    Tembs design;
    ASSERT_EQ(design.readdstbytes(b.fullyReadFile()), DstReadStatus::Read);
    EXPECT_EQ(design.stitchs(), 4);
    EXPECT_EQ(design.colorcount(), 1);
    ASSERT_EQ(blockSizes(design), std::vector<int>{4});
    const TPointList& p = design.Graphlist().First()->FPointList;
    // cx = 0.5, cy = 0: positions (0,0), (0,0), (1,0), (1,0) become +-0.5 / 2.83465.
    EXPECT_FLOAT_EQ(p[0].X, static_cast<float>(-0.5 / kUnit));
    EXPECT_FLOAT_EQ(p[2].X, static_cast<float>(0.5 / kUnit));
    EXPECT_FLOAT_EQ(p[3].Y, 0.0f);
    EXPECT_EQ(p[3].Z, 0x83);
    EXPECT_EQ(design.Graphlist().First()->FColor, paletteColor(0));
}

TEST(DstReader, FileSizeFixesTheRecordCount)
{
    Tembs design;
    std::vector<std::uint8_t> bytes(522, 0);
    EXPECT_EQ(design.readdstbytes(bytes), DstReadStatus::TooShort);
    EXPECT_EQ(design.colorcount(), 0);
    EXPECT_EQ(design.stitchs(), 0);
    EXPECT_FLOAT_EQ(design.scale(), 1.0f); // a fresh design starts at scale 1
    EXPECT_TRUE(design.Graphlist().empty());

    // 523 bytes hold one record that is read: a lone stitch makes no block.
    bytes.resize(523, 0);
    bytes[512 + 2] = 0x03;
    EXPECT_EQ(design.readdstbytes(bytes), DstReadStatus::Read);
    EXPECT_EQ(design.stitchs(), 1);
    EXPECT_EQ(design.colorcount(), 1);
    EXPECT_TRUE(design.Graphlist().empty());
    EXPECT_EQ(design.firstpoint(), design.lastpoint());

    // A machine file of m records (end record included) and an end-of-file byte reads m - 2.
    DstBuilder b;
    for (int i = 0; i < 10; ++i)
        b.stitch(5, 0);
    design.readdstbytes(b.machineFile());
    EXPECT_EQ(design.stitchs(), 11 - 2);
    // Without the end-of-file byte it reads m - 3.
    auto noEof = b.machineFile();
    noEof.pop_back();
    design.readdstbytes(noEof);
    EXPECT_EQ(design.stitchs(), 11 - 3);
}

TEST(DstReader, TooShortFileKeepsThePreviousDesignAndItsScale)
{
    Tembs design;
    DstBuilder b;
    b.stitch(0, 0).stitchTo(100, 0).jumpBy(10, 0);
    ASSERT_EQ(design.readdstbytes(b.fullyReadFile()), DstReadStatus::Read);
    design.Setscale(2);
    const float x = design.Graphlist().First()->FPointList[1].X;
    EXPECT_EQ(design.readdstbytes(std::vector<std::uint8_t>(100, 0)), DstReadStatus::TooShort);
    EXPECT_EQ(design.Graphlist().Count(), 1);
    EXPECT_FLOAT_EQ(design.Graphlist().First()->FPointList[1].X, x);
    // The points are still at scale 2, so the scale must say so for zooming to stay right.
    EXPECT_FLOAT_EQ(design.scale(), 2.0f);
}

TEST(DstReader, ColourChangesCloseBlocksAndAdvanceTheIndex)
{
    DstBuilder b;
    b.stitch(0, 0).stitch(10, 0).stitch(10, 0).colourChange();  // block 0
    b.stitch(0, 0).stitch(10, 0).colourChange().colourChange(); // block 1, then index 3
    b.stitch(0, 0).stitch(0, 10).stitch(0, 10);                 // last block, no closing record
    Tembs design;
    design.readdstbytes(b.fullyReadFile());
    EXPECT_EQ(design.colorcount(), 4);
    EXPECT_EQ(blockIndices(design), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(blockSizes(design), (std::vector<int>{4, 3, 3}));
    EXPECT_EQ(design.Graphlist().Items(2)->FColor, paletteColor(3));
    // The colour change that closes a block is its last point.
    EXPECT_EQ(design.Graphlist().First()->FPointList[3].Z, 0xC3);
    // The last block ends with its last stitch.
    EXPECT_EQ(design.Graphlist().Last()->FPointList[2].Z, 0x03);
}

TEST(DstReader, JumpsSplitBlocksWithoutChangingTheColour)
{
    DstBuilder b;
    b.stitch(0, 0).stitch(10, 0).jumpBy(50, 0).jumpBy(50, 0).stitch(0, 0).stitch(5, 5).jumpBy(1, 1);
    Tembs design;
    design.readdstbytes(b.fullyReadFile());
    EXPECT_EQ(blockIndices(design), (std::vector<int>{0, 0}));
    // The second jump is in no block: nothing is open after the first one.
    EXPECT_EQ(blockSizes(design), (std::vector<int>{3, 3}));
}

TEST(DstReader, EveryControlByteBelow64IsAStitch)
{
    // A stitch that moves -81 x and +81 y carries 0x2B. Right after a jump it must open a
    // block, or that stitch would vanish from every drawing.
    DstBuilder b;
    b.stitch(0, 0).stitch(10, 0).jumpBy(100, 0);
    b.record(-81, 81, DstKind::Stitch); // control byte 0x2B
    b.stitch(10, 0).raw(0, 0, 0x3F).jumpBy(10, 0);
    const auto bytes = b.fullyReadFile();
    ASSERT_EQ(bytes[512 + 3 * 3 + 2], 0x2B);
    Tembs design;
    design.readdstbytes(bytes);
    ASSERT_EQ(blockSizes(design), (std::vector<int>{3, 4}));
    EXPECT_EQ(design.Graphlist().Items(1)->FPointList[0].Z, 0x2B);

    // Bytes of 64 and more other than the toggle neither open nor close a block.
    Tembs other;
    other.readdstbytes(controlBytes({0x40, 0x03, 0x45, 0x03, 0x82, 0x83, 0x41, 0x83}));
    EXPECT_EQ(blockSizes(other), std::vector<int>{5});
}

TEST(DstReader, SequinSectionsStayInOneBlock)
{
    Tembs design;
    design.readdstbytes(
        controlBytes({0x03, 0x43, 0x03, 0x83, 0x03, 0x83, 0x03, 0x83, 0x43, 0x03, 0x83}));
    EXPECT_EQ(design.sequins(), 3);
    ASSERT_EQ(blockSizes(design), std::vector<int>{11});
    EXPECT_TRUE(design.Graphlist().First()->Fissequin);
    EXPECT_EQ(design.Graphlist().First()->FPointList[10].Z, 0x83);

    // A colour change inside a section advances the index but does not end the block, which
    // takes the index current when it closes; the next block is not a sequin block.
    Tembs second;
    second.readdstbytes(
        controlBytes({0x03, 0x43, 0x03, 0xC3, 0x03, 0x43, 0x03, 0x83, 0x03, 0x03, 0x83}));
    EXPECT_EQ(second.sequins(), 1);
    EXPECT_EQ(second.colorcount(), 2);
    ASSERT_EQ(blockSizes(second), (std::vector<int>{8, 3}));
    EXPECT_EQ(blockIndices(second), (std::vector<int>{1, 1}));
    EXPECT_TRUE(second.Graphlist().First()->Fissequin);
    EXPECT_FALSE(second.Graphlist().Last()->Fissequin);
}

TEST(DstReader, ExtentAlwaysContainsTheOrigin)
{
    // Everything lies right of and above the origin: the extent still reaches back to it, and
    // the start, never passed downwards, lies on the lower edge.
    DstBuilder b;
    b.jumpBy(100, 0).stitch(0, 0).stitchTo(200, 0).stitchTo(200, 100).jumpBy(1, 0);
    Tembs design;
    design.readdstbytes(b.fullyReadFile());
    EXPECT_DOUBLE_EQ(design.width(), 20.1);
    EXPECT_DOUBLE_EQ(design.height(), 10.0);
    const TRectF& r = design.dstrect();
    EXPECT_NEAR(r.bottom - 20, design.firstpoint().y, 1e-4);
    EXPECT_NEAR(r.left + 20, -100.5 / kUnit, 1e-4); // centre x = 100.5
    EXPECT_NEAR(r.left, -r.right, 1e-4);
}

TEST(DstReader, SizesInMillimetresToOneDecimal)
{
    for (const int units : {853, 1000, 1, 9999}) {
        DstBuilder b;
        b.stitch(0, 0).stitchTo(units, 0).jumpBy(0, 0);
        Tembs design;
        design.readdstbytes(b.fullyReadFile());
        EXPECT_DOUBLE_EQ(design.width(), units / 10.0) << units;
        EXPECT_DOUBLE_EQ(design.height(), 0.0);
    }
    // Extent with margin, in model units.
    DstBuilder b;
    b.stitch(0, 0).stitchTo(0, -1000).jumpBy(0, 0);
    Tembs design;
    design.readdstbytes(b.fullyReadFile());
    EXPECT_NEAR(design.dstrect().height(), 1000 / kUnit + 40, 1e-3);
    EXPECT_NEAR(design.dstrect().width(), 40, 1e-4);
}

TEST(DstReader, OnlyDstNamesAreRead)
{
    testsupport::TempDir dir;
    DstBuilder b;
    b.stitch(0, 0).stitchTo(100, 100).jumpBy(1, 1);
    for (const char* name : {"a.dst", "b.DsT", "c.DST", "d.e.dst", ".dst"}) {
        testsupport::writeFile(dir.file(name), b.fullyReadFile());
        Tembs design;
        EXPECT_EQ(design.loadfromfile(dir.file(name)), DstReadStatus::Read) << name;
        EXPECT_EQ(design.colorcard(), "default");
    }
    Tembs named;
    named.loadfromfile(dir.file("d.e.dst"));
    EXPECT_EQ(named.dstfilename(), "d.e");
    for (const char* name : {"a.txt", "noextension", "a.dst.bak", "dst"}) {
        testsupport::writeFile(dir.file(name), b.fullyReadFile());
        Tembs design;
        EXPECT_EQ(design.loadfromfile(dir.file(name)), DstReadStatus::WrongExtension) << name;
        EXPECT_EQ(design.dstfilename(), "");
        EXPECT_EQ(design.stitchs(), 0);
    }
}

TEST(DstReader, UnreadableAndOversizedFilesChangeNothing)
{
    testsupport::TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder.dst");
    Tembs design;
    EXPECT_EQ(design.loadfromfile(dir.file("folder.dst")), DstReadStatus::CannotOpen);
    EXPECT_EQ(design.loadfromfile(dir.file("missing.dst")), DstReadStatus::Missing);
    EXPECT_TRUE(design.Graphlist().empty());

    std::vector<std::uint8_t> huge(512 + 3 * (kMaxDstRecords + 1) + 7, 0);
    EXPECT_EQ(design.readdstbytes(huge), DstReadStatus::TooLarge);
    EXPECT_EQ(design.stitchs(), 0);
}

TEST(DstReader, AFileCutShortByAnotherProgramWhileItIsReadIsNoCrash)
{
    // Another program rewrites the design while it is read: a mapped file would bring the
    // process down (SIGBUS) as soon as a page past the new end is touched.
    testsupport::TempDir dir;
    const std::string path = dir.file("busy.dst");
    DstBuilder b;
    for (int i = 0; i < 400000; ++i)
        b.stitch(i % 2 ? 5 : -5, 1);
    const std::vector<std::uint8_t> full = b.fullyReadFile();
    testsupport::writeFile(path, full);
    std::atomic<bool> stop = false;
    std::thread writer([&] {
        while (!stop) {
            ::truncate(path.c_str(), 600);
            ::truncate(path.c_str(), static_cast<off_t>(full.size()));
        }
    });
    Tembs design;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    int reads = 0;
    const int whole = 400000;            // the records of the full file, its trailer left out
    const int cut = (600 - 512 - 7) / 3; // those of the file cut short
    while (std::chrono::steady_clock::now() < until) {
        const DstReadStatus status = design.loadfromfile(path);
        // Never a mixture: the file as it was when opened, or a read that says it changed,
        // the design read before staying.
        if (status == DstReadStatus::CannotOpen) {
            EXPECT_EQ(design.readError(), "the file changed while it was read");
        }
        EXPECT_TRUE(design.stitchs() == 0 || design.stitchs() == cut || design.stitchs() == whole)
            << design.stitchs();
        ++reads;
    }
    stop = true;
    writer.join();
    EXPECT_GT(reads, 0);
}

TEST(DstReader, AFileReadInPiecesGivesTheDesignItsBytesGive)
{
    // Enough records for several pieces, with blocks, sequin sections and colour changes
    // crossing the places where one piece ends and the next begins.
    DstBuilder b;
    for (int i = 0; i < 150000; ++i) {
        b.stitch(i % 7 - 3, i % 5 - 2);
        if (i % 997 == 0)
            b.jumpBy(40, -30);
        if (i % 12007 == 0)
            b.colourChange();
        if (i % 8191 == 0)
            b.sequinToggle().stitch(3, 3).jumpBy(5, 0).sequinToggle();
    }
    const std::vector<std::uint8_t> bytes = b.machineFile();
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("pieces.dst"), bytes);
    Tembs fromFile;
    Tembs fromBytes;
    ASSERT_EQ(fromFile.loadfromfile(dir.file("pieces.dst")), DstReadStatus::Read);
    ASSERT_EQ(fromBytes.readdstbytes(bytes), DstReadStatus::Read);
    EXPECT_EQ(fromFile.stitchs(), fromBytes.stitchs());
    EXPECT_EQ(fromFile.sequins(), fromBytes.sequins());
    EXPECT_EQ(fromFile.colorcount(), fromBytes.colorcount());
    EXPECT_TRUE(testsupport::drawnAlike(fromFile, fromBytes));
}

TEST(DstReader, LoadedDesignKeepsItsInvariants)
{
    DstBuilder b;
    for (int i = 0; i < 30; ++i) {
        b.stitch(0, 0).stitchTo(i * 10, 50).stitchTo(i * 5, -40);
        if (i % 3 == 0)
            b.colourChange();
        else
            b.jumpBy(7, -3);
    }
    Tembs design;
    design.readdstbytes(b.machineFile());
    int previous = 0;
    for (const TGraphObject* block : design.Graphlist()) {
        EXPECT_GE(block->FPointList.size(), 2u);
        EXPECT_GE(block->FColorindex, previous);
        EXPECT_LT(block->FColorindex, design.colorcount());
        previous = block->FColorindex;
    }
    EXPECT_EQ(design.Colorindex(), design.colorcount());
    EXPECT_EQ(design.colorcount(), 11);
}
