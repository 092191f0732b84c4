#include "exportlayout.h"

#include "app/projectinfo.h"
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
    plan.sequinOuter = plan.scale * 8.7f;
    plan.sequinHole = plan.scale * 2.61f;
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

std::vector<InfoLine> pictureInfoLines(const Tembs& design, char decimalSeparator)
{
    auto n = [decimalSeparator](double v) { return formatGeneral(v, decimalSeparator); };
    return {
        {10, "Design Name: " + design.dstfilename()},
        {40, "Stitchs: " + std::to_string(design.stitchs())},
        {70, "Colors: " + std::to_string(design.colorcount())},
        {100,
         "Size(inch): " + n(mmToInches(design.width())) + " * " + n(mmToInches(design.height()))},
        {130, "Size(mm): " + n(design.width()) + " * " + n(design.height())},
        {160, "Sequins: " + std::to_string(design.sequins())},
        {190, "Made with LoomScope 4.0, the embroidery design viewer"},
        {220, std::string("LoomScope: ") + kProjectWebPage},
        {250, std::string("Problems and wishes: ") + kProjectIssues},
    };
}

} // namespace loomscope
