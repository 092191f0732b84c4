#include "pngwriter.h"

#include "pixelcanvas.h"

#include <algorithm>
#include <limits>
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

// The PNG of `height` rows of 4 * width bytes, each written by row(y, out). The rows are
// deflated one at a time as they are made: a thumbnail takes no copy of its picture, and no
// room is filled that the compressed picture does not take, so a thumbnailer touches a
// fraction of the memory (every page of it first touched costs a fault).
template <typename Row> std::vector<std::uint8_t> encodeRows(int width, int height, Row&& row)
{
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    // A row is given to zlib in one piece, whose length it takes in 32 bits.
    if (stride >= std::numeric_limits<uInt>::max())
        return {};
    z_stream z{};
    // The fastest level: a thumbnailer runs once per file while the file manager waits, and
    // the default level takes five times as long for a file a fifth smaller.
    if (deflateInit(&z, Z_BEST_SPEED) != Z_OK)
        return {};
    const uLong rawSize = static_cast<uLong>((stride + 1) * static_cast<std::size_t>(height));
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    // Reserved, not filled: only what the picture takes is touched.
    out.reserve(8 + 25 + 12 + deflateBound(&z, rawSize) + 12);
    std::vector<std::uint8_t> header;
    putBigEndian(header, static_cast<std::uint32_t>(width));
    putBigEndian(header, static_cast<std::uint32_t>(height));
    // 8 bits per channel, colour type 6 (RGBA), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 6, 0, 0, 0});
    putChunk(out, "IHDR", header);

    const std::size_t lengthAt = out.size();
    putBigEndian(out, 0); // the length, once it is known
    const std::string_view idat = "IDAT";
    out.insert(out.end(), idat.begin(), idat.end());
    // Every row starts with its filter byte; 0 leaves the row as it is, which on pictures of
    // thin lines over a transparent ground compresses as well as the others and costs nothing.
    std::vector<std::uint8_t> line(stride + 1, 0);
    std::uint8_t packed[16384];
    int status = Z_OK;
    for (int y = 0; y < height && status == Z_OK; ++y) {
        row(y, line.data() + 1);
        z.next_in = line.data();
        z.avail_in = static_cast<uInt>(line.size());
        const int flush = y + 1 == height ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = packed;
            z.avail_out = sizeof packed;
            status = deflate(&z, flush);
            out.insert(out.end(), packed, packed + (sizeof packed - z.avail_out));
        } while (status == Z_OK && z.avail_out == 0);
    }
    deflateEnd(&z);
    if (status != Z_STREAM_END)
        return {};
    const std::size_t dataSize = out.size() - lengthAt - 8;
    for (int k = 0; k < 4; ++k)
        out[lengthAt + static_cast<std::size_t>(k)] =
            static_cast<std::uint8_t>(dataSize >> (24 - 8 * k));
    // The checksum covers the type and the data, not the length.
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + lengthAt + 4, static_cast<uInt>(dataSize + 4));
    putBigEndian(out, static_cast<std::uint32_t>(crc));
    putChunk(out, "IEND", {});
    return out;
}

} // namespace

std::vector<std::uint8_t> encodePng(int width, int height, std::span<const std::uint8_t> rgba)
{
    if (width <= 0 || height <= 0)
        return {};
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    if (rgba.size() != stride * static_cast<std::size_t>(height))
        return {};
    return encodeRows(width, height, [&](int y, std::uint8_t* out) {
        std::copy_n(rgba.data() + static_cast<std::size_t>(y) * stride, stride, out);
    });
}

std::vector<std::uint8_t> encodePng(const PixelCanvas& canvas)
{
    if (canvas.width() <= 0 || canvas.height() <= 0)
        return {};
    return encodeRows(canvas.width(), canvas.height(),
                      [&](int y, std::uint8_t* out) { canvas.rgbaRow(y, out); });
}

} // namespace loomscope
