#include "support/GLContext.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>

namespace {
bool Open() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    return SDL_SetVideoMode(GLTest::WIDTH, GLTest::HEIGHT, 0, SDL_OPENGL) != nullptr;
}

bool OpenWindow() {
    static const bool open = Open();
    return open;
}
}  // namespace

bool GLTest::Reopen() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return Open();
}

void GLTest::SetUp() {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr)
        << "no X display for the GL tests: run them through `make test` or scripts/with-xvfb";
    ASSERT_TRUE(OpenWindow()) << SDL_GetError();
    StandardState();
}

void GLTest::TearDown() {
    // Texture uploads change how GL reads pixel rows; each gives that back.
    GLint unpackAlignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
    EXPECT_EQ(unpackAlignment, 4) << "the pixel-store state was left changed";
    StandardState();
}

void GLTest::StandardState() {
    glViewport(0, 0, WIDTH, HEIGHT);
    for (const GLenum mode : {GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(mode);
        glLoadIdentity();
    }
    for (const GLenum capability : {GL_DEPTH_TEST, GL_LIGHTING, GL_CULL_FACE, GL_BLEND,
                                    GL_TEXTURE_2D, GL_FOG, GL_STENCIL_TEST, GL_SCISSOR_TEST}) {
        glDisable(capability);
    }
    for (int i = 0; i < 8; ++i) glDisable(GL_LIGHT0 + i);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glStencilMask(0xFF);
    glStencilFunc(GL_ALWAYS, 0, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}
