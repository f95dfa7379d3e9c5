#include "support/Offscreen.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>

namespace {

template <typename T>
T Entry(const char* name) {
    return reinterpret_cast<T>(SDL_GL_GetProcAddress(name));
}

}  // namespace

Offscreen::Offscreen(int width_, int height_) : width(width_), height(height_) {
    const auto genFramebuffers = Entry<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
    const auto bindFramebuffer = Entry<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
    const auto genRenderbuffers = Entry<PFNGLGENRENDERBUFFERSPROC>("glGenRenderbuffers");
    const auto bindRenderbuffer = Entry<PFNGLBINDRENDERBUFFERPROC>("glBindRenderbuffer");
    const auto storage = Entry<PFNGLRENDERBUFFERSTORAGEPROC>("glRenderbufferStorage");
    const auto attach = Entry<PFNGLFRAMEBUFFERRENDERBUFFERPROC>("glFramebufferRenderbuffer");
    const auto status = Entry<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
    if (!genFramebuffers || !bindFramebuffer || !genRenderbuffers || !bindRenderbuffer ||
        !storage || !attach || !status) {
        return;
    }
    genFramebuffers(1, &framebuffer);
    bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    genRenderbuffers(2, buffers);
    bindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
    storage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
    bindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
    storage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    attach(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
    complete_ = status(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

Offscreen::~Offscreen() {
    if (framebuffer == 0) return;
    Entry<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer")(GL_FRAMEBUFFER, 0);
    Entry<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers")(1, &framebuffer);
    Entry<PFNGLDELETERENDERBUFFERSPROC>("glDeleteRenderbuffers")(2, buffers);
}

std::vector<std::uint8_t> Offscreen::Rgb() const {
    std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}
