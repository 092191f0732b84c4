#include "embroideryformats.h"

#include "commandstream.h"
#include "dstrecords.h"
#include "formats/formatreading.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace loomscope {

namespace {

template <typename Sink> bool readInto(std::span<const std::uint8_t> bytes, Sink& sink)
{
    using namespace formats;
    switch (sink.format()) {
    case DesignFormat::Pes:
        return readPesInto(bytes, sink);
    case DesignFormat::Pec:
        return readPecInto(bytes, sink);
    case DesignFormat::Jef:
        return readJefInto(bytes, sink);
    case DesignFormat::Exp:
        return readExpInto(bytes, sink);
    case DesignFormat::Vp3:
        return readVp3Into(bytes, sink);
    case DesignFormat::Xxx:
        return readXxxInto(bytes, sink);
    case DesignFormat::Dst:
        break;
    }
    return sink.refuse("DST files are read as records, not as commands");
}

} // namespace

CommandRead readDesign(DesignFormat format, std::span<const std::uint8_t> bytes)
{
    formats::CommandListSink sink(format);
    if (!readInto(bytes, sink))
        return {std::nullopt, sink.refusal()};
    formats::CommandList& out = sink.output();
    CommandRead read;
    const auto fineExtent = out.fineExtent();
    read.design =
        CommandDesign{format, std::move(out.commands), std::move(sink.threads()), fineExtent};
    return read;
}

StepRead readDesignSteps(DesignFormat format, std::span<const std::uint8_t> bytes)
{
    formats::StepSink sink(format);
    StepRead read;
    read.read = readInto(bytes, sink);
    if (!read.read) {
        read.reason = sink.refusal();
        return read;
    }
    read.steps = sink.output().steps.finish();
    read.shape = sink.output().shapeOf(read.steps);
    read.facts = sink.output().facts.facts();
    read.threads = std::move(sink.threads());
    return read;
}

namespace {

constexpr std::array<const char*, 7> kFormatNames = {"dst", "pes", "pec", "jef",
                                                     "exp", "vp3", "xxx"};

} // namespace

const char* formatName(DesignFormat format)
{
    return kFormatNames[static_cast<std::size_t>(format)];
}

std::optional<DesignFormat> formatOfFileName(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.size() - dot != 4)
        return std::nullopt;
    std::string extension(name.substr(dot + 1));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    for (std::size_t k = 0; k < kFormatNames.size(); ++k)
        if (extension == kFormatNames[k])
            return static_cast<DesignFormat>(k);
    return std::nullopt;
}

DesignFacts commandFacts(const CommandDesign& design)
{
    DesignFactCounter counter;
    counter.put(design.commands);
    DesignFacts facts = counter.facts();
    if (const auto& fine = design.fineExtent; fine && !design.commands.empty()) {
        facts.widthMm = millimetresOfThousandths((*fine)[2] - (*fine)[0]);
        facts.heightMm = millimetresOfThousandths((*fine)[3] - (*fine)[1]);
    }
    return facts;
}

namespace {

// The three bytes of a record of dstSteps, whose control byte already holds the third byte's
// steps of the move.
void appendRecord(std::vector<std::uint8_t>& out, const DstStep& step)
{
    using namespace dststeps;
    const auto& x = kXBits[static_cast<std::size_t>(step.dx + kLongestMove)];
    const auto& y = kYBits[static_cast<std::size_t>(step.dy + kLongestMove)];
    out.push_back(x[0] | y[0]);
    out.push_back(x[1] | y[1]);
    out.push_back(step.control);
}

// The header fields hold five digits.
int headerField(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, -99999, 99999));
}

} // namespace

DstSteps dstSteps(const CommandDesign& design)
{
    DstStepWriter writer;
    writer.reserve(design.commands.size());
    writer.put(design.commands);
    return writer.finish();
}

std::vector<std::uint8_t> toDstBytes(const CommandDesign& design, std::string_view label)
{
    return toDstBytes(dstSteps(design), label);
}

std::vector<std::uint8_t> toDstBytes(std::span<const DstStep> steps, std::string_view label)
{
    std::vector<std::uint8_t> out(kDstHeaderSize, ' ');
    out.reserve(kDstHeaderSize + 3 * steps.size() + 7);
    // The header's extents are from the start, which is where the records begin.
    std::int64_t x = 0, y = 0, minX = 0, maxX = 0, minY = 0, maxY = 0;
    int colourChanges = 0;
    for (const DstStep& s : steps) {
        appendRecord(out, s);
        x += s.dx;
        y += s.dy;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        if (s.control == dststeps::kColourChangeControl)
            ++colourChanges;
    }
    // The end record, then an end record and an end-of-file byte more: Tembs leaves out the
    // last seven bytes of a file, so that every record before them is read.
    out.insert(out.end(), {0x00, 0x00, 0xF3, 0x00, 0x00, 0xF3, 0x1A});

    std::string name;
    // A DST label is ASCII: other bytes are left out rather than shown garbled.
    for (const char ch : label)
        if (ch >= 0x20 && ch < 0x7F && name.size() < 16)
            name += ch;
    char header[200];
    const int n = std::snprintf(
        header, sizeof header,
        "LA:%-16.16s\rST:%7d\rCO:%3d\r+X:%5d\r-X:%5d\r+Y:%5d\r-Y:%5d\rAX:%c%5d\rAY:%c%5d\r"
        "MX:+%5d\rMY:+%5d\rPD:******\r\x1A",
        name.c_str(), static_cast<int>(std::min<std::size_t>(steps.size(), 9'999'999)),
        std::min(colourChanges, 999), headerField(maxX), headerField(-minX), headerField(maxY),
        headerField(-minY), x < 0 ? '-' : '+', headerField(std::abs(x)), y < 0 ? '-' : '+',
        headerField(std::abs(y)), 0, 0);
    std::copy(header, header + std::min<int>(n, static_cast<int>(sizeof header) - 1), out.begin());
    return out;
}

} // namespace loomscope
