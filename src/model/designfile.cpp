#include "designfile.h"

#include "embroideryformats.h"
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

FileBytes designAsDstBytes(const std::string& path, std::size_t dstLimit)
{
    const std::optional<DesignFormat> format = formatOfFileName(fileNamePart(path));
    if (!format || *format == DesignFormat::Dst)
        return readWholeFile(path, dstLimit);
    FileBytes file = readWholeFile(path, kMaxOtherFormatBytes);
    if (!file.error.empty())
        return file;
    const StepRead read = readDesignSteps(*format, file.bytes);
    if (!read.read) {
        file.bytes.clear();
        file.error = read.reason;
        return file;
    }
    file.bytes = toDstBytes(read.steps, withoutExtension(fileNamePart(path)));
    return file;
}

} // namespace loomscope
