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

CommandSink::CommandSink(DesignFormat format, std::size_t expectedCommands) : format_(format)
{
    // A guess from the file's size: never more than the limit, so a hostile length costs
    // nothing before the records are there.
    commands_.reserve(std::min(expectedCommands, std::size_t{1} << 20) + 1);
}

bool CommandSink::addChecked(StitchKind kind, std::int64_t x, std::int64_t y)
{
    if (refused_)
        return false;
    if (commands_.size() >= kMaxDesignCommands)
        return refuse("more than 5,000,000 commands");
    if (beyondLimit(x) || beyondLimit(y))
        return refuse("a position lies more than 1.6 km from the start");
    if (kind == StitchKind::ColourChange && ++colourChanges_ > kMaxColourChanges)
        return refuse("more than 65,535 colour changes");
    x_ = x;
    y_ = y;
    commands_.push_back({kind, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
    return true;
}

CommandRead CommandSink::finish(std::vector<DesignThread> threads, bool namesThreads)
{
    if (!refused_)
        addAt(StitchKind::End, x_, y_);
    if (refused_)
        return refused(refusal_);
    if (namesThreads)
        threads.resize(blocks());
    else
        threads.clear();
    CommandRead read;
    read.design = CommandDesign{format_, std::move(commands_), std::move(threads), std::nullopt};
    return read;
}

} // namespace loomscope::formats
