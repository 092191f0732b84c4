#include "exportjob.h"

#include "exportlayout.h"
#include "model/fileio.h"
#include "model/tembs.h"
#include "session/pathstrings.h"
#include "trendertobmp.h"

#include <QCoreApplication>

namespace loomscope {

ExportResult exportPicture(const ExportJob& job)
{
    ExportResult result;
    // The size and scale of the picture, from the design read afresh.
    PicturePlan plan;
    {
        Tembs design;
        if (!fileExists(job.designPath) ||
            design.loadfromfile(job.designPath) != DstReadStatus::Read) {
            result.error =
                QCoreApplication::translate("ExportJob", "The design \"%1\" cannot be read.")
                    .arg(displayPath(job.designPath));
            return result;
        }
        plan = planPicture(design);
    }
    const DesignLook& look = job.look;
    rendertobmpinfo info;
    info.sequinsda = plan.sequinOuter;
    info.sequinsxiao = plan.sequinHole;
    info.backcolor = look.backcolor;
    Trendertobmp renderer(info, plan.width, plan.height);
    if (!renderer.isReady()) {
        result.error = renderer.error();
        return result;
    }
    renderer.setDecimalSeparator(job.decimalSeparator);
    renderer.setCredits(job.credits);
    renderer.loadfromfile(job.designPath);
    renderer.setbackcolor(look.backcolor);
    renderer.Fsetzhucolor(look.sequincolor);
    if (look.fabric) {
        renderer.isture(true);
        renderer.setbackTexture(look.fabricTint, look.fabricPicture);
    }
    for (std::size_t i = 0; i < look.colours.size(); ++i)
        renderer.setcolorlist(static_cast<int>(i), look.colours[i]);
    result.ok = renderer.rendertobmp(job.outputPath, plan.scale, &result.error);
    result.size = QSize(renderer.width(), renderer.height());
    result.dotsPerInch = pictureDotsPerInch(plan.scale);
    return result;
}

} // namespace loomscope
