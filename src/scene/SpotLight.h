#pragma once

#include "scene/Light.h"

// A spot light as the scene files describe it. Its position and cone are
// recorded, but it lights the scene like a directional light along `direction`.
class SpotLight : public Light {
public:
    SpotLight(const Vector3& color, const Vector3& position, const Vector3& direction,
              float umbra, float penumbra);

    void index(int n) override;
};
