#include "formatreading.h"

namespace loomscope::formats {

std::string latin1ToUtf8(std::span<const std::uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (const std::uint8_t b : bytes) {
        if (b < 0x80) {
            text += static_cast<char>(b);
        } else {
            text += static_cast<char>(0xC0 | b >> 6);
            text += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return text;
}

std::optional<std::array<std::int64_t, 4>> CommandList::fineExtent() const
{
    if (fineOffsets.empty())
        return std::nullopt;
    DesignFactCounter counter;
    const std::span<const DesignCommand> all(commands);
    std::size_t from = 0;
    for (const FineOffset& offset : fineOffsets) {
        const std::size_t first = std::min(offset.first, all.size());
        counter.put(all.subspan(from, first - from));
        counter.measureFinely(offset.dx, offset.dy);
        from = first;
    }
    counter.put(all.subspan(from));
    return counter.fineExtent();
}

} // namespace loomscope::formats
