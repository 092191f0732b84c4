#include "glprocs.h"

namespace loomscope {

bool GlProcs::resolve(const Lookup& lookup, const char** missing)
{
    bool all = true;
    auto take = [&](auto& function, const char* name, const char* alternative = nullptr) {
        void* p = lookup(name);
        if (!p && alternative)
            p = lookup(alternative); // drivers that only have the extension's name
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(p);
        if (!p && all) {
            all = false;
            if (missing)
                *missing = name;
        }
    };
    take(GenBuffers, "glGenBuffers", "glGenBuffersARB");
    take(BindBuffer, "glBindBuffer", "glBindBufferARB");
    take(BufferData, "glBufferData", "glBufferDataARB");
    take(DeleteBuffers, "glDeleteBuffers", "glDeleteBuffersARB");
    take(UseProgram, "glUseProgram", "glUseProgramObjectARB");
    take(DisableVertexAttribArray, "glDisableVertexAttribArray", "glDisableVertexAttribArrayARB");
    take(GenFramebuffers, "glGenFramebuffers", "glGenFramebuffersEXT");
    take(BindFramebuffer, "glBindFramebuffer", "glBindFramebufferEXT");
    take(DeleteFramebuffers, "glDeleteFramebuffers", "glDeleteFramebuffersEXT");
    take(CheckFramebufferStatus, "glCheckFramebufferStatus", "glCheckFramebufferStatusEXT");
    take(FramebufferRenderbuffer, "glFramebufferRenderbuffer", "glFramebufferRenderbufferEXT");
    take(GenRenderbuffers, "glGenRenderbuffers", "glGenRenderbuffersEXT");
    take(BindRenderbuffer, "glBindRenderbuffer", "glBindRenderbufferEXT");
    take(RenderbufferStorage, "glRenderbufferStorage", "glRenderbufferStorageEXT");
    take(DeleteRenderbuffers, "glDeleteRenderbuffers", "glDeleteRenderbuffersEXT");
    if (!all)
        *this = GlProcs{};
    return all;
}

} // namespace loomscope
