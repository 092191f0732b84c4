// PES: Brother's design file. Its own header holds the editing software's objects and, from
// version 5 on, the list of threads; the stitches are in the PEC block that the offset at
// byte 8 points to, whose palette indices give the colours when the header lists none.

#include "formatreading.h"

#include <cstring>
#include <map>

namespace loomscope::formats {

namespace {

constexpr std::size_t kPecOffsetAt = 8;
constexpr std::size_t kStringsAt = 0x10;

// Where the thread list lies after the five strings every version from 4 on starts with: the
// bytes skipped before the hoop name (only versions 9 and 10 have one), before the picture
// file name, and after it.
struct ThreadListLayout {
    char version[5];
    std::size_t beforeHoopName; // 0: no hoop name
    std::size_t beforePictureName;
    std::size_t afterPictureName;
};

constexpr ThreadListLayout kLayouts[] = {
    {"0050", 0, 24, 24}, {"0055", 0, 24, 24}, {"0056", 0, 24, 24},  {"0060", 0, 36, 24},
    {"0070", 0, 36, 24}, {"0080", 0, 38, 26}, {"0090", 14, 30, 34}, {"0100", 14, 38, 34},
};

std::string shortString(ByteCursor& in)
{
    const std::size_t n = in.u8();
    return latin1ToUtf8(in.take(n));
}

// The threads the header lists, or none where the version keeps none, lays them out in a way
// not known here, or puts fill, motif or feather data of its own before them.
std::vector<DesignThread> headerThreads(std::span<const std::uint8_t> bytes, std::size_t pecAt)
{
    const ThreadListLayout* layout = nullptr;
    for (const ThreadListLayout& l : kLayouts)
        if (std::memcmp(bytes.data() + 4, l.version, 4) == 0)
            layout = &l;
    if (!layout)
        return {};
    ByteCursor in(bytes, kStringsAt, pecAt);
    for (int i = 0; i < 5; ++i) // name, category, author, keywords, comments
        shortString(in);
    if (layout->beforeHoopName) {
        in.skip(layout->beforeHoopName);
        shortString(in);
    }
    in.skip(layout->beforePictureName);
    shortString(in);
    in.skip(layout->afterPictureName);
    const int fills = in.u16le();
    const int motifs = in.u16le();
    const int feathers = in.u16le();
    const std::size_t count = in.u16le();
    if (!in.ok() || fills || motifs || feathers)
        return {};
    std::vector<DesignThread> threads;
    // Each thread takes at least 12 bytes before the PEC block.
    threads.reserve(std::min(count, in.remaining() / 12));
    for (std::size_t k = 0; k < count; ++k) {
        DesignThread t;
        t.code = shortString(in);
        const auto colour = in.take(3);
        in.skip(5); // a byte, then the thread type
        t.name = shortString(in);
        t.brand = shortString(in);
        shortString(in); // the chart
        if (!in.ok())
            break;
        t.colour = rgb(colour[0], colour[1], colour[2]);
        threads.push_back(std::move(t));
    }
    return threads;
}

// The thread of each block in the order of the PEC palette list: the header's threads one to
// one when there are enough of them, the PEC palette when there are none, and otherwise one
// header thread for each distinct palette index, in the order they first appear.
std::vector<DesignThread> blockThreads(std::vector<DesignThread> listed,
                                       const std::vector<std::uint8_t>& palette)
{
    if (!listed.empty() && listed.size() >= palette.size())
        return listed;
    std::vector<DesignThread> threads;
    threads.reserve(palette.size());
    std::map<unsigned, DesignThread> byIndex;
    std::size_t next = 0;
    for (const std::uint8_t index : palette) {
        const unsigned key = index % 65u;
        auto it = byIndex.find(key);
        if (it == byIndex.end())
            it = byIndex
                     .emplace(key, next < listed.size() ? std::move(listed[next++])
                                                        : pecPaletteThread(key))
                     .first;
        threads.push_back(it->second);
    }
    return threads;
}

} // namespace

template <typename Sink> bool readPesInto(std::span<const std::uint8_t> bytes, Sink& sink)
{
    if (bytes.size() < kPecOffsetAt + 4 || std::memcmp(bytes.data(), "#PES", 4) != 0)
        return sink.refuse("not a PES file: it does not start with \"#PES\"");
    ByteCursor header(bytes, kPecOffsetAt, bytes.size());
    const std::size_t pecAt = header.u32le();
    if (pecAt < kPecOffsetAt + 4)
        return sink.refuse("the PEC block offset " + std::to_string(pecAt) +
                           " points into the PES header");
    sink.reserve((bytes.size() - std::min(pecAt, bytes.size())) / 2);
    const auto palette = readPecBlock(bytes, pecAt, sink);
    if (!palette)
        return false;
    auto threads = blockThreads(headerThreads(bytes, pecAt), *palette);
    keepRepeatedThreads(threads);
    return sink.finish(std::move(threads));
}

template bool readPesInto(std::span<const std::uint8_t>, CommandListSink&);
template bool readPesInto(std::span<const std::uint8_t>, StepSink&);

} // namespace loomscope::formats
