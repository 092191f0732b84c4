#include "pricereport.h"

#include "model/codepage.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace loomscope {

namespace {

constexpr std::size_t kCutBytes = 28;
const std::string kRule(95, '-');
constexpr const char* kLineEnd = "\r\n";

// The code point starting at text[i] and its length; a byte that does not start a well-formed
// sequence counts as one character of its own.
char32_t codePointAt(std::string_view text, std::size_t i, std::size_t& length)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (n <= 1 || i + n > text.size() || !isUtf8(text.substr(i, n))) {
        length = 1;
        return lead < 0x80 ? lead : 0xFFFD;
    }
    char32_t cp = lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k)
        cp = cp << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    length = n;
    return cp;
}

struct Counts {
    int characters = 0;
    int narrow = 0; // below U+0100
};

Counts countCharacters(std::string_view text)
{
    Counts c;
    for (std::size_t i = 0, n = 0; i < text.size(); i += n) {
        const char32_t cp = codePointAt(text, i, n);
        ++c.characters;
        if (cp < 0x100)
            ++c.narrow;
    }
    return c;
}

// printf's "%-Ns": the text followed by spaces up to n characters.
std::string leftAligned(std::string text, int n)
{
    const int have = countCharacters(text).characters;
    if (have < n)
        text.append(static_cast<std::size_t>(n - have), ' ');
    return text;
}

} // namespace

std::string padToDisplayWidth(std::string_view text, int w)
{
    const Counts c = countCharacters(text);
    const int width = std::abs(w);
    const int spaces = 2 * (width - c.characters) + c.narrow;
    if (spaces <= 0)
        return std::string(text);
    const std::string pad(static_cast<std::size_t>(spaces), ' ');
    return w > 0 ? pad + std::string(text) : std::string(text) + pad;
}

std::string cutToCodePageBytes(std::string_view text, std::size_t maxBytes)
{
    // Each character becomes one character of the code page (its own, or '?' when the code
    // page lacks it), so the characters that fit are counted there and kept here.
    const std::string clean = utf8WithReplacements(text);
    const std::string encoded = utf8ToCp936(clean);
    const std::string_view kept = cutCp936(encoded, maxBytes);
    if (kept.size() == encoded.size())
        return clean;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < kept.size(); ++characters) {
        const auto b = static_cast<unsigned char>(kept[i]);
        i += b >= 0x81 && b <= 0xFE ? 2 : 1;
    }
    std::size_t end = 0;
    for (std::size_t n = 0; characters > 0 && end < clean.size(); --characters, end += n)
        codePointAt(clean, end, n);
    return clean.substr(0, end);
}

std::string reportTitle(std::string_view folder)
{
    const int length = countCharacters(folder).characters;
    const int spaces = length < 95 ? (90 - length) / 2 : 0;
    return std::string(static_cast<std::size_t>(std::max(spaces, 0)), ' ') + std::string(folder);
}

std::string formatAmount(double amount, char decimalSeparator)
{
    char text[512];
    if (!std::isfinite(amount)) {
        const auto r = std::to_chars(text, text + sizeof text, amount);
        return std::string(text, r.ptr);
    }
    // The decimal value to the 15 digits a double holds (so 19479 x 5 / 1000 is 97.395, not the
    // 97.39499… the binary value is), then rounded by hand at the second decimal: half a fen
    // goes up (97.40, 0.13 for 0.125), as a shop expects, where "%.2f" would go down or to even.
    const double magnitude = std::fabs(amount);
    const int wholeDigits =
        magnitude >= 1 ? static_cast<int>(std::floor(std::log10(magnitude))) + 1 : 1;
    const auto r = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::fixed,
                                 std::max(3, 15 - wholeDigits));
    std::string digits(text, r.ptr);
    const std::size_t point = digits.find('.');
    const bool up = digits[point + 3] >= '5';
    digits.resize(point + 3);
    if (up) {
        // Add one at the last place, carrying over the point.
        std::size_t i = digits.size();
        while (i-- > 0) {
            if (digits[i] == '.')
                continue;
            if (digits[i] != '9') {
                ++digits[i];
                break;
            }
            digits[i] = '0';
            if (i == 0)
                digits.insert(digits.begin(), '1');
        }
    }
    if (const std::size_t p = digits.find('.'); p != std::string::npos)
        digits[p] = decimalSeparator;
    const bool zero =
        digits.find_first_not_of(std::string("0") + decimalSeparator) == std::string::npos;
    return (amount < 0 && !zero ? "-" : "") + digits;
}

PriceReport buildPriceReport(const PriceReportInput& input, const PriceFields& fields,
                             char decimalSeparator)
{
    PriceRules rules(fields, decimalSeparator);
    if (!rules.error().empty())
        return {{}, rules.error()};
    // The columns are laid out by the names' width in code page 936, as the shop's Windows
    // systems show them; without the conversion they cannot be.
    const bool texts = hasNonAscii(input.folder) ||
                       std::any_of(input.rows.begin(), input.rows.end(),
                                   [](const PriceReportRow& r) { return hasNonAscii(r.name); });
    if (texts && !codePage936Available())
        return {{}, std::string("The price report cannot be made: ") + kNoCodePage936 + '.'};

    std::string out;
    out.reserve(128 * (input.rows.size() + 8));
    out += reportTitle(input.folder) + kLineEnd;
    out += kLineEnd;
    out += leftAligned("编号", 4) + leftAligned("文件名", 27) + leftAligned("尺寸（mm）", 16) +
           leftAligned("针数", 13) + leftAligned("单价", 13) + leftAligned("金额", 13) + kLineEnd;
    out += kRule + kLineEnd;
    double total = 0;
    int number = 0;
    for (const PriceReportRow& row : input.rows) {
        if (!row.error.empty()) {
            out += leftAligned(std::to_string(++number), 6);
            out += padToDisplayWidth(cutToCodePageBytes(row.name, kCutBytes), -15);
            out += row.error + kLineEnd;
            continue;
        }
        const auto price = rules.price(row.stitches);
        if (!price)
            return {{}, rules.error()};
        total += price->amount;
        out += leftAligned(std::to_string(++number), 6);
        out += padToDisplayWidth(cutToCodePageBytes(row.name, kCutBytes), -15);
        out += leftAligned(cutToCodePageBytes(row.size, kCutBytes), 20);
        out += leftAligned(std::to_string(row.stitches), 15);
        out += leftAligned(price->unit, 15);
        out += leftAligned(formatAmount(price->amount, decimalSeparator), 15);
        out += kLineEnd;
    }
    out += kRule + kLineEnd;
    out += "数量：" + leftAligned(std::to_string(input.entries), 42);
    out += "总针数: " + leftAligned(input.totalStitches, 30);
    out += "汇总:" + formatAmount(total, decimalSeparator) + kLineEnd;
    return {std::move(out), {}};
}

} // namespace loomscope
