// Thread-chart files: fields, components, encodings, errors, the charts of a program home and
// the charts shipped with the program.
#include "colour/threadchart.h"
#include "testenv.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using namespace loomscope;

namespace {

std::vector<std::uint8_t> bytesOf(std::string_view text)
{
    return {text.begin(), text.end()};
}

ThreadChart parse(std::string_view text)
{
    return parseThreadChart(bytesOf(text));
}

} // namespace

TEST(ThreadChart, LinesBecomeEntriesInFileOrder)
{
    const ThreadChart chart = parse("1001,Red,,,255,0,0\r\n"
                                    "1002,Blue\n"
                                    "\n"
                                    "   \r\n"
                                    "1003,,,, 1 , 2 ,3\r"
                                    "1004,x,y,z,256,-1,511\n"
                                    "1005,x,,,0,128,0,extra,fields");
    ASSERT_TRUE(chart.error.empty()) << chart.error;
    const std::vector<ChartEntry> expected = {
        {255, "1001"},              // pure red, red in the low byte
        {0, "1002"},                // fewer than seven fields: black
        {rgb(1, 2, 3), "1003"},     // blanks around the numbers, a lone CR ends a line
        {rgb(0, 255, 255), "1004"}, // only the low 8 bits count
        {rgb(0, 128, 0), "1005"},
    };
    EXPECT_EQ(chart.entries, expected);
}

TEST(ThreadChart, OnlyCommasSeparateAndQuotesEncloseAField)
{
    EXPECT_EQ(chartFields(""), std::vector<std::string>{});
    EXPECT_EQ(chartFields("a b, c"), (std::vector<std::string>{"a b", " c"}));
    EXPECT_EQ(chartFields("\"A,1\",\"say \"\"hi\"\"\",x"),
              (std::vector<std::string>{"A,1", "say \"hi\"", "x"}));
    EXPECT_EQ(chartFields("a,,"), (std::vector<std::string>{"a", "", ""}));
    EXPECT_EQ(chartFields("\"open"), (std::vector<std::string>{"open"}));
    // Text after a closing quote stays with its field.
    EXPECT_EQ(chartFields("\"ab\"cd,e"), (std::vector<std::string>{"abcd", "e"}));

    const ThreadChart chart = parse("\"A,1\",\"Deep, dark red\",,,128,0,0");
    ASSERT_EQ(chart.entries.size(), 1u);
    EXPECT_EQ(chart.entries[0], (ChartEntry{128, "A,1"}));
}

TEST(ThreadChart, AComponentThatIsNoIntegerStopsTheLoad)
{
    for (const char* bad : {"abc", "", "1.5", "0x10", "4294967296", "12 3", "+"}) {
        const std::string text = std::string("1001,Red,,,255,0,0\n1002,Bad,,,1,") + bad + ",3\n";
        const ThreadChart chart = parse(text);
        EXPECT_TRUE(chart.entries.empty()) << bad; // never half a chart
        EXPECT_EQ(chart.errorLine, 2) << bad;
        EXPECT_EQ(chart.error, "'" + std::string(bad) + "' is not a valid integer value") << bad;
    }
    // Short lines never look at their components.
    EXPECT_TRUE(parse("1001,Red,,,abc\n").error.empty());
}

