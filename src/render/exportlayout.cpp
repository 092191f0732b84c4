#include "exportlayout.h"

#include "config/projectinfo.h"
#include "drawing/designlook.h"
#include "model/codepage.h"
#include "model/numberformat.h"
#include "model/tembs.h"

#include <cmath>

namespace loomscope {

int pictureSide(int wanted)
{
    return wanted - wanted % 4 + 4;
}

PicturePlan planPicture(Tembs& design)
{
    design.Setscale(kPictureScale);
    // The extent with each edge cut to a whole pixel.
    auto measure = [&](int& w, int& h) {
        const TRectF& r = design.dstrect();
        w = static_cast<int>(std::trunc(r.right)) - static_cast<int>(std::trunc(r.left));
        h = static_cast<int>(std::trunc(r.bottom)) - static_cast<int>(std::trunc(r.top));
    };
    PicturePlan plan;
    measure(plan.width, plan.height);
    if (plan.width >= plan.height && plan.width > kPictureMaxSide) {
        design.chuangkou(kPictureMaxSide, kPictureMaxSide);
        measure(plan.width, plan.height);
    }
    if (plan.width < plan.height && plan.height > kPictureMaxSide) {
        design.chuangkou(kPictureMaxSide, kPictureMaxSide);
        measure(plan.width, plan.height);
    }
    plan.scale = design.scale();
    // Pictures always show the standard sequin, whatever size the view is set to.
    plan.sequinOuter = plan.scale * kDefaultSequinOuterMm * kSequinRadiusPerMm;
    plan.sequinHole = plan.scale * kDefaultSequinHoleMm * kSequinRadiusPerMm;
    return plan;
}

int pictureDotsPerInch(float scale)
{
    return static_cast<int>(std::lround(double(scale) * 90));
}

void brighten(std::uint8_t* bytes, std::size_t count, int amount)
{
    for (std::size_t i = 0; i < count; ++i) {
        const int v = bytes[i] + amount;
        bytes[i] = static_cast<std::uint8_t>(v > 255 ? 255 : v);
    }
}

std::vector<std::string> defaultPictureCredits()
{
    return {std::string("Made with ") + kProgramNameAndVersion, "Embroidery design viewer", ""};
}

std::vector<std::string> pictureCredits(const std::string& company, const std::string& telephone,
                                        const std::string& website)
{
    std::vector<std::string> lines;
    if (!company.empty())
        lines.push_back(company);
    if (!telephone.empty())
        lines.push_back("Tel: " + telephone);
    if (!website.empty())
        lines.push_back(website);
    if (lines.empty())
        return defaultPictureCredits();
    lines.resize(3);
    return lines;
}

std::vector<InfoLine> pictureInfoLines(const Tembs& design, char decimalSeparator,
                                       const std::vector<std::string>& credits)
{
    auto n = [decimalSeparator](double v) { return formatGeneral(v, decimalSeparator); };
    const std::vector<std::string> lines = credits.empty() ? defaultPictureCredits() : credits;
    auto credit = [&](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
    return {
        {10, "Design Name: " + pathDisplayText(design.dstfilename())},
        {40, "Stitchs: " + std::to_string(design.stitchs())},
        {70, "Colors: " + std::to_string(design.colorcount())},
        {100,
         "Size(inch): " + n(mmToInches(design.width())) + " * " + n(mmToInches(design.height()))},
        {130, "Size(mm): " + n(design.width()) + " * " + n(design.height())},
        {160, "Sequins: " + std::to_string(design.sequins())},
        {190, credit(0)},
        {220, credit(1)},
        {250, credit(2)},
    };
}

} // namespace loomscope
