#include "colorsequencefile.h"

#include "codepage.h"
#include "fileio.h"

#include <algorithm>

namespace loomscope {

namespace {

constexpr std::size_t kCardOffset = 0;
constexpr std::size_t kNumberOffset = 21;
constexpr std::size_t kColourOffset = 44;
constexpr std::size_t kNameOffset = 48;

// A length-prefixed text field. A length byte beyond the field's room is taken as the room,
// so a damaged file never reads into the next field.
std::string readShortString(const std::uint8_t* field, std::size_t room, bool& unconverted)
{
    const std::size_t length = std::min<std::size_t>(field[0], room);
    const std::string_view text(reinterpret_cast<const char*>(field + 1), length);
    unconverted = unconverted || (hasNonAscii(text) && !codePage936Available());
    return cp936ToUtf8(text);
}

void writeShortString(std::uint8_t* field, std::size_t room, std::string_view bytes)
{
    const std::string_view cut = cutCp936(bytes, room);
    field[0] = static_cast<std::uint8_t>(cut.size());
    std::copy(cut.begin(), cut.end(), field + 1);
}

// Blanks and control characters off both ends, as people expect of a card name.
std::string trimmed(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.substr(first, last - first);
}

} // namespace

ColorFileStatus parseColorSequence(std::span<const std::uint8_t> bytes, int maxRecords,
                                   ColorSequence& out)
{
    out = {};
    if (bytes.size() <= 11)
        return ColorFileStatus::Ignored;
    if (bytes[0] != 'L' || bytes[1] != 'S' || bytes[2] != 'C')
        return ColorFileStatus::Ignored;
    std::size_t count = bytes[5] + 256u * bytes[6];
    if (maxRecords >= 0 && count >= static_cast<std::size_t>(maxRecords))
        count = static_cast<std::size_t>(maxRecords);
    if (kColorHeaderSize + kColorRecordSize * count > bytes.size())
        return ColorFileStatus::StreamReadError;

    out.colors.reserve(count);
    out.names.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* record = bytes.data() + kColorHeaderSize + kColorRecordSize * i;
        const std::uint8_t* c = record + kColourOffset;
        out.colors.push_back(static_cast<TColor>(c[0]) | static_cast<TColor>(c[1]) << 8 |
                             static_cast<TColor>(c[2]) << 16 | static_cast<TColor>(c[3]) << 24);
        out.names.push_back(
            readShortString(record + kNameOffset, kThreadNameMaxBytes, out.namesUnconverted));
        if (i + 1 == count)
            out.colorcard = trimmed(
                readShortString(record + kCardOffset, kCardNameMaxBytes, out.namesUnconverted));
    }
    return ColorFileStatus::Applied;
}

std::vector<std::uint8_t> encodeColorSequence(std::string_view colorcard,
                                              std::span<const TColor> colors,
                                              std::span<const std::string> names)
{
    const std::size_t count = std::min<std::size_t>(colors.size(), 0xFFFF);
    std::vector<std::uint8_t> bytes(kColorHeaderSize + kColorRecordSize * count, 0);
    bytes[0] = 'L';
    bytes[1] = 'S';
    bytes[2] = 'C';
    bytes[3] = '.';
    bytes[4] = '.';
    bytes[5] = static_cast<std::uint8_t>(count & 0xFF);
    bytes[6] = static_cast<std::uint8_t>(count >> 8);

    const std::string card = utf8ToCp936(colorcard);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* record = bytes.data() + kColorHeaderSize + kColorRecordSize * i;
        writeShortString(record + kCardOffset, kCardNameMaxBytes, card);
        writeShortString(record + kNumberOffset, 20, std::to_string(i + 1));
        const TColor c = colors[i];
        for (int b = 0; b < 4; ++b)
            record[kColourOffset + static_cast<std::size_t>(b)] =
                static_cast<std::uint8_t>(c >> (8 * b));
        const std::string name = i < names.size() ? utf8ToCp936(names[i]) : std::string();
        writeShortString(record + kNameOffset, kThreadNameMaxBytes, name);
    }
    return bytes;
}

std::string writecolorfile(const std::string& path, std::string_view colorcard,
                           std::span<const TColor> colors, std::span<const std::string> names)
{
    // Written as UTF-8 instead, the names would reach the shop's Windows systems garbled.
    const bool texts =
        hasNonAscii(colorcard) || std::any_of(names.begin(), names.end(),
                                              [](const std::string& n) { return hasNonAscii(n); });
    if (texts && !codePage936Available())
        return std::string("The thread names cannot be written: ") + kNoCodePage936 + '.';
    const auto bytes = encodeColorSequence(colorcard, colors, names);
    return writeFileAtomically(path, bytes);
}

std::string sideFilePath(const std::string& designPath)
{
    return withoutExtension(designPath) + ".lsc";
}

std::optional<std::string> findSideFile(const std::string& designPath)
{
    return findFileInAnyCase(folderPart(designPath), fileNamePart(sideFilePath(designPath)));
}

std::string sideFileForWriting(const std::string& designPath)
{
    return findSideFile(designPath).value_or(sideFilePath(designPath));
}

} // namespace loomscope
