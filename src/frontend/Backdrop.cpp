#include "frontend/Backdrop.h"

#include <GL/gl.h>

#include <vector>

#include "core/Display.h"
#include "core/System.h"

Backdrop::~Backdrop() {
    if (Taken()) glDeleteTextures(1, &texture);
}

bool Backdrop::Taken() const {
    return texture != 0 && generation == System::instance()->display->contextGeneration;
}

void Backdrop::Hold() {
    held = true;
    // The renderer's threads fill in the still while the menu is drawn.
    glFlush();
}

void Backdrop::Capture() {
    held = false;
    const Display* display = System::instance()->display;
    if (!Taken()) glGenTextures(1, &texture);
    generation = display->contextGeneration;
    width = display->width;
    height = display->height;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // Read back in the window's own byte order and uploaded again: the same
    // pixels as a copy on the GL side, but a software renderer would first
    // compile a blit for that copy, and the first menu frame waits for it.
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 pixels.data());
    glPopClientAttrib();
}

void Backdrop::Draw(float shade) const {
    const Display* display = System::instance()->display;
    if (held) {
        DimInPlace(shade);
        return;
    }
    if (!Taken()) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    // One pass over the window: the still, darkened as it is drawn; a
    // software renderer pays for every pixel of every pass.
    const bool asTaken = display->width == width && display->height == height;
    display->BeginOverlay(false);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, asTaken ? GL_NEAREST : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, asTaken ? GL_NEAREST : GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor3f(1 - shade, 1 - shade, 1 - shade);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(0, 0);
    glTexCoord2f(0, 1);
    glVertex2i(0, display->height);
    glTexCoord2f(1, 1);
    glVertex2i(display->width, display->height);
    glTexCoord2f(1, 0);
    glVertex2i(display->width, 0);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    display->EndOverlay();
}

// Black over the window, as opaque as the shade: the same pixels as the
// still darkened by its colour.
void Backdrop::DimInPlace(float shade) {
    const Display* display = System::instance()->display;
    display->BeginOverlay(false);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, shade);
    glBegin(GL_QUADS);  // wound as the still's quad, which faces the viewer
    glVertex2i(0, 0);
    glVertex2i(0, display->height);
    glVertex2i(display->width, display->height);
    glVertex2i(display->width, 0);
    glEnd();
    glDisable(GL_BLEND);
    display->EndOverlay();
}
