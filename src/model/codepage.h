#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace loomscope {

// Code page 936 (simplified Chinese GBK) is the byte form of every text in the side files, so
// they read the same on the systems that write them.

// Bytes of code page 936 to UTF-8; an invalid byte becomes U+FFFD.
std::string cp936ToUtf8(std::string_view bytes);
// UTF-8 to code page 936; a character the code page lacks becomes '?'.
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
