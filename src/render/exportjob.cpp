#include "exportjob.h"

#include "exportlayout.h"
#include "model/fileio.h"
#include "model/tembs.h"
#include "trendertobmp.h"

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
            result.error = QStringLiteral("The design \"%1\" cannot be read.")
                               .arg(QString::fromStdString(job.designPath));
            return result;
        }
        plan = planPicture(design);
    }
    rendertobmpinfo info;
    info.sequinsda = plan.sequinOuter;
    info.sequinsxiao = plan.sequinHole;
    info.backcolor = job.backcolor;
    Trendertobmp renderer(info, plan.width, plan.height);
    if (!renderer.isReady()) {
        result.error = renderer.error();
        return result;
    }
    renderer.setDecimalSeparator(job.decimalSeparator);
    renderer.loadfromfile(job.designPath);
    renderer.setbackcolor(job.backcolor);
    renderer.Fsetzhucolor(job.sequincolor);
    if (job.fabric) {
        renderer.isture(true);
        renderer.setbackTexture(job.fabricTint, job.fabricPicture);
    }
    for (std::size_t i = 0; i < job.colours.size(); ++i)
        renderer.setcolorlist(static_cast<int>(i), job.colours[i]);
    result.ok = renderer.rendertobmp(job.outputPath, plan.scale, &result.error);
    result.size = QSize(renderer.width(), renderer.height());
    result.dotsPerInch = pictureDotsPerInch(plan.scale);
    return result;
}

} // namespace loomscope
