// The price report: the price rules, the conversions, and the text laid out in columns.
#include "browser/pricereport.h"
#include "model/codepage.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace loomscope;

namespace {

PriceFields shopFields()
{
    // Start 1000 stitches for 3 元, then 0.5 厘 a stitch up to 50000.
    PriceFields f;
    f.start = "1000";
    f.fee = "3";
    f.ranges[0] = {"1000", "50000", "0.5"};
    return f;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        if (end == std::string::npos)
            break;
        out.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return out;
}

std::string chinese(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += "花";
    return s;
}

} // namespace

TEST(PriceRules, StartFeeRangesAndDesignsBeyondThem)
{
    PriceRules rules(shopFields(), '.');
    ASSERT_EQ(rules.error(), "");
    struct Case {
        int stitches;
        double amount;
        const char* unit;
    };
    for (const Case& c :
         {Case{800, 3, "--"}, Case{1000, 3, "--"}, Case{1001, 0.5005, "0.5"},
          Case{20000, 10, "0.5"}, Case{49999, 24.9995, "0.5"}, Case{50000, 0, "0"}}) {
        const auto p = rules.price(c.stitches);
        ASSERT_TRUE(p) << c.stitches;
        EXPECT_DOUBLE_EQ(p->amount, c.amount) << c.stitches;
        EXPECT_EQ(p->unit, c.unit) << c.stitches;
    }
}

TEST(PriceRules, ALaterRangeWinsWhereRangesOverlap)
{
    PriceFields f;
    f.ranges[0] = {"0", "5000", "1"};
    f.ranges[1] = {"3000", "10000", "2.5"};
    f.ranges[2] = {"4000", "4500", "4"};
    PriceRules rules(f, '.');
    EXPECT_EQ(rules.price(2000)->unit, "1");
    EXPECT_EQ(rules.price(3500)->unit, "2.5");
    EXPECT_EQ(rules.price(4200)->unit, "4");
    EXPECT_DOUBLE_EQ(rules.price(4200)->amount, 16.8);
    EXPECT_EQ(rules.price(4500)->unit, "2.5");
}

TEST(PriceRules, DecimalsAreReadOnlyWhenADesignNeedsThem)
{
    PriceFields f = shopFields();
    f.fee = "";              // no design at or below the start count needs it
    f.ranges[1].price = "x"; // range 2 is 0..0 and holds nothing
    PriceRules rules(f, '.');
    EXPECT_TRUE(rules.price(5000));
    EXPECT_FALSE(rules.price(500));
    EXPECT_EQ(rules.error(), "'' is not a valid floating point value");
    EXPECT_FALSE(rules.price(5000)) << "nothing is priced after a conversion failed";
}

TEST(PriceRules, ConversionsAreStrictAndTakeEitherDecimalMark)
{
    for (const char* bad : {"", "1.2.3", "1,5", "abc", "inf", "nan", "1e999", "+-1", " "}) {
        const auto c = parseDecimalField(bad, '.');
        EXPECT_FALSE(c.value) << bad;
        EXPECT_EQ(c.error, std::string("'") + bad + "' is not a valid floating point value");
    }
    EXPECT_DOUBLE_EQ(*parseDecimalField("0.5", ',').value, 0.5);
    EXPECT_DOUBLE_EQ(*parseDecimalField("0,5", ',').value, 0.5);
    EXPECT_FALSE(parseDecimalField("0,5.1", ',').value);
    EXPECT_DOUBLE_EQ(*parseDecimalField(" 2. ", '.').value, 2);
    EXPECT_DOUBLE_EQ(*parseDecimalField(".25", '.').value, 0.25);

    for (const char* bad : {"", "1.5", "12a", "2147483648", "+-3", "-", " 7"}) {
        const auto c = parseIntegerField(bad);
        EXPECT_FALSE(c.value) << bad;
        EXPECT_EQ(c.error, std::string("'") + bad + "' is not a valid integer value");
    }
    EXPECT_EQ(*parseIntegerField("2147483647").value, 2147483647);
    EXPECT_EQ(*parseIntegerField("-12").value, -12);
    EXPECT_EQ(*parseIntegerField("+12").value, 12);
}

TEST(PriceReportLayout, PaddingCutsAndTitles)
{
    EXPECT_EQ(padToDisplayWidth("rose", -15), "rose" + std::string(26, ' '));
    EXPECT_EQ(padToDisplayWidth("玫瑰", -15), "玫瑰" + std::string(26, ' '));
    EXPECT_EQ(padToDisplayWidth("é花", 3), std::string(3, ' ') + "é花"); // é counts one column
    EXPECT_EQ(padToDisplayWidth(chinese(16), -15), chinese(16));

    EXPECT_EQ(cutToCodePageBytes(chinese(20), 28), chinese(14));
    EXPECT_EQ(cutToCodePageBytes(std::string(40, 'a'), 28), std::string(28, 'a'));
    // A character that would straddle the limit is left out whole.
    EXPECT_EQ(cutToCodePageBytes("a" + chinese(14), 28), "a" + chinese(13));
    // Characters the code page lacks count as one byte and stay as they are.
    EXPECT_EQ(cutToCodePageBytes("😀" + std::string(30, 'b'), 28), "😀" + std::string(27, 'b'));

    EXPECT_EQ(reportTitle(std::string(100, 'p')), std::string(100, 'p'));
    EXPECT_EQ(reportTitle(std::string(50, 'p')), std::string(20, ' ') + std::string(50, 'p'));
    EXPECT_EQ(reportTitle(std::string(93, 'p')), std::string(93, 'p'));
    EXPECT_EQ(reportTitle("/商店/"), std::string(43, ' ') + "/商店/");

    EXPECT_EQ(formatAmount(0, '.'), "0.00");
    EXPECT_EQ(formatAmount(0.125, '.'), "0.13"); // exactly half: up, as a shop rounds
    // Amounts are decimal: 535 stitches at 5 厘 are 2.675 元, a little below that as a double,
    // and 19479 at 5 are 97.395: both are half a fen, and go up.
    EXPECT_EQ(formatAmount(535 * 5.0 / 1000, '.'), "2.68");
    EXPECT_EQ(formatAmount(19479 * 5.0 / 1000, '.'), "97.40");
    EXPECT_EQ(formatAmount(9.999, ','), "10,00");
    EXPECT_EQ(formatAmount(123456.5, '.'), "123456.50");
}

