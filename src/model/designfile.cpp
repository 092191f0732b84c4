#include "designfile.h"

#include "summarytext.h"

namespace loomscope {

DesignLoad loadDesign(Tembs& design, const std::string& path, const DesignLoadOptions& options)
{
    DesignLoad load;
    load.status = options.anyName ? design.loadcontent(path) : design.loadfromfile(path);
    if (!load.read()) {
        load.reason = readFailureReason(load.status, design.readError());
        return load;
    }
    if (options.sideFiles == SideFiles::Ignore)
        return load;
    load.sideFile =
        options.sideFiles == SideFiles::Given ? options.givenSideFile : findSideFile(path);
    if (load.sideFile)
        load.sideFileResult = design.loadcolorfile(*load.sideFile);
    return load;
}

} // namespace loomscope
