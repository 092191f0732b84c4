// The real PES, PEC, JEF, EXP, VP3 and XXX files beside the project against the facts a peer
// library read from them (facts.tsv), and their DST bytes read back. Skipped when the files are
// not there.
#include "drawnalike.h"
#include "model/colortable.h"
#include "model/designfile.h"
#include "model/embroideryformats.h"
#include "model/tembs.h"
#include "testenv.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace loomscope;

namespace {

struct FactsRow {
    std::string file;
    std::string format;
    int stitches = 0;
    int colours = 0;
    double width = 0;
    double height = 0;
    std::string blockColours;  // "#RRGGBB" or "-" per block; empty for EXP
    std::string blockStitches; // per block
};

std::vector<FactsRow> factsRows(const std::filesystem::path& dir)
{
    std::vector<FactsRow> rows;
    for (std::vector<std::string> cells : testsupport::tsvRows(dir / "facts.tsv")) {
        cells.resize(std::max<std::size_t>(cells.size(), 8));
        rows.push_back({cells[0], cells[1], std::stoi(cells[2]), std::stoi(cells[3]),
                        std::stod(cells[4]), std::stod(cells[5]), cells[6], cells[7]});
    }
    return rows;
}

std::string joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : " ") + item;
    return text;
}

std::optional<std::filesystem::path> formatsDir()
{
    const auto dir = testsupport::corpusDir();
    if (!dir || !std::filesystem::is_regular_file(*dir / "formats" / "facts.tsv"))
        return std::nullopt;
    return *dir / "formats";
}

#define SKIP_WITHOUT_FORMATS(dir)                                                                  \
    const auto dir = formatsDir();                                                                 \
    if (!dir)                                                                                      \
    GTEST_SKIP() << "no corpus of PES, PEC, JEF, EXP, VP3 and XXX files beside the project"

} // namespace

// A reading agrees with a row when the counts, the block colours, the stitches of every block
// and both sizes are equal (VP3 sizes measured at the file's 1/1000 mm).
TEST(FormatCorpus, EveryFileGivesTheFactsOfItsRow)
{
    SKIP_WITHOUT_FORMATS(dir);
    const auto rows = factsRows(*dir);
    ASSERT_EQ(rows.size(), 63u);
    int exactSizes = 0;
    for (const FactsRow& row : rows) {
        SCOPED_TRACE(row.file);
        const auto format = formatOfFileName(row.file);
        ASSERT_TRUE(format);
        EXPECT_EQ(formatName(*format), row.format);
        const CommandRead read =
            readDesign(*format, testsupport::readFile((*dir / row.file).string()));
        ASSERT_TRUE(read.design) << read.reason;
        const DesignFacts facts = commandFacts(*read.design);
        EXPECT_EQ(facts.stitches, row.stitches);
        EXPECT_EQ(facts.colours, row.colours);
        EXPECT_NEAR(facts.widthMm, row.width, 1e-9);
        EXPECT_NEAR(facts.heightMm, row.height, 1e-9);
        exactSizes += facts.widthMm == row.width && facts.heightMm == row.height;

        std::vector<std::string> colours;
        for (const DesignThread& t : read.design->threads)
            colours.push_back(t.colour ? colorToHtml(*t.colour) : "-");
        EXPECT_EQ(joined(colours), row.blockColours);
        if (row.format != "exp") {
            std::vector<std::string> stitches;
            for (const int n : facts.blockStitches)
                stitches.push_back(std::to_string(n));
            EXPECT_EQ(joined(stitches), row.blockStitches);
        }
    }
    // VP3 sizes too, measured at the file's 1/1000 mm where sections start between tenths.
    EXPECT_EQ(exactSizes, 63);
}

