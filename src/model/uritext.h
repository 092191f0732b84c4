#pragma once

#include <string>
#include <string_view>

namespace loomscope {

// Percent-encoding of file URIs, byte by byte: file names in any encoding survive it.

// "%D6%D0" and the like back to their bytes; a '%' not followed by two hexadecimal digits stays.
std::string percentDecoded(std::string_view text);
// Every byte that is not printable ASCII, and '%', as "%XX"; "/" and the rest stay.
std::string percentEncoded(std::string_view bytes);

} // namespace loomscope
