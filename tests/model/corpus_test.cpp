// Every real file beside the project: record positions against a peer reader's extents, and
// the design read from each. Skipped when the files are not there.
#include "model/colorsequencefile.h"
#include "model/dstrecords.h"
#include "model/embirdcolors.h"
#include "model/fileio.h"
#include "model/tembs.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace loomscope;

namespace {

struct PeerRow {
    std::string file;
    std::size_t size = 0;
    std::array<int, 4> boundsYDown{}; // the peer reader's: min x, min y, max x, max y
    std::array<int, 4> extentYUp{};   // an independent decoder's, y as in the file
};

std::array<int, 4> parseFour(const std::string& text)
{
    std::array<int, 4> values{};
    std::stringstream ss(text);
    std::string cell;
    for (int& v : values) {
        std::getline(ss, cell, ',');
        v = std::stoi(cell);
    }
    return values;
}

std::vector<PeerRow> peerRows(const std::filesystem::path& dir)
{
    std::vector<PeerRow> rows;
    for (const std::vector<std::string>& cells : testsupport::tsvRows(dir / "peer-reference.tsv")) {
        if (cells.size() < 15)
            continue;
        PeerRow row;
        row.file = cells[0];
        row.size = std::stoul(cells[1]);
        row.boundsYDown = parseFour(cells[13]);
        row.extentYUp = parseFour(cells[14]);
        rows.push_back(row);
    }
    return rows;
}

#define SKIP_WITHOUT_CORPUS(dir)                                                                   \
    const auto dir = testsupport::corpusDir();                                                     \
    if (!dir)                                                                                      \
    GTEST_SKIP() << "no corpus of real files beside the project"

} // namespace

TEST(Corpus, RecordPositionsMatchThePeersExtents)
{
    SKIP_WITHOUT_CORPUS(dir);
    const auto rows = peerRows(*dir);
    ASSERT_GE(rows.size(), 10u);
    for (const PeerRow& row : rows) {
        SCOPED_TRACE(row.file);
        const auto bytes = testsupport::readFile((*dir / row.file).string());
        ASSERT_EQ(bytes.size(), row.size);
        // Every record up to the first end record, as the peer counts them.
        std::array<int, 4> ext{0, 0, 0, 0};
        int x = 0, y = 0;
        for (std::size_t at = kDstHeaderSize; at + 3 <= bytes.size(); at += 3) {
            if (bytes[at + 2] == 0xF3)
                break;
            const DstMove m = decodeDstMove(bytes[at], bytes[at + 1], bytes[at + 2]);
            x += m.dx;
            y += m.dy;
            ext = {std::min(ext[0], x), std::min(ext[1], y), std::max(ext[2], x),
                   std::max(ext[3], y)};
        }
        EXPECT_EQ(ext, row.extentYUp);
        EXPECT_EQ((std::array<int, 4>{ext[0], -ext[3], ext[2], -ext[1]}), row.boundsYDown);
    }
}

TEST(Corpus, EveryDesignReadsWithinThePeersExtent)
{
    SKIP_WITHOUT_CORPUS(dir);
    for (const PeerRow& row : peerRows(*dir)) {
        SCOPED_TRACE(row.file);
        Tembs design;
        ASSERT_EQ(design.loadfromfile((*dir / row.file).string()), DstReadStatus::Read);
        EXPECT_EQ(design.stitchs(), static_cast<int>((row.size - 519) / 3));
        // The reader leaves out the last records, so its size is at most the peer's.
        const int peerWidth = row.extentYUp[2] - row.extentYUp[0];
        const int peerHeight = row.extentYUp[3] - row.extentYUp[1];
        EXPECT_LE(design.width(), peerWidth / 10.0 + 1e-9);
        EXPECT_LE(design.height(), peerHeight / 10.0 + 1e-9);
        EXPECT_GE(design.width(), peerWidth / 10.0 - 1.0);
        int previous = 0;
        std::size_t points = 0;
        const TRectF inner = design.dstrect();
        for (const TGraphObject* block : design.Graphlist()) {
            ASSERT_GE(block->FPointList.size(), 2u);
            ASSERT_GE(block->FColorindex, previous);
            previous = block->FColorindex;
            points += block->FPointList.size();
            for (const TPoint3F& p : block->FPointList) {
                ASSERT_GE(p.X, inner.left + 19.99f);
                ASSERT_LE(p.X, inner.right - 19.99f);
                ASSERT_GE(p.Y, inner.top + 19.99f);
                ASSERT_LE(p.Y, inner.bottom - 19.99f);
            }
        }
        EXPECT_LE(points, static_cast<std::size_t>(design.stitchs()));
        EXPECT_GT(points, static_cast<std::size_t>(design.stitchs()) / 2);
    }
}

TEST(Corpus, StitchesCarryingTheMinus81PlusMoveAreDrawn)
{
    SKIP_WITHOUT_CORPUS(dir);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(*dir)) {
        if (!hasDstExtension(entry.path().string()))
            continue;
        Tembs design;
        design.loadfromfile(entry.path().string());
        bool inBlock = false;
        for (const TGraphObject* block : design.Graphlist())
            for (const TPoint3F& p : block->FPointList)
                inBlock = inBlock || p.Z == 0x2B;
        const auto bytes = testsupport::readFile(entry.path().string());
        bool inFile = false;
        for (std::size_t at = kDstHeaderSize + 2; at + 7 < bytes.size(); at += 3)
            inFile = inFile || bytes[at] == 0x2B;
        EXPECT_EQ(inBlock, inFile) << entry.path();
        files += inFile;
    }
    EXPECT_GT(files, 0);
}

TEST(Corpus, EmbirdFilesGiveOneColourPerFourBytes)
{
    SKIP_WITHOUT_CORPUS(dir);
    const auto cake = loadEmbirdColors((*dir / "embcat__Cake_3.edr").string());
    ASSERT_EQ(cake.error, "");
    EXPECT_EQ(cake.colors.size(), 20u);
    const auto rect = loadEmbirdColors((*dir / "embcat__rectangle.edr").string());
    EXPECT_EQ(rect.colors.size(), 2u);
}
