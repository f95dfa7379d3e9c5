#pragma once

#include "math/Vector3.h"

// The six planes GL clips against with the projection it holds now (the
// camera's projection and view), in world space: what lies wholly outside
// one of them would be clipped away, so it need not be sent at all.
class ViewVolume {
public:
    static ViewVolume OfGL();  // from GL_PROJECTION_MATRIX

    // False only when the sphere lies wholly outside the volume.
    bool Sees(const Vector3& centre, float radius) const;

private:
    float planes[6][4] = {};  // a, b, c, d with a x + b y + c z + d >= 0 inside
};
