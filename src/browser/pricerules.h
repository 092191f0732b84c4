#pragma once

#include "config/configvalues.h"

#include <array>
#include <optional>
#include <string>

namespace loomscope {

// The price options as the user typed them (the fields start as "0").
struct PriceRangeFields {
    std::string lower = "0"; // stitch count from which the range applies
    std::string upper = "0"; // first stitch count beyond it
    std::string price = "0"; // unit price in 厘 (1/1000 元) per stitch
};
struct PriceFields {
    std::string start = "0"; // stitch count up to which the start fee is charged
    std::string fee = "0";   // start fee in 元
    std::array<PriceRangeFields, 3> ranges;
};

// What one design costs: the amount in 元, unrounded, and the unit column's text (the unit
// price, or "--" when the start fee applies).
struct DesignPrice {
    double amount = 0;
    std::string unit;
};

// Strict conversions with the texts people know from such programs: "'x' is not a valid
// integer value" (32-bit, optional sign, digits only) and "'x' is not a valid floating point
// value" (blanks around allowed, "." or the given separator, an exponent).
Converted<int> parseIntegerField(const std::string& text);
Converted<double> parseDecimalField(const std::string& text, char decimalSeparator);

// The price rules of one report. The start count and the six bounds are read once, up front;
// the fee and each range's unit price only when a design needs them, so a field that no
// design uses may hold anything. The first text that does not convert ends the pricing.
class PriceRules {
public:
    PriceRules(const PriceFields& fields, char decimalSeparator);

    // The conversion text of the first field that did not convert; empty while all did.
    const std::string& error() const { return error_; }

    // Up to the start count the fee; above it stitches x the unit price of the last range
    // with lower <= h < upper (0 when none holds) / 1000. Nothing once a conversion failed.
    std::optional<DesignPrice> price(int stitches);

private:
    std::optional<double> decimal(std::size_t which); // 0: the fee, 1..3: a range's price

    PriceFields fields_;
    char separator_;
    std::string error_;
    int start_ = 0;
    std::array<int, 3> lower_{};
    std::array<int, 3> upper_{};
    std::array<std::optional<double>, 4> decimals_; // read on first use
};

} // namespace loomscope
