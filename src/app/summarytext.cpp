#include "summarytext.h"

#include "model/numberformat.h"
#include "model/tembs.h"

namespace loomscope {

std::string summaryText(const std::string& designName, const Tdstinfo& info, char decimalSeparator)
{
    auto n = [decimalSeparator](double v) { return formatGeneral(v, decimalSeparator); };
    return designName + '\r' + std::to_string(info.Fstitchcount) + '\r' +
           std::to_string(info.Fcolorcount) + '\r' + std::to_string(info.lpcount) + '\r' +
           n(info.Fwidth) + " * " + n(info.Fheight) + '\r' + n(mmToInches(info.Fwidth)) + " * " +
           n(mmToInches(info.Fheight));
}

std::string summaryCaptions()
{
    return "花样名：\r针数：\r颜色：\r珠片数：\r尺寸(mm)：\r尺寸(inch)：";
}

} // namespace loomscope
