#pragma once

#include "character/Object.h"
#include "math/Matrix.h"
#include "math/Vector3.h"

class Material;

// The ring of an explosion: a flat band on the ground that widens at a fixed
// speed until it reaches its largest radius, and knocks over whatever it
// sweeps across.
class ExplCyl : public Object {
public:
    // A ring of radius 0 centred on pos; it grows speed units a second up to maxRadius.
    ExplCyl(const Vector3& pos, float speed, float maxRadius, Material* m);
    ~ExplCyl() override;
    ExplCyl(const ExplCyl&) = delete;
    ExplCyl& operator=(const ExplCyl&) = delete;

    using Object::Update;
    void Update() override;                  // grow by the clock's delta; done past maxRadius
    bool Collision(Object* other) override;  // true from the moment the ring reached other

    float speed;         // radius gained per second
    float radius = 0;
    float maxRadius;
    Matrix scale;        // the ring's width in x and z
    bool hit = false;    // the ring has swept over the object it is tested against
    bool done = false;   // grown past maxRadius: the owner may discard it
};
