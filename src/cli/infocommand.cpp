#include "infocommand.h"

#include "model/colortable.h"
#include "model/designjson.h"
#include "tooldesign.h"

#include <ostream>

namespace loomscope {

int runInfoCommand(const std::string& path, std::ostream& out, std::ostream& err)
{
    Tembs design;
    if (!openDesignForTool(design, path, {}, "loomscope --info", err).read())
        return 2; // no record to report: zeros would read as an empty design that was read
    out << designInfoJson(design, colorTableFromBlocks(design)) << '\n';
    return 0;
}

} // namespace loomscope
