#pragma once

#include "math/Vector3.h"

// One OpenGL light source. The display binds every registered light to the
// light slot of its place in the registry at the start of each frame.
class Light {
public:
    virtual ~Light() = default;

    // Bind to GL light n; a disabled light only switches its slot off.
    virtual void index(int n) = 0;

    Vector3 color;       // diffuse r, g, b
    Vector3 position;    // point and spot lights
    Vector3 direction;   // the way the light travels; not normalised
    float umbra = 0;     // spot lights: recorded, not sent to GL
    float penumbra = 0;
    bool enabled = true;

protected:
    // Enables slot n and sends ambient, diffuse (color, 1) and position, in that order.
    void Bind(int n, const float ambient[4], const float position[4]) const;
};