TEST(PriceReportText, RowsHeaderRulesAndSummaryInTheirColumns)
{
    PriceReportInput in;
    in.folder = "/home/shop/orders/";
    in.rows = {{"small", "10 * 8.5", 800},
               {"玫瑰花", "85.3 * 100", 1000},
               {chinese(20), "120 * 80", 20000},
               {std::string(40, 'x'), "200 * 150", 50000}};
    in.entries = 4;
    in.totalStitches = "71800";
    const PriceReport report = buildPriceReport(in, shopFields(), '.');
    ASSERT_EQ(report.error, "");
    const auto l = lines(report.text);
    ASSERT_EQ(l.size(), 10u);
    EXPECT_EQ(l[0], std::string(36, ' ') + "/home/shop/orders/");
    EXPECT_EQ(l[1], "");
    EXPECT_EQ(l[2], "编号  文件名" + std::string(24, ' ') + "尺寸（mm）" + std::string(10, ' ') +
                        "针数" + std::string(11, ' ') + "单价" + std::string(11, ' ') + "金额" +
                        std::string(11, ' '));
    EXPECT_EQ(l[3], std::string(95, '-'));
    auto row = [](const std::string& n, const std::string& name, const std::string& size,
                  const std::string& h, const std::string& unit, const std::string& amount) {
        auto left = [](std::string s, std::size_t w) { return s + std::string(w - s.size(), ' '); };
        return left(n, 6) + name + left(size, 20) + left(h, 15) + left(unit, 15) + left(amount, 15);
    };
    EXPECT_EQ(l[4], row("1", "small" + std::string(25, ' '), "10 * 8.5", "800", "--", "3.00"));
    EXPECT_EQ(l[5], row("2", "玫瑰花" + std::string(24, ' '), "85.3 * 100", "1000", "--", "3.00"));
    EXPECT_EQ(l[6],
              row("3", chinese(14) + std::string(2, ' '), "120 * 80", "20000", "0.5", "10.00"));
    EXPECT_EQ(l[7], row("4", std::string(28, 'x') + "  ", "200 * 150", "50000", "0", "0.00"));
    EXPECT_EQ(l[8], std::string(95, '-'));
    EXPECT_EQ(l[9], "数量：4" + std::string(41, ' ') + "总针数: 71800" + std::string(25, ' ') +
                        "汇总:16.00");
}

TEST(PriceReportText, AnEmptyFolderStillGetsItsFrameAndConversionErrorsGiveNoText)
{
    PriceReportInput in;
    in.folder = "/empty/";
    in.totalStitches = "0";
    PriceReport report = buildPriceReport(in, PriceFields{}, '.');
    ASSERT_EQ(report.error, "");
    const auto l = lines(report.text);
    ASSERT_EQ(l.size(), 6u);
    EXPECT_EQ(l[4], std::string(95, '-'));
    EXPECT_EQ(l[5],
              "数量：0" + std::string(41, ' ') + "总针数: 0" + std::string(29, ' ') + "汇总:0.00");

    // The start count and the bounds are read before any row, so even an empty folder stops.
    PriceFields f;
    f.ranges[1].upper = "";
    report = buildPriceReport(in, f, '.');
    EXPECT_EQ(report.text, "");
    EXPECT_EQ(report.error, "'' is not a valid integer value");

    in.rows = {{"a", "1 * 1", 10}};
    f = shopFields();
    f.fee = "3..0";
    report = buildPriceReport(in, f, '.');
    EXPECT_EQ(report.text, "");
    EXPECT_EQ(report.error, "'3..0' is not a valid floating point value");

    // Chinese names on a system without code page 936: no report laid out by guesswork.
    in.rows = {{"玫瑰", "1 * 1", 10}};
    setCodePage936NameForTesting("NO-SUCH-CHARSET");
    report = buildPriceReport(in, shopFields(), '.');
    setCodePage936NameForTesting("CP936");
    EXPECT_EQ(report.text, "");
    EXPECT_NE(report.error.find("code page 936"), std::string::npos) << report.error;
    EXPECT_NE(buildPriceReport(in, shopFields(), '.').text, "");
}

TEST(PriceReportText, UsesTheLocalesDecimalMarkForPricesAndAmounts)
{
    PriceReportInput in;
    in.folder = "/f/";
    in.rows = {{"a", "85,3 * 100", 20000}};
    in.entries = 1;
    in.totalStitches = "20000";
    PriceFields f = shopFields();
    f.ranges[0].price = "0,5";
    const PriceReport report = buildPriceReport(in, f, ',');
    ASSERT_EQ(report.error, "");
    const auto l = lines(report.text);
    EXPECT_NE(l[4].find("0,5" + std::string(12, ' ') + "10,00"), std::string::npos) << l[4];
    EXPECT_NE(l[6].find("汇总:10,00"), std::string::npos);
}
