#pragma once

namespace loomscope {

// Who and where the program is, for the about box, the web-page button and pictures.
inline constexpr const char* kApplicationTitle = "LoomScope v4.0";
inline constexpr const char* kProjectWebPage = "https://loomscope.org/";
inline constexpr const char* kProjectIssues = "https://loomscope.org/issues";

} // namespace loomscope
