// Designs in the other formats as the program opens them: the facts and thread colours every
// route shows (read through the design, as --info, the browser and the print page read it),
// a side file over the file's own threads, a copy under a made-up name, and the folder list.
#include "model/colorsequencefile.h"
#include "model/colortable.h"
#include "model/designfile.h"
#include "model/embroideryformats.h"
#include "model/folderlist.h"
#include "model/numberformat.h"
#include "model/tembs.h"
#include "testenv.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace loomscope;
namespace fs = std::filesystem;

namespace {

std::optional<fs::path> formatsDir()
{
    const fs::path dir = fs::path(LOOMSCOPE_SOURCE_DIR) / ".." / "shared" / "corpus" / "formats";
    std::error_code ec;
    return fs::is_directory(dir, ec) ? std::optional(dir) : std::nullopt;
}

std::vector<std::string> split(const std::string& text, char by)
{
    std::vector<std::string> cells;
    std::stringstream in(text);
    std::string cell;
    while (std::getline(in, cell, by))
        cells.push_back(cell);
    return cells;
}

std::string hex(TColor c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", redOf(c), greenOf(c), blueOf(c));
    return text;
}

} // namespace

TEST(OtherFormats, EveryRealFileOpensWithItsMakersFactsAndThreads)
{
    const auto dir = formatsDir();
    if (!dir)
        GTEST_SKIP() << "no corpus of real files beside the project";
    std::ifstream in(*dir / "facts.tsv");
    std::string line;
    std::getline(in, line); // the header
    int files = 0;
    while (std::getline(in, line)) {
        const std::vector<std::string> cells = split(line, '\t');
        if (cells.size() < 6)
            continue;
        SCOPED_TRACE(cells[0]);
        Tembs design;
        ASSERT_EQ(design.loadfromfile((*dir / cells[0]).string()), DstReadStatus::Read)
            << design.readError();
        EXPECT_STREQ(formatName(design.format()), cells[1].c_str());
        EXPECT_EQ(design.stitchs(), std::stoi(cells[2]));
        EXPECT_EQ(design.colorcount(), std::stoi(cells[3]));
        EXPECT_NEAR(design.width(), std::stod(cells[4]), 0.051);
        EXPECT_NEAR(design.height(), std::stod(cells[5]), 0.051);
        EXPECT_EQ(design.sequins(), 0);
        if (cells.size() > 6 && !cells[6].empty()) {
            std::vector<std::string> shown;
            for (TColor c : colorTableFromBlocks(design))
                shown.push_back(hex(c));
            EXPECT_EQ(shown, split(cells[6], ' '));
        }
        ++files;
    }
    EXPECT_EQ(files, 63);
}

TEST(OtherFormats, ASideFileStillWinsAndACopyUnderAnyNameIsReadByItsSignature)
{
    const auto dir = formatsDir();
    if (!dir)
        GTEST_SKIP() << "no corpus of real files beside the project";
    testsupport::TempDir work;
    const std::string pes = work.file("CAKE.PES");
    fs::copy_file(*dir / "embcat__Cake_3.pes", pes);

    Tembs own;
    ASSERT_EQ(loadDesign(own, pes, {SideFiles::LookUp, {}}).status, DstReadStatus::Read);
    EXPECT_EQ(hex(colorTableFromBlocks(own)[1]), "#0B3D91");

    // A side file of the same name, as for a DST design, gives every block its colour.
    const std::vector<TColor> red(static_cast<std::size_t>(own.colorcount()), rgb(255, 0, 0));
    const std::vector<std::string> names(red.size(), "Red");
    ASSERT_EQ(writecolorfile(work.file("CAKE.lsc"), "Card", red, names), "");
    Tembs sided;
    const DesignLoad load = loadDesign(sided, pes, {SideFiles::LookUp, {}});
    ASSERT_EQ(load.status, DstReadStatus::Read);
    for (TColor c : colorTableFromBlocks(sided))
        EXPECT_EQ(hex(c), "#FF0000");

    // A file manager's copy under a made-up name: the signature says what it is.
    const std::string copy = work.file("tumbler-XXXXXX");
    fs::copy_file(pes, copy);
    Tembs anonymous;
    ASSERT_EQ(loadDesign(anonymous, copy, {SideFiles::Ignore, {}, true}).status,
              DstReadStatus::Read);
    EXPECT_EQ(anonymous.format(), DesignFormat::Pes);
    EXPECT_EQ(anonymous.stitchs(), own.stitchs());
}

TEST(OtherFormats, AFolderListsEveryFormatAndKeepsTwoFormatsOfOneNameApart)
{
    testsupport::TempDir work;
    for (const char* name : {"ROSE.DST", "rose.pes", "leaf.JEF", "b.exp", "c.vp3", "d.XXX", "e.pec",
                             "notes.txt", "f.emb"})
        testsupport::writeFile(work.file(name), {1, 2, 3});
    std::vector<std::string> listed;
    std::vector<bool> shared;
    for (const DesignEntry& e : listDesigns(work.path().string() + "/")) {
        listed.push_back(e.fileName);
        shared.push_back(e.nameShared);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"b.exp", "c.vp3", "d.XXX", "e.pec", "leaf.JEF",
                                                "ROSE.DST", "rose.pes"}));
    EXPECT_EQ(shared, (std::vector<bool>{false, false, false, false, false, true, true}));

    // A file that is no design of its format is refused with the reason, and the design shown
    // before stays.
    Tembs design;
    EXPECT_EQ(design.loadfromfile(work.file("rose.pes")), DstReadStatus::CannotOpen);
    EXPECT_FALSE(design.readError().empty());
    EXPECT_EQ(design.loadfromfile(work.file("notes.txt")), DstReadStatus::WrongExtension);

    // One stitch is a design of one stitch, not a file too short for one.
    testsupport::writeFile(work.file("one.exp"), {5, 5});
    ASSERT_EQ(design.loadfromfile(work.file("one.exp")), DstReadStatus::Read) << design.readError();
    EXPECT_EQ(design.stitchs(), 1);
}
