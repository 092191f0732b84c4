// Designs in the other formats as the program opens them: a side file over the file's own
// threads, a copy under a made-up name, the folder list, a refused file and a lone stitch.
#include "model/colorsequencefile.h"
#include "model/colortable.h"
#include "model/designfile.h"
#include "model/embroideryformats.h"
#include "model/folderlist.h"
#include "model/tembs.h"
#include "testenv.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace loomscope;
namespace fs = std::filesystem;

TEST(OtherFormats, ASideFileStillWinsAndACopyUnderAnyNameIsReadByItsSignature)
{
    const auto corpus = testsupport::corpusDir();
    const auto dir = corpus ? std::optional(*corpus / "formats") : std::nullopt;
    if (!dir)
        GTEST_SKIP() << "no corpus of real files beside the project";
    testsupport::TempDir work;
    const std::string pes = work.file("CAKE.PES");
    fs::copy_file(*dir / "embcat__Cake_3.pes", pes);

    Tembs own;
    ASSERT_EQ(loadDesign(own, pes, {SideFiles::LookUp, {}}).status, DstReadStatus::Read);
    EXPECT_EQ(colorToHtml(colorTableFromBlocks(own)[1]), "#0B3D91");

    // A side file of the same name, as for a DST design, gives every block its colour.
    const std::vector<TColor> red(static_cast<std::size_t>(own.colorcount()), rgb(255, 0, 0));
    const std::vector<std::string> names(red.size(), "Red");
    ASSERT_EQ(writecolorfile(work.file("CAKE.lsc"), "Card", red, names), "");
    Tembs sided;
    const DesignLoad load = loadDesign(sided, pes, {SideFiles::LookUp, {}});
    ASSERT_EQ(load.status, DstReadStatus::Read);
    for (TColor c : colorTableFromBlocks(sided))
        EXPECT_EQ(colorToHtml(c), "#FF0000");

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
