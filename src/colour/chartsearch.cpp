#include "chartsearch.h"

#include "colourdistance.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>

namespace loomscope {

namespace {

char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Text order ignoring the letter case of ASCII letters; other bytes by value.
bool lessIgnoringCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(upperAscii(x)) <
               static_cast<unsigned char>(upperAscii(y));
    });
}

} // namespace

std::vector<ChartEntry> findCode(std::span<const ChartEntry> chart, std::string_view typed)
{
    while (!typed.empty() && static_cast<unsigned char>(typed.front()) <= ' ')
        typed.remove_prefix(1);
    while (!typed.empty() && static_cast<unsigned char>(typed.back()) <= ' ')
        typed.remove_suffix(1);
    std::string query(typed);
    std::transform(query.begin(), query.end(), query.begin(), upperAscii);
    if (query.empty())
        return {chart.begin(), chart.end()};

    const bool fromDigit = isDigit(query.front());
    std::vector<ChartEntry> found;
    for (const ChartEntry& entry : chart) {
        std::string_view code = entry.code;
        if (fromDigit) {
            const auto first = std::find_if(code.begin(), code.end(), isDigit);
            if (first == code.end())
                continue;
            code.remove_prefix(static_cast<std::size_t>(first - code.begin()));
        }
        if (code.starts_with(query))
            found.push_back(entry);
    }
    return found;
}

int matchScore(TColor picked, TColor thread)
{
    const int dr = std::abs(redOf(thread) - redOf(picked));
    const int dg = std::abs(greenOf(thread) - greenOf(picked));
    const int db = std::abs(blueOf(thread) - blueOf(picked));
    const int average = (dr + dg + db) / 3;
    const int spread = std::max({dr, dg, db}) - std::min({dr, dg, db});
    int bonus = 4;
    switch (spread / 5) {
    case 2:
        bonus = 1;
        break;
    case 3:
        bonus = 2;
        break;
    case 4:
        bonus = 3;
        break;
    default:
        break;
    }
    return average + bonus + (spread > 10 ? 1 : 0);
}

std::string matchKey(TColor picked, const ChartEntry& entry)
{
    char score[16];
    std::snprintf(score, sizeof score, "%.3d", matchScore(picked, entry.colour));
    return std::string(score) + "," + entry.code + "," + std::to_string(entry.colour);
}

std::vector<ChartEntry> matchOrder(std::span<const ChartEntry> chart, TColor picked,
                                   MatchOrdering ordering)
{
    std::vector<std::size_t> order(chart.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (ordering == MatchOrdering::Score) {
        // Entries are ordered by their texts, not re-read from them: a code holding a comma
        // stays one code.
        std::vector<std::string> keys;
        keys.reserve(chart.size());
        for (const ChartEntry& entry : chart)
            keys.push_back(matchKey(picked, entry));
        std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
            return lessIgnoringCase(keys[x], keys[y]);
        });
    } else {
        const Lab target = labFromColour(picked);
        std::vector<double> distance;
        distance.reserve(chart.size());
        for (const ChartEntry& entry : chart)
            distance.push_back(ciede2000(target, labFromColour(entry.colour)));
        std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
            if (distance[x] != distance[y])
                return distance[x] < distance[y];
            if (lessIgnoringCase(chart[x].code, chart[y].code))
                return true;
            if (lessIgnoringCase(chart[y].code, chart[x].code))
                return false;
            return lessIgnoringCase(std::to_string(chart[x].colour),
                                    std::to_string(chart[y].colour));
        });
    }
    std::vector<ChartEntry> sorted;
    sorted.reserve(chart.size());
    for (std::size_t i : order)
        sorted.push_back(chart[i]);
    return sorted;
}

} // namespace loomscope
