#include "support/GLContext.h"

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
    // `make test` always provides an X server; running the binary by hand
    // without one skips the GL tests rather than failing them.
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display for a GL context";
    ASSERT_TRUE(OpenWindow()) << SDL_GetError();
}
