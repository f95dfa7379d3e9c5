#include "scene/SpotLight.h"

SpotLight::SpotLight(const Vector3& color_, const Vector3& position_, const Vector3& direction_,
                     float umbra_, float penumbra_) {
    color = color_;
    position = position_;
    direction = direction_;
    umbra = umbra_;
    penumbra = penumbra_;
}

void SpotLight::index(int n) {
    const float ambient[4] = {0, 0, 0, 1};
    const float glPosition[4] = {-direction.x, -direction.y, -direction.z, 0};
    Bind(n, ambient, glPosition);
}
