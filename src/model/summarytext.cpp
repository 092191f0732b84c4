#include "summarytext.h"

#include "numberformat.h"
#include "tembs.h"
#include "uitext.h"

namespace loomscope {

std::string summaryText(const std::string& designName, const Tdstinfo& info, char decimalSeparator)
{
    auto n = [decimalSeparator](double v) { return formatGeneral(v, decimalSeparator); };
    return designName + '\r' + std::to_string(info.Fstitchcount) + '\r' +
           std::to_string(info.Fcolorcount) + '\r' + std::to_string(info.lpcount) + '\r' +
           n(info.Fwidth) + " * " + n(info.Fheight) + '\r' + n(mmToInches(info.Fwidth)) + " * " +
           n(mmToInches(info.Fheight));
}

std::string readFailureReason(DstReadStatus status, const std::string& systemError)
{
    if (status == DstReadStatus::CannotOpen && !systemError.empty())
        return "the file cannot be read: " + systemError;
    switch (status) {
    case DstReadStatus::Read:
        return {};
    case DstReadStatus::WrongExtension:
        return "not a design (the name does not end in .dst, .pes, .pec, .jef, .exp, .vp3 or .xxx)";
    case DstReadStatus::TooShort:
        return "the file is too short to hold a design";
    case DstReadStatus::CannotOpen:
        return "the file cannot be read";
    case DstReadStatus::TooLarge:
        return "the file is too large for a design";
    case DstReadStatus::Missing:
        return "there is no such file";
    }
    return {};
}

std::string failedSummaryText(const std::string& designName, DstReadStatus status)
{
    return designName + '\r' + "(" + readFailureReason(status) + ")";
}

std::string summaryCaptions()
{
    return uiText("Summary", "花样名：") + '\r' + uiText("Summary", "针数：") + '\r' +
           uiText("Summary", "颜色：") + '\r' + uiText("Summary", "珠片数：") + '\r' +
           uiText("Summary", "尺寸(mm)：") + '\r' + uiText("Summary", "尺寸(inch)：");
}

} // namespace loomscope
