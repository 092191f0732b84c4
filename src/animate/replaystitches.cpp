#include "replaystitches.h"

#include "model/designfile.h"
#include "model/dstrecords.h"
#include "model/fileio.h"
#include "model/tembs.h"
#include "model/units.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

namespace loomscope {

namespace {

// The bytes after the last record read: the end record and its neighbours are not replayed,
// exactly as the viewer's reader leaves them out.
constexpr std::size_t kTrailer = 7;
constexpr int kMargin = 10;
constexpr int kPanelHeight = 40;
// Outer and hole radius of the standard sequin, in model units: the replay always shows it.
constexpr double kSequinRadius = double(kDefaultSequinOuterMm) * kSequinRadiusPerMm;
constexpr double kSequinHoleRadius = double(kDefaultSequinHoleMm) * kSequinRadiusPerMm;
constexpr const char* kTooManyRecords = "It holds more records than a design can have.";

ReplayStitches failed(ReplayReadStatus status, std::string error = {})
{
    ReplayStitches s;
    s.status = status;
    s.error = std::move(error);
    return s;
}

} // namespace

ReplayFit fitReplayExtent(double extentWidth, double extentHeight, int width, int height)
{
    // An area of no pixels would divide by zero; a maximised window never has one.
    const double w = std::max(width, 1);
    const double h = std::max(height, 1);
    ReplayFit fit;
    if (extentWidth / w >= extentHeight / h) {
        fit.q = w / extentWidth;
        fit.offY = static_cast<int>(std::nearbyint((h - extentHeight * fit.q) / 2));
    } else {
        fit.q = h / extentHeight;
        fit.offX = static_cast<int>(std::nearbyint((w - extentWidth * fit.q) / 2));
    }
    return fit;
}

ReplaySurfaceSize replaySurfaceSize(int clientWidth, int clientHeight)
{
    const int w = std::max(clientWidth, 0);
    const int h = std::max(clientHeight, 0);
    return {std::max(w + w % 4, 1), std::max(h + h % 4 - kPanelHeight, 1)};
}

ReplayStitches loadstitches(const std::string& filename, int width, int height)
{
    const FileBytes file =
        designAsDstBytes(filename, kDstHeaderSize + kTrailer + 3 * (kMaxDstRecords + 1) + 2);
    if (file.tooLarge)
        return failed(ReplayReadStatus::TooLarge, kTooManyRecords);
    if (!file.error.empty())
        return failed(ReplayReadStatus::CannotOpen, file.error);
    return readReplayStitches(file.bytes, width, height);
}

ReplayStitches readReplayStitches(std::span<const std::uint8_t> file, int width, int height)
{
    if (file.size() < kDstHeaderSize + kTrailer + 4)
        return failed(ReplayReadStatus::TooShort);
    const std::size_t n = (file.size() - kDstHeaderSize - kTrailer) / 3;
    if (n > kMaxDstRecords)
        return failed(ReplayReadStatus::TooLarge, kTooManyRecords);
    std::unique_ptr<std::int32_t[]> xy(new (std::nothrow) std::int32_t[2 * n]);
    if (!xy)
        return failed(ReplayReadStatus::TooLarge, "There is not enough memory to replay it.");

    const std::uint8_t* bytes = file.data() + kDstHeaderSize;
    const DstExtent e = decodeDstPositions(bytes, n, xy.get());

    ReplayStitches s;
    s.status = ReplayReadStatus::Read;
    s.Fstitchs = static_cast<int>(n);
    s.Fcolors = 1;
    // The file's y grows upwards; on the surface it grows downwards, so the extent is taken
    // over -y.
    s.extent = {static_cast<float>(e.minX - kMargin), static_cast<float>(-e.maxY - kMargin),
                static_cast<float>(e.maxX + kMargin), static_cast<float>(-e.minY + kMargin)};
    const double left = e.minX - kMargin;
    const double top = -double(e.maxY) - kMargin;
    const double extentWidth = double(e.maxX) - e.minX + 2 * kMargin;
    const double extentHeight = double(e.maxY) - e.minY + 2 * kMargin;
    s.fit = fitReplayExtent(extentWidth, extentHeight, width, height);
    const double q = s.fit.q;
    s.Fsequinsizez = static_cast<float>(q * kSequinRadius * kDstUnitsPerModelUnit);
    s.Fsequinsizelz = static_cast<float>(q * kSequinHoleRadius * kDstUnitsPerModelUnit);

    s.records.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint8_t c = bytes[3 * k + 2];
        if (c == kColourChange)
            ++s.Fcolors;
        s.records[k] = {static_cast<float>(s.fit.offX + q * (xy[2 * k] - left)),
                        static_cast<float>(s.fit.offY + q * (-double(xy[2 * k + 1]) - top)), c};
    }
    return s;
}

} // namespace loomscope