TEST(ThreadChart, AByteOrderMarkNamesTheEncodingElseCodePage936)
{
    // The line 红1,红色,,,1,2,3 in each encoding.
    const std::string gbk = "\xBA\xEC"
                            "1,\xBA\xEC\xC9\xAB,,,1,2,3\r\n";
    const std::string utf8 = "\xEF\xBB\xBF"
                             "\xE7\xBA\xA2"
                             "1,\xE7\xBA\xA2\xE8\x89\xB2,,,1,2,3\r\n";
    std::string utf16le = "\xFF\xFE";
    std::string utf16be = "\xFE\xFF";
    for (char16_t unit : std::u16string(u"红1,红色,,,1,2,3\r\n")) {
        utf16le += static_cast<char>(unit & 0xFF);
        utf16le += static_cast<char>(unit >> 8);
        utf16be += static_cast<char>(unit >> 8);
        utf16be += static_cast<char>(unit & 0xFF);
    }
    const ChartEntry expected{rgb(1, 2, 3), "\xE7\xBA\xA2"
                                            "1"};
    for (const std::string& file : {gbk, utf8, utf16le, utf16be}) {
        const ThreadChart chart = parse(file);
        ASSERT_EQ(chart.entries.size(), 1u);
        EXPECT_EQ(chart.entries[0], expected);
    }
    // UTF-8 without its mark is read as code page 936: the code is not 红1.
    EXPECT_NE(parse(utf8.substr(3)).entries.at(0).code, expected.code);
    // A UTF-16 file cut in the middle of a character keeps what it has.
    EXPECT_EQ(parse(utf16le.substr(0, utf16le.size() - 1)).entries.at(0), expected);
}

TEST(ThreadChart, ChartsOfAProgramHome)
{
    testsupport::TempDir top;
    const std::string dir = top.file("home") + "/";
    std::filesystem::create_directory(dir);
    for (const char* name : {"b.tch", "A.TCH", "10.tch", "2.tch", "notes.txt", "tch"})
        testsupport::writeFile(dir + name, bytesOf("1,x,,,1,2,3\n"));
    std::filesystem::create_directory(dir + "folder.tch");

    std::vector<std::string> names;
    for (const ChartFile& chart : listThreadCharts(dir))
        names.push_back(chart.name);
    EXPECT_EQ(names, (std::vector<std::string>{"2", "10", "A", "b"}));

    EXPECT_EQ(findThreadChart(dir, "b"), dir + "b.tch");
    EXPECT_EQ(findThreadChart(dir, "a"), dir + "A.TCH"); // letter case as on Windows
    EXPECT_EQ(findThreadChart(dir, "B "), "");
    EXPECT_EQ(findThreadChart(dir, ""), "");
    EXPECT_EQ(findThreadChart(dir, "folder"), "");
    testsupport::writeFile(top.file("outside.tch"), bytesOf("1\n"));
    EXPECT_EQ(findThreadChart(dir, "../outside"), ""); // only charts of the home
    EXPECT_TRUE(listThreadCharts(dir + "missing/").empty());

    const ThreadChart missing = loadThreadChart(dir + "none.tch");
    EXPECT_FALSE(missing.error.empty());
    EXPECT_EQ(missing.errorLine, 0);
}

TEST(ThreadChart, ShippedChartsReadWhole)
{
    const std::filesystem::path charts =
        std::filesystem::path(LOOMSCOPE_SOURCE_DIR) / "data/charts";
    const struct {
        const char* file;
        std::size_t threads;
        ChartEntry sample;
    } shipped[] = {
        {"Hemingworth.tch", 282, {0xFFFFFF, "1001"}},
        {"Isacord.tch", 318, {0, "0020"}}, // the maker's four digits
        {"Sulky Rayon.tch", 333, {rgb(0xEF, 0xC8, 0x10), "502"}},
        {"LoomScope Default.tch", 156, {255, "LS3"}},
    };
    for (const auto& chart : shipped) {
        const ThreadChart read = loadThreadChart((charts / chart.file).string());
        ASSERT_TRUE(read.error.empty()) << chart.file << ": " << read.error;
        EXPECT_EQ(read.entries.size(), chart.threads) << chart.file;
        EXPECT_NE(std::find(read.entries.begin(), read.entries.end(), chart.sample),
                  read.entries.end())
            << chart.file;
        // Codes as printed on the spools: digits (and letters), never a leftover of the
        // source they were converted from.
        for (const ChartEntry& e : read.entries)
            EXPECT_EQ(e.code.find_first_of(" /*\""), std::string::npos)
                << chart.file << ": " << e.code;
        if (std::string(chart.file) == "Isacord.tch") {
            for (const ChartEntry& e : read.entries)
                EXPECT_EQ(e.code.size(), 4u) << e.code;
        }
    }
}
