#include "codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace loomscope {

namespace {

// One conversion descriptor per call: iconv keeps shift state, and the texts are short.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts `in`; on a byte sequence that cannot be converted, appends `replacement` and
    // skips `skip(in)` bytes of input.
    template <typename Skip>
    std::string run(std::string_view in, std::string_view replacement, Skip skip)
    {
        std::string out;
        out.reserve(in.size() * 2);
        char buffer[256];
        char* src = const_cast<char*>(in.data());
        std::size_t left = in.size();
        while (left > 0) {
            char* dst = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t rc = iconv(cd_, &src, &left, &dst, &room);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (rc == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                // EILSEQ or EINVAL (a sequence cut short at the end).
                out.append(replacement);
                const std::size_t n = std::min(left, skip(std::string_view(src, left)));
                src += n;
                left -= n;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t cd_;
};

std::size_t utf8SequenceLength(std::string_view s)
{
    const auto lead = static_cast<unsigned char>(s.front());
    std::size_t n = 1;
    if (lead >= 0xF0 && lead < 0xF8)
        n = 4;
    else if (lead >= 0xE0)
        n = 3;
    else if (lead >= 0xC0)
        n = 2;
    // Never swallow the lead byte of the next character.
    std::size_t i = 1;
    while (i < n && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

bool isCp936Lead(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}

// Text from one encoding to another; both agree on ASCII, which is most text and needs no
// converter. What cannot be converted becomes `replacement`, skipping `skip(rest)` bytes.
template <typename Skip>
std::string convertText(std::string_view text, const char* to, const char* from,
                        std::string_view replacement, Skip skip)
{
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
    if (ascii)
        return std::string(text);
    Converter conv(to, from);
    if (!conv.valid())
        return std::string(text);
    return conv.run(text, replacement, skip);
}

const char* gCodePage936 = "CP936";

// ASCII kept, every other character (a byte, or a UTF-8 sequence) one replacement.
template <typename Skip>
std::string asciiOnly(std::string_view text, std::string_view replacement, Skip skip)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            out += text[i++];
            continue;
        }
        out.append(replacement);
        i += std::max<std::size_t>(1, skip(text.substr(i)));
    }
    return out;
}

} // namespace

bool codePage936Available()
{
    return Converter("UTF-8", gCodePage936).valid();
}

bool hasNonAscii(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; });
}

void setCodePage936NameForTesting(const char* name)
{
    gCodePage936 = name;
}

std::string cp936ToUtf8(std::string_view bytes)
{
    auto one = [](std::string_view) { return std::size_t{1}; };
    if (hasNonAscii(bytes) && !codePage936Available())
        return asciiOnly(bytes, "\xEF\xBF\xBD", one);
    return convertText(bytes, "UTF-8", gCodePage936, "\xEF\xBF\xBD", one);
}

std::string utf8ToCp936(std::string_view utf8)
{
    if (hasNonAscii(utf8) && !codePage936Available())
        return asciiOnly(utf8, "?", utf8SequenceLength);
    return convertText(utf8, gCodePage936, "UTF-8", "?", utf8SequenceLength);
}

bool isUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t n = 0;
        std::uint32_t cp = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            n = 2;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            n = 3;
            cp = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            n = 4;
            cp = lead & 0x07;
        } else {
            return false;
        }
        if (i + n > bytes.size())
            return false;
        for (std::size_t k = 1; k < n; ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + k]);
            if ((b & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
        if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n;
    }
    return true;
}

std::string utf8WithReplacements(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        // The longest well-formed sequence at i, or one byte replaced.
        std::size_t n = 1;
        for (std::size_t len = 4; len >= 1; --len)
            if (i + len <= bytes.size() && isUtf8(bytes.substr(i, len))) {
                n = len;
                break;
            }
        const std::string_view piece = bytes.substr(i, n);
        if (isUtf8(piece))
            out.append(piece);
        else
            out.append("\xEF\xBF\xBD");
        i += n;
    }
    return out;
}

std::string pathDisplayText(std::string_view bytes)
{
    if (isUtf8(bytes))
        return std::string(bytes);
    // Decoded as code page 936 only when every byte belongs to a character of it: a name that
    // is neither is shown with replacement marks rather than as wrong characters.
    Converter conv("UTF-8", gCodePage936);
    if (conv.valid()) {
        bool clean = true;
        std::string text = conv.run(bytes, "", [&clean](std::string_view) {
            clean = false;
            return std::size_t{1};
        });
        if (clean)
            return text;
    }
    return utf8WithReplacements(bytes);
}

std::string_view cutCp936(std::string_view bytes, std::size_t maxBytes)
{
    if (bytes.size() <= maxBytes)
        return bytes;
    std::size_t i = 0;
    while (i < maxBytes) {
        const std::size_t step = isCp936Lead(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + step > maxBytes)
            break;
        i += step;
    }
    return bytes.substr(0, i);
}

} // namespace loomscope