// The program opens these files without writing their DST bytes; what it draws must be what
// a DST converter's file of the design draws, point for point.
TEST(FormatCorpus, EveryFileIsDrawnAsItsDstBytesAre)
{
    SKIP_WITHOUT_FORMATS(dir);
    for (const FactsRow& row : factsRows(*dir)) {
        SCOPED_TRACE(row.file);
        const std::string path = (*dir / row.file).string();
        const CommandRead read =
            readDesign(*formatOfFileName(row.file), testsupport::readFile(path));
        ASSERT_TRUE(read.design) << read.reason;
        const DesignFacts facts = commandFacts(*read.design);
        Tembs dst;
        ASSERT_EQ(dst.readdstbytes(toDstBytes(*read.design, row.file)), DstReadStatus::Read);
        // The drawn design lies on the 0.1 mm grid; a size measured finer may differ by that.
        const double grid = read.design->fineExtent ? 0.1 + 1e-9 : 0;
        EXPECT_NEAR(dst.width(), facts.widthMm, grid);
        EXPECT_NEAR(dst.height(), facts.heightMm, grid);
        EXPECT_EQ(dst.colorcount(), facts.colours);
        EXPECT_GE(dst.stitchs(), facts.stitches);

        // Opened with the shape found while reading, which a real file always gives.
        EXPECT_TRUE(
            readDesignSteps(*formatOfFileName(row.file), testsupport::readFile(path)).shape);
        Tembs opened;
        ASSERT_EQ(opened.loadfromfile(path), DstReadStatus::Read);
        EXPECT_TRUE(testsupport::drawnAlike(opened, dst));
        // The stitch-out replays the same DST, made without a list of commands.
        EXPECT_EQ(designAsDstBytes(path, SIZE_MAX).bytes,
                  toDstBytes(*read.design, withoutExtension(row.file)));
    }
}

// Every reader given every file of the other formats: a refusal or a design, never a crash,
// and the threads stay one per block.
TEST(FormatCorpus, EveryReaderTakesEveryOtherFormatsFiles)
{
    SKIP_WITHOUT_FORMATS(dir);
    for (const FactsRow& row : factsRows(*dir)) {
        const auto bytes = testsupport::readFile((*dir / row.file).string());
        for (const DesignFormat f : {DesignFormat::Pes, DesignFormat::Pec, DesignFormat::Jef,
                                     DesignFormat::Exp, DesignFormat::Vp3, DesignFormat::Xxx}) {
            SCOPED_TRACE(row.file + " read as " + formatName(f));
            const CommandRead read = readDesign(f, bytes);
            EXPECT_TRUE(testsupport::readAlike(f, bytes, read));
            if (!read.design) {
                EXPECT_FALSE(read.reason.empty());
                continue;
            }
            const std::size_t blocks = commandFacts(*read.design).blockStitches.size();
            EXPECT_EQ(read.design->threads.size(), f == DesignFormat::Exp ? 0 : blocks);
        }
    }
}

// The same facts as the program shows them: each file opened as a design, as --info, the
// browser and the print window open it, with its thread colours one per colour index.
TEST(FormatCorpus, EveryFileOpensAsADesignWithItsMakersFactsAndThreads)
{
    SKIP_WITHOUT_FORMATS(dir);
    for (const FactsRow& row : factsRows(*dir)) {
        SCOPED_TRACE(row.file);
        Tembs design;
        ASSERT_EQ(design.loadfromfile((*dir / row.file).string()), DstReadStatus::Read)
            << design.readError();
        EXPECT_EQ(formatName(design.format()), row.format);
        EXPECT_EQ(design.stitchs(), row.stitches);
        EXPECT_EQ(design.colorcount(), row.colours);
        EXPECT_NEAR(design.width(), row.width, 1e-9);
        EXPECT_NEAR(design.height(), row.height, 1e-9);
        EXPECT_EQ(design.sequins(), 0);
        if (!row.blockColours.empty()) {
            std::vector<std::string> shown;
            for (const TColor c : colorTableFromBlocks(design))
                shown.push_back(colorToHtml(c));
            EXPECT_EQ(joined(shown), row.blockColours);
        }
    }
}
