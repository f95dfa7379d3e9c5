#include "character/ClothPony.h"

#include <algorithm>
#include <ostream>

#include "core/Clock.h"
#include "core/System.h"
#include "core/Trace.h"

namespace {

// A frame this long or longer snaps a link onto its place on the bone.
const float SETTLE_MS = 200;
// Cloth trails by the same small amount whatever the file asks for; the
// file only tells rigid links (0) from loose ones.
const float LOOSE_FLEX = 0.1f;
// A loose link is drawn towards its place on the bone only this strongly.
const float PULL = 0.7f;

}  // namespace

ClothPony::ClothPony(Object* parent_, const Vector3& joint, const Vector3& end_, bool isRoot_,
                     bool single_, float flex_)
    : end(end_),
      length((end_ - joint).Length()),
      rigid(flex_ == 0),
      flex(flex_),
      isRoot(isRoot_),
      single(single_) {
    debug << "isroot: " << (isRoot ? "true" : "false") << std::endl;
    parent = parent_;
    restPos = joint;
    // Without a bone the cloth hangs where it was modelled: the identity.
    if (parent) restInverse = parent->restInverse;
    localOrigin = restInverse * joint;
    linkLocal = restInverse ^ (end - joint);
    // Until the first steps have set them, the ends are where the link was
    // modelled; a loose link's first step blends in the tip of two steps before.
    worldPos = joint;
    prevPos = joint;
    tip = end;
    prevTip = end;
}

void ClothPony::Update() {
    world.CreateIdentity();
    if (parent) world = parent->world * parent->rest;

    prevPos = worldPos;
    worldPos = isRoot || parent == nullptr ? world * localOrigin : parent->tip;
    const Vector3 reach = world ^ linkLocal;
    const Vector3 place = worldPos + reach;  // where the link would be if it were rigid
    if (rigid) {
        prevTip = tip;
        tip = place;
        return;
    }

    const Vector3 d = reach.Normalized();
    const float keep =
        1 - std::clamp(System::instance()->clock->delta / SETTLE_MS, 0.0f, 1.0f);
    flex = LOOSE_FLEX;
    const Vector3 o = (prevTip - worldPos).Normalized();
    const Vector3 n = (o * (keep * flex) + d * ((1 - keep) * PULL * (1 - flex))).Normalized();
    prevTip = tip;
    tip = worldPos + n * length;
    // Behind the surface the cloth would cut into the body: it stays in place.
    if ((tip - place).Dot(normal) < 0) tip = place;
}
