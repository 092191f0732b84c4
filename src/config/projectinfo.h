#pragma once

namespace loomscope {

// Who the program is, for titles, the about box, pictures and the command line.
inline constexpr const char* kApplicationTitle = "LoomScope v4.0";
inline constexpr const char* kProgramNameAndVersion = "LoomScope 4.0";

} // namespace loomscope
