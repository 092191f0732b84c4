// Finding codes in a chart and ordering a chart by closeness to a picked colour.
#include "colour/chartsearch.h"
#include "colour/colourdistance.h"

#include <gtest/gtest.h>

using namespace loomscope;

namespace {

std::vector<std::string> codes(const std::vector<ChartEntry>& entries)
{
    std::vector<std::string> out;
    for (const ChartEntry& e : entries)
        out.push_back(e.code);
    return out;
}

const std::vector<ChartEntry> kCodes = {
    {1, "S10"}, {2, "s10x"}, {3, "A7"},    {4, "S100"}, {5, "B70"},
    {6, "7"},   {7, "A-B"},  {8, "S1001"}, {9, "1001"}, {10, "ABC"},
};

} // namespace

TEST(FindCode, PrefixOfTheCodeOrOfItsDigits)
{
    // Trimmed and upper-cased; the codes themselves are compared as they stand.
    EXPECT_EQ(codes(findCode(kCodes, " s10 ")), (std::vector<std::string>{"S10", "S100", "S1001"}));
    // From the first digit on; codes without a digit are not shown.
    EXPECT_EQ(codes(findCode(kCodes, "7")), (std::vector<std::string>{"A7", "B70", "7"}));
    EXPECT_EQ(codes(findCode(kCodes, "1001")), (std::vector<std::string>{"S1001", "1001"}));
    EXPECT_EQ(codes(findCode(kCodes, "a")), (std::vector<std::string>{"A7", "A-B", "ABC"}));
    EXPECT_TRUE(findCode(kCodes, "S101").empty());
    EXPECT_EQ(findCode(kCodes, "  "), kCodes); // nothing typed: the whole chart in file order
}

TEST(ChartMatch, ScoresOfThePickedColour)
{
    const TColor black = 0;
    EXPECT_EQ(matchScore(black, rgb(12, 0, 0)), 6);               // avg 4, spread 12: 4 + 1 + 1
    EXPECT_EQ(matchScore(black, rgb(3, 3, 3)), 7);                // avg 3, spread 0: 3 + 4
    EXPECT_EQ(matchScore(rgb(40, 80, 120), rgb(40, 80, 120)), 4); // exact: the lowest score
    EXPECT_EQ(matchScore(rgb(40, 80, 120), rgb(40, 90, 120)), 4); // 10 off in one channel
    // The step of the spread: div 5 = 3 → 2, = 4 → 3, 5 and more → 4, and over 10 one more.
    EXPECT_EQ(matchScore(black, rgb(0, 15, 0)), 5 + 2 + 1);
    EXPECT_EQ(matchScore(black, rgb(0, 0, 24)), 8 + 3 + 1);
    EXPECT_EQ(matchScore(black, rgb(25, 0, 0)), 8 + 4 + 1);
    EXPECT_EQ(matchScore(black, rgb(9, 0, 0)), 3 + 4);
    // Red is the low byte: swapping red and blue of both colours gives the same score.
    EXPECT_EQ(matchScore(rgb(200, 10, 0), rgb(180, 10, 30)),
              matchScore(rgb(0, 10, 200), rgb(30, 10, 180)));
    EXPECT_EQ(matchKey(black, {rgb(12, 0, 0), "R12"}), "006,R12,12");
}

TEST(ChartMatch, OrderedByScoreThenCodeIgnoringCase)
{
    const std::vector<ChartEntry> chart = {
        {rgb(3, 3, 3), "Grey"}, {rgb(12, 0, 0), "Red"},  {rgb(0, 10, 0), "b2"},
        {rgb(0, 0, 0), "A,1"},  {rgb(200, 0, 0), "Far"}, {rgb(0, 0, 10), "B1"},
    };
    // Exact black and the two colours 10 off in one channel all score 4, ordered by code
    // ("A,1" stays one code); then the reddish 6 before the grey 7.
    EXPECT_EQ(codes(matchOrder(chart, 0)),
              (std::vector<std::string>{"A,1", "B1", "b2", "Red", "Grey", "Far"}));
    EXPECT_EQ(matchOrder(chart, 0).front().colour, 0u);
    EXPECT_TRUE(matchOrder({}, 0).empty());
}

TEST(ChartMatch, PerceptualOrdering)
{
    // Published CIEDE2000 test pairs.
    const struct {
        Lab first, second;
        double difference;
    } pairs[] = {
        {{50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
        {{50, -1.3802, -84.2814}, {50, 0, -82.7485}, 1.0000},
        {{50, 0, 0}, {50, -1, 2}, 2.3669},
        {{50, 2.49, -0.001}, {50, -2.49, 0.0009}, 7.1792},
        {{50, 2.5, 0}, {73, 25, -18}, 27.1492},
        {{50, 2.5, 0}, {56, -27, -3}, 31.9030},
        {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
    };
    for (const auto& p : pairs) {
        EXPECT_NEAR(ciede2000(p.first, p.second), p.difference, 1e-4);
        EXPECT_NEAR(ciede2000(p.second, p.first), p.difference, 1e-4);
    }
    const Lab red = labFromColour(rgb(255, 0, 0));
    EXPECT_NEAR(red.L, 53.24, 0.01);
    EXPECT_NEAR(red.a, 80.09, 0.01);
    EXPECT_NEAR(red.b, 67.20, 0.01);
    EXPECT_NEAR(labFromColour(0xFFFFFF).L, 100, 0.01);

    // Against mid grey a light grey is closer to the eye than a clearly bluish grey, though
    // the channel score ranks the bluish one first.
    const TColor grey = rgb(128, 128, 128);
    const std::vector<ChartEntry> chart = {{rgb(150, 150, 150), "light"},
                                           {rgb(128, 128, 168), "bluish"}};
    EXPECT_EQ(codes(matchOrder(chart, grey, MatchOrdering::Score)),
              (std::vector<std::string>{"bluish", "light"}));
    EXPECT_EQ(codes(matchOrder(chart, grey, MatchOrdering::Perceptual)),
              (std::vector<std::string>{"light", "bluish"}));
    // Equal colours go by code.
    EXPECT_EQ(codes(matchOrder(std::vector<ChartEntry>{{grey, "b"}, {grey, "A"}}, 0,
                               MatchOrdering::Perceptual)),
              (std::vector<std::string>{"A", "b"}));
}
