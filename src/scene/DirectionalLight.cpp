#include "scene/DirectionalLight.h"

DirectionalLight::DirectionalLight(const Vector3& color_, const Vector3& direction_) {
    color = color_;
    direction = direction_;
}

void DirectionalLight::index(int n) {
    const float ambient[4] = {0, 0, 0, 1};
    // GL wants the direction towards the light, hence the negation.
    const float glPosition[4] = {-direction.x, -direction.y, -direction.z, 0};
    Bind(n, ambient, glPosition);
}
