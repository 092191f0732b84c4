#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace loomscope {

// Code page 936 (simplified Chinese GBK) is the byte form of every text in the side files, so
// they read the same on the systems that write them.

// Whether this system can convert code page 936. glibc does it with modules that a minimal
// system may lack; without them no name can be written or read as Windows systems do, and the
// callers say so rather than write UTF-8 that those systems would show garbled.
bool codePage936Available();
// Whether a text holds anything but ASCII (the part every encoding here agrees on).
bool hasNonAscii(std::string_view text);
// Test seam: the charset name the conversion is asked for ("CP936"); another name stands for
// a system without the conversion.
void setCodePage936NameForTesting(const char* name);
inline constexpr const char* kNoCodePage936 =
    "this system cannot convert code page 936 (the encoding Windows systems use for these "
    "names): glibc's conversion modules (gconv) are missing";

// Bytes of code page 936 to UTF-8; an invalid byte becomes U+FFFD, and so does every
// non-ASCII byte where the conversion is not available.
std::string cp936ToUtf8(std::string_view bytes);
// UTF-8 to code page 936; a character the code page lacks (every non-ASCII one where the
// conversion is not available) becomes '?'.
std::string utf8ToCp936(std::string_view utf8);
// The longest prefix of `bytes` (code page 936) of at most `maxBytes` bytes that does not
// split a two-byte character.
std::string_view cutCp936(std::string_view bytes, std::size_t maxBytes);

// Whether the bytes are well-formed UTF-8.
bool isUtf8(std::string_view bytes);
// UTF-8 with every byte that is not part of a well-formed sequence replaced by U+FFFD.
std::string utf8WithReplacements(std::string_view bytes);

// A file name or path, as the bytes the file system holds, made readable: UTF-8 stays as it is;
// names unpacked from archives of Chinese Windows systems (code page 936) are decoded; any other
// byte that is not text shows as U+FFFD. Only for showing: files are always opened by their bytes.
std::string pathDisplayText(std::string_view bytes);

} // namespace loomscope
