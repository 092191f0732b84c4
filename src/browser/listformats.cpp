#include "listformats.h"

#include "model/numberformat.h"
#include "model/tembs.h"

namespace loomscope {

std::string millimetreSizeText(const Tdstinfo& info, char decimalSeparator)
{
    return formatGeneral(info.Fwidth, decimalSeparator) + " * " +
           formatGeneral(info.Fheight, decimalSeparator);
}

std::string inchSizeText(const Tdstinfo& info, char decimalSeparator)
{
    return formatGeneral(mmToInches(info.Fwidth), decimalSeparator) + " * " +
           formatGeneral(mmToInches(info.Fheight), decimalSeparator);
}

} // namespace loomscope
