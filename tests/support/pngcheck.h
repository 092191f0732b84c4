#pragma once

// Reads back the PNG files the program writes, checking what a strict reader checks: the
// signature, every chunk's CRC, the header, and that the pixel data inflates to exactly one
// filtered row per line. Only the forms the writer produces (8-bit RGBA, filter 0) decode.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include <zlib.h>

namespace loomscope::testsupport {

struct DecodedPng {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    std::uint8_t at(int x, int y, int channel) const
    {
        return rgba[(static_cast<std::size_t>(y) * width + x) * 4 + channel];
    }
};

inline std::uint32_t bigEndian(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// Nothing when the file breaks any rule above; `why` says which.
inline std::optional<DecodedPng> decodePng(const std::vector<std::uint8_t>& file,
                                           std::string* why = nullptr)
{
    auto fail = [why](const char* reason) {
        if (why)
            *why = reason;
        return std::optional<DecodedPng>();
    };
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || !std::equal(signature, signature + 8, file.begin()))
        return fail("signature");
    DecodedPng png;
    std::vector<std::uint8_t> idat;
    bool ended = false;
    std::size_t pos = 8;
    while (pos + 12 <= file.size() && !ended) {
        const std::uint32_t length = bigEndian(&file[pos]);
        if (pos + 12 + length > file.size())
            return fail("chunk runs past the end");
        const std::string type(file.begin() + pos + 4, file.begin() + pos + 8);
        const std::uint8_t* data = &file[pos + 8];
        uLong crc = crc32(0L, Z_NULL, 0);
        crc = crc32(crc, &file[pos + 4], length + 4);
        if (crc != bigEndian(data + length))
            return fail("CRC");
        if (type == "IHDR") {
            if (length != 13 || data[8] != 8 || data[9] != 6 || data[12] != 0)
                return fail("header");
            png.width = static_cast<int>(bigEndian(data));
            png.height = static_cast<int>(bigEndian(data + 4));
        } else if (type == "IDAT") {
            idat.insert(idat.end(), data, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        pos += 12 + length;
    }
    if (!ended || pos != file.size())
        return fail("IEND");
    const std::size_t stride = static_cast<std::size_t>(png.width) * 4;
    std::vector<std::uint8_t> raw((stride + 1) * static_cast<std::size_t>(png.height) + 1);
    uLongf rawSize = raw.size();
    if (uncompress(raw.data(), &rawSize, idat.data(), idat.size()) != Z_OK ||
        rawSize != raw.size() - 1)
        return fail("pixel data");
    for (int y = 0; y < png.height; ++y) {
        const std::uint8_t* row = &raw[y * (stride + 1)];
        if (row[0] != 0)
            return fail("filter");
        png.rgba.insert(png.rgba.end(), row + 1, row + 1 + stride);
    }
    return png;
}

} // namespace loomscope::testsupport
