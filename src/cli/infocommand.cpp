#include "infocommand.h"

#include "model/codepage.h"
#include "model/colortable.h"
#include "model/designjson.h"
#include "model/summarytext.h"
#include "model/dstrecords.h"
#include "model/fileio.h"
#include "model/tembs.h"

#include <ostream>

namespace loomscope {

int runInfoCommand(const std::string& path, std::ostream& out, std::ostream& err)
{
    if (!fileExists(path)) {
        err << "loomscope: " << path << ": no such design file\n";
        return 2;
    }
    if (!hasDstExtension(path)) {
        err << "loomscope: " << path << ": not a DST design (the name must end in .dst)\n";
        return 2;
    }
    Tembs design;
    const DstReadStatus status = design.loadfromfile(path);
    if (status == DstReadStatus::CannotOpen || status == DstReadStatus::Missing) {
        err << "loomscope: " << path << ": " << readFailureReason(status, design.readError())
            << '\n';
        return 1;
    }
    if (status == DstReadStatus::TooShort) {
        // No record to report: zeros would read as an empty design that was read.
        err << "loomscope: " << path << ": too short to hold a design (" << kDstHeaderSize + 11
            << " bytes at least)\n";
        return 2;
    }
    if (status == DstReadStatus::TooLarge) {
        err << "loomscope: " << path << ": too large for a design (more than " << kMaxDstRecords
            << " records)\n";
        return 1;
    }
    if (const auto side = findSideFile(path)) {
        const ColorFileResult result = design.loadcolorfile(*side);
        if (!result.failed() && !result.message.empty())
            err << "loomscope: " << pathDisplayText(*side) << ": " << result.message << '\n';
        if (result.failed()) {
            err << result.message << '\n';
            return 1;
        }
    }
    out << designInfoJson(design, colorTableFromBlocks(design)) << '\n';
    return 0;
}

} // namespace loomscope
