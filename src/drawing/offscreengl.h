#pragma once

#include "glprocs.h"

#include <QString>
#include <cstdint>
#include <memory>

class QOffscreenSurface;
class QOpenGLContext;

namespace loomscope {

// An OpenGL 2.1 compatibility context that draws into a framebuffer object of a fixed size,
// without any window. EGL's "surfaceless" platform comes first: it needs no display server
// and works on any thread. Where it is missing, a Qt offscreen surface stands in; that needs
// a windowing platform with OpenGL and the application's main thread.
class OffscreenGl {
public:
    OffscreenGl();
    ~OffscreenGl();
    OffscreenGl(const OffscreenGl&) = delete;
    OffscreenGl& operator=(const OffscreenGl&) = delete;

    // Makes the context and its framebuffer and leaves them current. False, with `error` set,
    // when no off-screen OpenGL can be had or the size is beyond it.
    bool create(int width, int height, QString* error);
    // Current on this thread again.
    bool makeCurrent();
    void doneCurrent();
    // The framebuffer's lowest `rows` rows as RGB, from the bottom up, no padding between rows.
    void readRgb(std::uint8_t* pixels, int rows) const;
    // Which kind was made, for messages: "EGL surfaceless" or "Qt offscreen surface".
    const char* kind() const;
    // The context's functions beyond OpenGL 1.2, for the painters that draw in it.
    const GlProcs& functions() const { return gl_; }

    // Whether EGL surfaceless contexts can be made here (tried once).
    static bool eglAvailable();

private:
    bool createEgl(QString* error);
    bool createQt(QString* error);
    bool createFramebuffer(QString* error);
    void release();

    int width_ = 0;
    int height_ = 0;
    void* eglDisplay_ = nullptr;
    void* eglContext_ = nullptr;
    std::unique_ptr<QOffscreenSurface> qtSurface_;
    std::unique_ptr<QOpenGLContext> qtContext_;
    GlProcs gl_;
    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    unsigned depth_ = 0;
};

} // namespace loomscope
