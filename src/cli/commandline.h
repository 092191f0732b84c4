#pragma once

#include <iosfwd>
#include <string>

namespace loomscope {

// What a command line asks for. Options that begin with "--" are tools for scripts and the
// desktop: they need no display and never touch a running viewer. Anything else starts the
// viewer (with the design named first, if any).
enum class CommandMode {
    Viewer,
    Help,
    Version,
    Info,
    Thumbnail,
    PriceReport,
    Export,
    Worksheet,
    Unknown, // an option nobody knows, or one used wrongly: usage, exit status 2
};

struct CommandLine {
    CommandMode mode = CommandMode::Viewer;
    std::string problem; // for Unknown: what was wrong
};

CommandLine classifyCommandLine(int argc, const char* const* argv);

// The usage of every mode.
void printUsage(std::ostream& out);

inline constexpr const char* kProgramVersionLine = "LoomScope 4.0";

} // namespace loomscope
