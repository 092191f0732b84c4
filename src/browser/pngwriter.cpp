#include "pngwriter.h"

#include "pixelcanvas.h"

#include <string_view>
#include <zlib.h>

namespace loomscope {

namespace {

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.insert(out.end(),
               {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

void putChunk(std::vector<std::uint8_t>& out, std::string_view type,
              std::span<const std::uint8_t> data)
{
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    // The checksum covers the type and the data, not the length.
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + start, static_cast<uInt>(out.size() - start));
    putBigEndian(out, static_cast<std::uint32_t>(crc));
}

} // namespace

std::vector<std::uint8_t> encodePng(int width, int height, std::span<const std::uint8_t> rgba)
{
    if (width <= 0 || height <= 0)
        return {};
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    if (rgba.size() != stride * static_cast<std::size_t>(height))
        return {};

    // Every row starts with its filter byte; 0 leaves the row as it is, which on pictures of
    // thin lines over a transparent ground compresses as well as the others and costs nothing.
    std::vector<std::uint8_t> raw;
    raw.reserve((stride + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = rgba.subspan(static_cast<std::size_t>(y) * stride, stride);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    // The fastest level: a thumbnailer runs once per file while the file manager waits, and
    // the default level takes five times as long for a file a fifth smaller.
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_SPEED) != Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putBigEndian(header, static_cast<std::uint32_t>(width));
    putBigEndian(header, static_cast<std::uint32_t>(height));
    // 8 bits per channel, colour type 6 (RGBA), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 6, 0, 0, 0});
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", packed);
    putChunk(out, "IEND", {});
    return out;
}

std::vector<std::uint8_t> encodePng(const PixelCanvas& canvas)
{
    return encodePng(canvas.width(), canvas.height(), canvas.rgbaBytes());
}

} // namespace loomscope
