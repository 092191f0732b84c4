#include "glformat.h"

#include <QSurfaceFormat>

namespace loomscope {

void setDefaultGlFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setOption(QSurfaceFormat::DeprecatedFunctions);
    format.setDepthBufferSize(16);
    format.setAlphaBufferSize(0);
    QSurfaceFormat::setDefaultFormat(format);
}

} // namespace loomscope
