#pragma once

#include "scene/Light.h"

// A positional light shining in every direction from `position`.
class PointLight : public Light {
public:
    PointLight(const Vector3& color, const Vector3& position);

    void index(int n) override;
};
