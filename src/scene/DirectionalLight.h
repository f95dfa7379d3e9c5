#pragma once

#include "scene/Light.h"

// A light at infinity shining along `direction`, such as the sun. Light 0 of
// a scene is one: it casts both kinds of shadow.
class DirectionalLight : public Light {
public:
    DirectionalLight(const Vector3& color, const Vector3& direction);

    void index(int n) override;
};
