#include "tembs.h"

#include "codepage.h"
#include "embroideryformats.h"
#include "fileio.h"
#include "palette.h"

#include <algorithm>
#include <cmath>

namespace loomscope {

Tembs::Tembs() : Fcolorlist(paletteTexts()) {}

Tembs::~Tembs() = default;

DstReadStatus Tembs::loadfromfile(const std::string& filepath)
{
    if (!formatOfFileName(fileNamePart(filepath)))
        return DstReadStatus::WrongExtension;
    return loadcontent(filepath);
}

DstReadStatus Tembs::loadcontent(const std::string& filepath)
{
    Fcolorcard = "default";
    ffilename = withoutExtension(fileNamePart(filepath));
    // By the name's extension; a name that says nothing (a file manager's copy under a
    // made-up name) by the signature of the formats that have one, else as DST.
    std::optional<DesignFormat> format = formatOfFileName(fileNamePart(filepath));
    if (!format)
        format = formatOfContent(filepath);
    if (*format == DesignFormat::Dst) {
        const DstReadStatus status = readdst(filepath);
        if (status == DstReadStatus::Read)
            Fformat = DesignFormat::Dst;
        return status;
    }
    return readOtherFormat(filepath, *format);
}

std::optional<DesignFormat> Tembs::formatOfContent(const std::string& filepath)
{
    ReadableFile file(filepath);
    std::uint8_t start[8] = {};
    const std::size_t n = file.isOpen() ? file.readAt(0, start, sizeof start) : 0;
    const std::string_view head(reinterpret_cast<const char*>(start), n);
    if (head.starts_with("#PES"))
        return DesignFormat::Pes;
    if (head.starts_with("#PEC"))
        return DesignFormat::Pec;
    if (head.starts_with("%vsm%"))
        return DesignFormat::Vp3;
    return DesignFormat::Dst;
}

DstReadStatus Tembs::readOtherFormat(const std::string& filepath, DesignFormat format)
{
    StepRead read;
    {
        // Read whole: these formats keep their threads and offsets anywhere in the file. Their
        // largest real designs are a few megabytes. The bytes are let go once the records
        // are made of them, so that the blocks can take their memory.
        const FileBytes file = readWholeFile(filepath, kMaxOtherFormatBytes);
        freadError = file.tooLarge ? std::string() : file.error;
        if (file.tooLarge)
            return keepPreviousDesign(DstReadStatus::TooLarge);
        if (!file.error.empty())
            return keepPreviousDesign(file.missing ? DstReadStatus::Missing
                                                   : DstReadStatus::CannotOpen);
        // Drawn as the DST a converter would write of it, so that every consumer of the
        // design (blocks, extent, marks, pictures, the stitch-out) treats it exactly as a DST
        // design; its records are made as the file is read and given as moves, never packed
        // into DST bytes and decoded again. Its facts are counted on the way, as its makers'
        // software counts them: stitches only, and the extent of the commands alone.
        read = readDesignSteps(format, file.bytes);
    }
    if (!read.read) {
        freadError = read.reason;
        return keepPreviousDesign(DstReadStatus::CannotOpen);
    }
    const DstReadStatus status = readdststeps(read.steps, read.shape ? &*read.shape : nullptr);
    if (status != DstReadStatus::Read)
        return status;
    Fformat = format;
    Fstitchs = read.facts.stitches;
    Fcolorcount = read.facts.colours;
    FColorindex = Fcolorcount;
    Fwidth = read.facts.widthMm;
    Fheight = read.facts.heightMm;
    Fsequins = 0;
    // The file's own threads, one per colour block.
    const std::vector<DesignThread>& threads = read.threads;
    for (std::size_t i = 0; i < threads.size() && i < std::size_t(Fcolorcount); ++i)
        Fthreadcolours.push_back(threads[i].colour.value_or(paletteColor(int(i))));
    for (TGraphObject* block : FObjectlist) {
        const auto i = static_cast<std::size_t>(block->FColorindex);
        if (i >= threads.size())
            continue;
        const DesignThread& thread = threads[i];
        block->FColor = Fthreadcolours[i];
        block->FColorname = !thread.name.empty() ? thread.name : thread.code;
    }
    return DstReadStatus::Read;
}

void Tembs::clear()
{
    clearblocks();
    Fdstrect = {};
    Fwidth = Fheight = 0;
    Fscale = 0;
    Fcolorcount = Fsequins = Fstitchs = FColorindex = 0;
    Ffirstpoint = Flastpoint = Ffirstpoint1 = Flastpoint1 = {};
}

void Tembs::nextcolor()
{
    if (FColorindex < Fcolorcount)
        ++FColorindex;
}

void Tembs::priorcolor()
{
    if (FColorindex > 0)
        --FColorindex;
}

void Tembs::yibiyi()
{
    // Before the first read the scale is 0 and there is nothing to bring back.
    if (Fscale > 0)
        Setscale(1.0f / Fscale);
}

void Tembs::chuangkou(float wid, float hei)
{
    const float w = Fdstrect.width();
    const float h = Fdstrect.height();
    if (!(w > 0 && h > 0 && wid > 0 && hei > 0))
        return;
    Setscale(h / hei > w / wid ? hei / h : wid / w);
}

bool Tembs::Setscale(float factor)
{
    if (!std::isfinite(factor) || factor <= 0)
        return false; // a zero factor would collapse every point for good
    if ((double(Fscale) < 0.1 && factor < 1) || (Fscale > 10 && factor > 1))
        return false;
    Fscale *= factor;
    for (TGraphObject* block : FObjectlist)
        for (TPoint3F& p : block->FPointList) {
            p.X *= factor;
            p.Y *= factor;
        }
    Ffirstpoint1 = {Ffirstpoint.x * Fscale, Ffirstpoint.y * Fscale};
    Flastpoint1 = {Flastpoint.x * Fscale, Flastpoint.y * Fscale};
    Fdstrect = {Fdstrect.left * factor, Fdstrect.top * factor, Fdstrect.right * factor,
                Fdstrect.bottom * factor};
    return true;
}

void Tembs::SetColorindex(int value)
{
    FColorindex = std::clamp(value, 0, std::max(Fcolorcount, 0));
}

void Tembs::Setcolorlist(const std::vector<std::string>& list)
{
    const std::size_t n = std::min(
        {list.size(), Fcolorlist.size(), static_cast<std::size_t>(std::max(Fcolorcount, 0))});
    std::copy_n(list.begin(), n, Fcolorlist.begin());
}

void Tembs::addblock(TPointList points, TColor colour, int colourIndex, bool sequin)
{
    TGraphObject& block = blocks_.emplace_back();
    block.FColor = colour;
    block.FColorindex = colourIndex;
    block.FPointList = std::move(points);
    block.Fissequin = sequin;
    FObjectlist.append(&block);
}

void Tembs::clearblocks()
{
    FObjectlist.Clear();
    blocks_.clear();
}

void Tembs::recolour(int colourIndex, TColor colour)
{
    for (TGraphObject* block : FObjectlist)
        if (block->FColorindex == colourIndex) {
            block->FColor = colour;
            block->FColorname.clear();
        }
}

ColorFileResult Tembs::loadcolorfile(const std::string& filepath)
{
    if (FObjectlist.empty())
        return {};
    const FileBytes file = readWholeFile(filepath);
    if (!file.error.empty())
        return {ColorFileStatus::CannotOpen,
                "Cannot open file \"" + filepath + "\". " + file.error};
    return applycolorsequence(file.bytes);
}

ColorFileResult Tembs::applycolorsequence(std::span<const std::uint8_t> bytes)
{
    if (FObjectlist.empty())
        return {};
    ColorSequence sequence;
    const ColorFileStatus status = parseColorSequence(bytes, Fcolorcount, sequence);
    if (status == ColorFileStatus::StreamReadError)
        return {status, kStreamReadError};
    if (status != ColorFileStatus::Applied)
        return {status, {}};
    if (!sequence.colors.empty())
        Fcolorcard = sequence.colorcard;
    if (static_cast<int>(sequence.colors.size()) != Fcolorcount)
        return {ColorFileStatus::CardOnly, {}};
    for (TGraphObject* block : FObjectlist) {
        const auto i = static_cast<std::size_t>(block->FColorindex);
        block->FColor = sequence.colors[i];
        block->FColorname = sequence.names[i];
    }
    if (sequence.namesUnconverted)
        return {ColorFileStatus::Applied,
                std::string("The thread names of the side file could not be read: ") +
                    kNoCodePage936 + '.'};
    return {ColorFileStatus::Applied, {}};
}

} // namespace loomscope
