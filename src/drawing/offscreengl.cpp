#include "offscreengl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QThread>
#include <cstring>

namespace loomscope {

namespace {

EGLDisplay surfacelessDisplay()
{
    // One display for the process; EGL counts its initialisations.
    static EGLDisplay display = [] {
        auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getPlatformDisplay)
            return EGL_NO_DISPLAY;
        EGLDisplay d =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (d == EGL_NO_DISPLAY || !eglInitialize(d, nullptr, nullptr))
            return EGL_NO_DISPLAY;
        return d;
    }();
    return display;
}

QString eglError(const char* what)
{
    return QStringLiteral("%1 failed (EGL error 0x%2)")
        .arg(QLatin1String(what))
        .arg(eglGetError(), 0, 16);
}

} // namespace

OffscreenGl::OffscreenGl() = default;

OffscreenGl::~OffscreenGl()
{
    release();
}

bool OffscreenGl::eglAvailable()
{
    static const bool available = [] {
        const EGLDisplay d = surfacelessDisplay();
        if (d == EGL_NO_DISPLAY)
            return false;
        const char* extensions = eglQueryString(d, EGL_EXTENSIONS);
        return extensions && std::strstr(extensions, "EGL_KHR_surfaceless_context") != nullptr;
    }();
    return available;
}

bool OffscreenGl::create(int width, int height, QString* error)
{
    width_ = width;
    height_ = height;
    QString eglProblem;
    if (eglAvailable() && createEgl(&eglProblem))
        return createFramebuffer(error);
    QString qtProblem;
    if (createQt(&qtProblem))
        return createFramebuffer(error);
    if (error)
        *error =
            QCoreApplication::translate("OffscreenGl", "No off-screen OpenGL is available: %1; %2")
                .arg(eglAvailable()
                         ? eglProblem
                         : QCoreApplication::translate("OffscreenGl", "EGL surfaceless is missing"),
                     qtProblem);
    return false;
}

bool OffscreenGl::createEgl(QString* error)
{
    const EGLDisplay display = surfacelessDisplay();
    if (!eglBindAPI(EGL_OPENGL_API)) {
        *error = eglError("eglBindAPI");
        return false;
    }
    const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint found = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &found) || found == 0) {
        // Surfaceless contexts need no particular config.
        config = EGL_NO_CONFIG_KHR;
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 2, EGL_CONTEXT_MINOR_VERSION, 1,
                                        EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT) {
        *error = eglError("eglCreateContext");
        return false;
    }
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        *error = eglError("eglMakeCurrent");
        eglDestroyContext(display, context);
        return false;
    }
    eglDisplay_ = display;
    eglContext_ = context;
    return true;
}

bool OffscreenGl::createQt(QString* error)
{
    if (!qGuiApp || QThread::currentThread() != qGuiApp->thread()) {
        *error =
            QStringLiteral("a Qt offscreen surface needs the main thread of a windowed program");
        return false;
    }
    QSurfaceFormat format;
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setOption(QSurfaceFormat::DeprecatedFunctions);
    qtSurface_ = std::make_unique<QOffscreenSurface>();
    qtSurface_->setFormat(format);
    qtSurface_->create();
    qtContext_ = std::make_unique<QOpenGLContext>();
    qtContext_->setFormat(format);
    if (!qtSurface_->isValid() || !qtContext_->create() ||
        !qtContext_->makeCurrent(qtSurface_.get())) {
        *error = QStringLiteral("the Qt offscreen surface could not be made current");
        qtContext_.reset();
        qtSurface_.reset();
        return false;
    }
    return true;
}

bool OffscreenGl::createFramebuffer(QString* error)
{
    const char* missing = nullptr;
    const bool resolved =
        eglContext_
            ? gl_.resolve(
                  [](const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); },
                  &missing)
            : gl_.resolve(
                  [this](const char* name) {
                      return reinterpret_cast<void*>(qtContext_->getProcAddress(name));
                  },
                  &missing);
    if (!resolved) {
        if (error)
            *error = QCoreApplication::translate("OffscreenGl",
                                                 "This OpenGL lacks %1, which pictures need")
                         .arg(QLatin1String(missing));
        return false;
    }
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (width_ > maxSize || height_ > maxSize) {
        if (error)
            *error = QCoreApplication::translate(
                         "OffscreenGl",
                         "A picture of %1 x %2 pixels is larger than this OpenGL can draw (%3)")
                         .arg(width_)
                         .arg(height_)
                         .arg(maxSize);
        return false;
    }
    gl_.GenFramebuffers(1, &framebuffer_);
    gl_.BindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    gl_.GenRenderbuffers(1, &colour_);
    gl_.BindRenderbuffer(GL_RENDERBUFFER, colour_);
    gl_.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    gl_.GenRenderbuffers(1, &depth_);
    gl_.BindRenderbuffer(GL_RENDERBUFFER, depth_);
    gl_.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width_, height_);
    gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    if (gl_.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        if (error)
            *error =
                QCoreApplication::translate(
                    "OffscreenGl", "The off-screen picture of %1 x %2 pixels could not be made")
                    .arg(width_)
                    .arg(height_);
        return false;
    }
    return true;
}

bool OffscreenGl::makeCurrent()
{
    if (eglContext_)
        return eglMakeCurrent(eglDisplay_, EGL_NO_SURFACE, EGL_NO_SURFACE, eglContext_);
    return qtContext_ && qtContext_->makeCurrent(qtSurface_.get());
}

void OffscreenGl::doneCurrent()
{
    if (eglContext_)
        eglMakeCurrent(eglDisplay_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    else if (qtContext_)
        qtContext_->doneCurrent();
}

void OffscreenGl::readRgb(std::uint8_t* pixels, int rows) const
{
    gl_.BindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, rows, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
}

const char* OffscreenGl::kind() const
{
    return eglContext_ ? "EGL surfaceless" : qtContext_ ? "Qt offscreen surface" : "none";
}

void OffscreenGl::release()
{
    if (!eglContext_ && !qtContext_)
        return;
    if (makeCurrent()) {
        if (framebuffer_)
            gl_.DeleteFramebuffers(1, &framebuffer_);
        for (unsigned* rb : {&colour_, &depth_})
            if (*rb)
                gl_.DeleteRenderbuffers(1, rb);
        gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    doneCurrent();
    if (eglContext_)
        eglDestroyContext(eglDisplay_, eglContext_);
    eglContext_ = nullptr;
    qtContext_.reset();
    qtSurface_.reset();
}

} // namespace loomscope
