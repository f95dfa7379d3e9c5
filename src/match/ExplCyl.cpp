#include "match/ExplCyl.h"

#include <cmath>

#include "core/Clock.h"
#include "core/System.h"
#include "render/MeshDisc.h"

namespace {

// The ring floats this far above the ground so that the floor does not hide it.
const float RING_HEIGHT = 30;
const int RING_SEGMENTS = 14;

}  // namespace

ExplCyl::ExplCyl(const Vector3& pos, float speed_, float maxRadius_, Material* m)
    : speed(speed_), maxRadius(maxRadius_) {
    scale.CreateIdentity();
    // A unit ring, widened each update by `scale`; one mesh serves all three slots.
    Mesh* ring = new MeshDisc(Vector3(0, RING_HEIGHT, 0), Vector3(1, 0, 0), Vector3(0, 1, 0),
                              Vector3(0, 0, 1), Vector3(1, 1, 1), true, RING_SEGMENTS);
    SetMesh(ring, ring, ring, m);
    rotates = false;
    translates = true;
    SetPosition(pos);
}

ExplCyl::~ExplCyl() { delete mesh; }

void ExplCyl::Update() {
    if (done) return;
    radius += System::instance()->clock->delta / 1000.0f * speed;
    if (radius > maxRadius) {
        done = true;
        return;
    }
    scale(0, 0) = radius;
    scale(2, 2) = radius;
    world = translation * scale;
}

bool ExplCyl::Collision(Object* other) {
    if (hit) return true;
    if (radius >= (other->position - position).Length()) hit = true;
    return hit;
}
