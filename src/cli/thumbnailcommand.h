#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace loomscope {

// `loomscope --thumbnail [-s SIZE] IN OUT.png`, the desktop's thumbnailer for designs; `args`
// are the words after "--thumbnail". Writes a PNG whose longer side is SIZE pixels (default
// 256, at most 1024) with a transparent ground. It needs no display, GPU or font, reads the
// input by its content (file managers hand over copies with made-up names) and bounds its
// work on any input. Returns 0 done, 1 the input could not be read or the picture not
// written (no output file then), 2 a wrong command line.
int runThumbnailCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace loomscope
