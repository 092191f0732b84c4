// The colour panel's grids made from a design and from an Embird file.
#include "colour/coloursequence.h"
#include "dstbuilder.h"
#include "model/colortable.h"
#include "model/palette.h"
#include "model/tembs.h"

#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kBlue = 0xFF0000;

// A design of one block a step, with the given thread colours and names from a side file.
void loadSteps(Tembs& design, const std::vector<TColor>& colours,
               const std::vector<std::string>& names)
{
    DstBuilder b;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        if (i > 0)
            b.colourChange();
        b.stitch(0, 0).stitch(10, 10).jumpBy(20, 0).stitch(10, -10); // two blocks a step
    }
    ASSERT_EQ(design.readdstbytes(b.fullyReadFile()), DstReadStatus::Read);
    ASSERT_EQ(design.colorcount(), static_cast<int>(colours.size()));
    const auto side = encodeColorSequence("Card", colours, names);
    ASSERT_EQ(design.applycolorsequence(side).status, ColorFileStatus::Applied);
}

std::vector<TColor> colours(const std::vector<Swatch>& swatches)
{
    std::vector<TColor> out;
    for (const Swatch& s : swatches)
        out.push_back(s.colour);
    return out;
}

} // namespace

TEST(FillFromDesign, StepsAndTheirColoursOnceInThePalette)
{
    Tembs design;
    loadSteps(design, {kRed, kGreen, kRed, kBlue, kGreen}, {"R1", "G1", "R2", "B1", "G2"});
    const ColourGrids grids = fillFromDesign(design, colorTableFromBlocks(design));
    EXPECT_EQ(grids.steps,
              (std::vector<Swatch>{
                  {kRed, "R1"}, {kGreen, "G1"}, {kRed, "R2"}, {kBlue, "B1"}, {kGreen, "G2"}}));
    ASSERT_EQ(grids.palette.size(), 25u);
    EXPECT_EQ(grids.palette[0], (Swatch{kRed, "R1"}));
    EXPECT_EQ(grids.palette[1], (Swatch{kGreen, "G1"}));
    EXPECT_EQ(grids.palette[2], (Swatch{kBlue, "B1"}));
    for (std::size_t i = 3; i < 25; ++i)
        EXPECT_EQ(grids.palette[i], Swatch{}) << i;
}

TEST(FillFromDesign, OnlyTheFirst24StepsReachThePalette)
{
    std::vector<TColor> distinct;
    for (int i = 0; i < 30; ++i)
        distinct.push_back(rgb(i, 2 * i, 3 * i + 1));
    Tembs design;
    loadSteps(design, distinct, {});
    const ColourGrids grids = fillFromDesign(design, colorTableFromBlocks(design));
    EXPECT_EQ(grids.steps.size(), 30u);
    std::vector<TColor> expected(distinct.begin(), distinct.begin() + 24);
    expected.push_back(kBlankSwatchColour); // the last entry stays free
    EXPECT_EQ(colours(grids.palette), expected);
}

TEST(FillFromDesign, AWhiteThreadIsAPaletteColourAndAStepWithoutBlocksShowsTheView)
{
    Tembs design;
    loadSteps(design, {0xFFFFFF, kRed}, {"White", "Red"});
    const ColourGrids grids = fillFromDesign(design, colorTableFromBlocks(design));
    EXPECT_EQ(grids.palette[0], (Swatch{0xFFFFFF, "White"}));
    EXPECT_EQ(grids.palette[1], (Swatch{kRed, "Red"}));

    // Two colour changes in a row: the middle step has no block of its own.
    DstBuilder b;
    b.stitch(0, 0).stitch(10, 10).colourChange().colourChange().stitch(10, 0).stitch(0, 10);
    Tembs gap;
    ASSERT_EQ(gap.readdstbytes(b.fullyReadFile()), DstReadStatus::Read);
    ASSERT_EQ(gap.colorcount(), 3);
    const std::vector<TColor> view = {kRed, kGreen, kBlue};
    const ColourGrids filled = fillFromDesign(gap, view);
    EXPECT_EQ(filled.steps[1], (Swatch{kGreen, ""}));
    EXPECT_EQ(filled.steps[0].colour, paletteColor(0));
}

TEST(PaletteFromSteps, FirstDistinctColoursWithoutNames)
{
    const std::vector<Swatch> same = {{kRed, "a"}, {kRed, "b"}, {kRed, "c"}, {kBlue, "d"}};
    const auto palette = paletteFromSteps(same);
    EXPECT_EQ(palette[0], (Swatch{kRed, ""}));
    EXPECT_EQ(palette[1], (Swatch{kBlue, ""}));
    EXPECT_EQ(palette[2], Swatch{});

    std::vector<Swatch> many;
    for (int i = 0; i < 30; ++i)
        many.push_back({rgb(i, 0, 0), "x"});
    const auto full = paletteFromSteps(many);
    ASSERT_EQ(full.size(), 25u);
    EXPECT_EQ(full[24], (Swatch{rgb(24, 0, 0), ""}));
}

TEST(EmbirdSteps, StepCountAndShortFiles)
{
    EXPECT_EQ(embirdStepCount(340), 255);
    EXPECT_EQ(embirdStepCount(1000), 255);
    EXPECT_EQ(embirdStepCount(339), 339);
    EXPECT_EQ(embirdStepCount(300), 300);
    EXPECT_EQ(embirdStepCount(0), 0);

    const std::vector<TColor> file(400, kRed);
    const EmbirdSteps big = embirdSteps(file, 340);
    EXPECT_EQ(big.colours.size(), 255u);
    EXPECT_TRUE(big.complete);
    EXPECT_EQ(embirdSteps(file, 300).colours.size(), 300u);

    const EmbirdSteps shortFile = embirdSteps(std::vector<TColor>{kRed, kGreen, kBlue}, 5);
    EXPECT_EQ(shortFile.colours, (std::vector<TColor>{kRed, kGreen, kBlue}));
    EXPECT_FALSE(shortFile.complete);
}

TEST(CardName, DefaultWhenTheChartBoxIsEmpty)
{
    EXPECT_EQ(cardNameForSave(""), "Default");
    EXPECT_EQ(cardNameForSave("Sulky Rayon"), "Sulky Rayon");
}
