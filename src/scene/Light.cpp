#include "scene/Light.h"

#include <GL/gl.h>

void Light::Bind(int n, const float ambient[4], const float glPosition[4]) const {
    const GLenum slot = GL_LIGHT0 + n;
    if (!enabled) {
        glDisable(slot);
        return;
    }
    const float diffuse[4] = {color.x, color.y, color.z, 1};
    glEnable(slot);
    glLightfv(slot, GL_AMBIENT, ambient);
    glLightfv(slot, GL_DIFFUSE, diffuse);
    glLightfv(slot, GL_POSITION, glPosition);
}
