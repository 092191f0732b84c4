#pragma once

#include "threadchart.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace loomscope {

// Finding threads in a chart: by the beginning of their code, and by closeness to a colour.

// The entries whose code begins with the typed text, in chart order. The text is trimmed and
// upper-cased; codes are compared as they are. A text that begins with a digit is compared
// with the code from its first digit on, so "1001" finds "S1001" and "7" finds "A7" and "B70";
// codes without a digit are then left out. An empty text gives the whole chart.
std::vector<ChartEntry> findCode(std::span<const ChartEntry> chart, std::string_view typed);

// How far a thread is from the picked colour; smaller is closer, 4 is an exact match. The mean
// of the three channel differences, plus a step that favours even differences across the
// channels over a single channel off by 10 to 24, plus one more for a spread over 10.
int matchScore(TColor picked, TColor thread);

// The text the chart is ordered by: the score with at least three digits, the code and the
// colour in decimal, "006,1001,255". Ordered ignoring letter case, equal scores go by code.
std::string matchKey(TColor picked, const ChartEntry& entry);

enum class MatchOrdering {
    Score,      // matchScore, then code
    Perceptual, // CIEDE2000 colour difference, then code
};

// The whole chart, closest thread first.
std::vector<ChartEntry> matchOrder(std::span<const ChartEntry> chart, TColor picked,
                                   MatchOrdering ordering = MatchOrdering::Score);

} // namespace loomscope
