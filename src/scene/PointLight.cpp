#include "scene/PointLight.h"

PointLight::PointLight(const Vector3& color_, const Vector3& position_) {
    color = color_;
    position = position_;
}

void PointLight::index(int n) {
    const float ambient[4] = {0, 0, 0, 0};
    const float glPosition[4] = {position.x, position.y, position.z, 1};
    Bind(n, ambient, glPosition);
}
