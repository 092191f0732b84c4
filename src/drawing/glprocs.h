#pragma once

#include <GL/gl.h>
#include <GL/glext.h>
#include <functional>

namespace loomscope {

// The OpenGL functions beyond version 1.2 that the drawing uses (buffer objects, programs,
// framebuffer objects). Only the 1.x core is promised as exports of libGL; everything newer is
// asked of the context, which may answer with functions of its own driver. Resolved once per
// context: through QOpenGLContext on screen, through eglGetProcAddress off screen.
struct GlProcs {
    PFNGLGENBUFFERSPROC GenBuffers = nullptr;
    PFNGLBINDBUFFERPROC BindBuffer = nullptr;
    PFNGLBUFFERDATAPROC BufferData = nullptr;
    PFNGLDELETEBUFFERSPROC DeleteBuffers = nullptr;
    PFNGLUSEPROGRAMPROC UseProgram = nullptr;
    PFNGLDISABLEVERTEXATTRIBARRAYPROC DisableVertexAttribArray = nullptr;
    PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
    PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;

    using Lookup = std::function<void*(const char* name)>;
    // Asks `lookup` for every function; false when one is missing (`missing` names it).
    bool resolve(const Lookup& lookup, const char** missing = nullptr);
    bool complete() const { return GenBuffers != nullptr; }
};

} // namespace loomscope
