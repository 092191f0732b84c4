#include "pricerules.h"

#include "model/numberformat.h"

#include <charconv>
#include <cmath>

namespace loomscope {

Converted<int> parseIntegerField(const std::string& text)
{
    const std::string error = "'" + text + "' is not a valid integer value";
    std::string_view t = text;
    const bool plus = !t.empty() && t.front() == '+';
    if (plus)
        t.remove_prefix(1);
    // from_chars takes a '-' itself; a second sign or a lone sign does not convert.
    if (t.empty() || t.front() == '+' || (plus && t.front() == '-'))
        return {std::nullopt, error};
    int value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size())
        return {std::nullopt, error};
    return {value, {}};
}

Converted<double> parseDecimalField(const std::string& text, char decimalSeparator)
{
    const std::string error = "'" + text + "' is not a valid floating point value";
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {std::nullopt, error};
    std::string t = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (decimalSeparator != '.') {
        // Both marks in one number are two decimal points, as much as two of either.
        if (t.find('.') != std::string::npos && t.find(decimalSeparator) != std::string::npos)
            return {std::nullopt, error};
        for (char& c : t)
            if (c == decimalSeparator)
                c = '.';
    }
    std::string_view v = t;
    bool negative = false;
    if (v.front() == '+' || v.front() == '-') {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    // from_chars would take "inf" and "nan", which are not numbers a price can be.
    if (v.empty() || !(std::isdigit(static_cast<unsigned char>(v.front())) || v.front() == '.'))
        return {std::nullopt, error};
    double value = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
    if (ec != std::errc() || end != v.data() + v.size() || !std::isfinite(value))
        return {std::nullopt, error};
    return {negative ? -value : value, {}};
}

PriceRules::PriceRules(const PriceFields& fields, char decimalSeparator)
    : fields_(fields), separator_(decimalSeparator)
{
    auto integer = [this](const std::string& text, int& to) {
        if (!error_.empty())
            return;
        const Converted<int> c = parseIntegerField(text);
        if (c.value)
            to = *c.value;
        else
            error_ = c.error;
    };
    integer(fields.start, start_);
    for (std::size_t i = 0; i < 3; ++i) {
        integer(fields.ranges[i].lower, lower_[i]);
        integer(fields.ranges[i].upper, upper_[i]);
    }
}

std::optional<double> PriceRules::decimal(std::size_t which)
{
    if (!decimals_[which]) {
        const std::string& text = which == 0 ? fields_.fee : fields_.ranges[which - 1].price;
        const Converted<double> c = parseDecimalField(text, separator_);
        if (!c.value) {
            error_ = c.error;
            return std::nullopt;
        }
        decimals_[which] = c.value;
    }
    return decimals_[which];
}

std::optional<DesignPrice> PriceRules::price(int stitches)
{
    if (!error_.empty())
        return std::nullopt;
    double unit = 0;
    for (std::size_t i = 0; i < 3; ++i)
        if (lower_[i] <= stitches && stitches < upper_[i]) {
            const auto p = decimal(i + 1);
            if (!p)
                return std::nullopt;
            unit = *p; // a later range wins over an earlier one
        }
    if (stitches <= start_) {
        const auto fee = decimal(0);
        if (!fee)
            return std::nullopt;
        return DesignPrice{*fee, "--"};
    }
    return DesignPrice{stitches * unit / 1000, formatGeneral(unit, separator_)};
}

} // namespace loomscope
