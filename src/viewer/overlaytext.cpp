#include "overlaytext.h"

#include "model/codepage.h"
#include "model/numberformat.h"
#include "model/tembs.h"

namespace loomscope {

std::array<OverlayRow, 7> overlayRows(const Tembs& design, const Tdstinfo& info,
                                      char decimalSeparator)
{
    auto number = [decimalSeparator](double v) { return formatGeneral(v, decimalSeparator); };
    return {{
        {"Name:", pathDisplayText(design.dstfilename()), 20},
        {"Stitches:", std::to_string(design.stitchs()), 40},
        {"Colors:", std::to_string(design.colorcount()), 60},
        {"Sequins:", std::to_string(design.sequins()), 80},
        {"Size(mm):", number(info.Fwidth) + " * " + number(info.Fheight), 100},
        {"Size(inch):", number(mmToInches(info.Fwidth)) + " * " + number(mmToInches(info.Fheight)),
         120},
        {"scale:", number(roundTo3Even(design.scale())), 140},
    }};
}

} // namespace loomscope
