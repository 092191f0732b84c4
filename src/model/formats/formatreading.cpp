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

CommandRead CommandSink::finish(std::vector<DesignThread> threads, bool namesThreads)
{
    if (refusal_.empty())
        addAt(StitchKind::End, x_, y_);
    if (!refusal_.empty())
        return refused(refusal_);
    if (namesThreads)
        threads.resize(blocks());
    else
        threads.clear();
    CommandRead read;
    read.design = CommandDesign{format_, std::move(commands_), std::move(threads)};
    return read;
}

} // namespace loomscope::formats
