#include "tooldesign.h"

#include "model/codepage.h"

#include <ostream>

namespace loomscope {

DesignLoad openDesignForTool(Tembs& design, const std::string& path,
                             const DesignLoadOptions& options, const std::string& tool,
                             std::ostream& err)
{
    DesignLoad load = loadDesign(design, path, options);
    if (!load.read())
        err << tool << ": " << pathDisplayText(path) << ": " << load.reason << '\n';
    else if (!load.sideFileProblem().empty())
        err << tool << ": " << pathDisplayText(load.sideFile.value_or(path)) << ": "
            << load.sideFileProblem()
            << (load.sideFileResult.failed() ? "; the design keeps the palette's colours\n" : "\n");
    return load;
}

} // namespace loomscope
