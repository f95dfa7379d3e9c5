#include "match/Sparkle.h"

#include <algorithm>

#include "character/Object.h"
#include "core/Clock.h"
#include "core/System.h"
#include "render/Material.h"

namespace {

const float SIZE = 30;
// The sprite stands this far along -Z from the point it marks, so that after
// the billboard turn it lies a little off the body part's surface rather
// than inside it.
const float DEPTH_OFFSET = -20;

}  // namespace

Sparkle::Sparkle(Material* m) : Flat(Vector3(0, 0, DEPTH_OFFSET), SIZE, m) {}

void Sparkle::Update() {
    const Clock* clock = System::instance()->clock;
    if (clock->mode == 0) {
        Flat::Update();
        return;
    }
    SetPosition(target == nullptr ? offset : target->world * offset);

    // Full brightness for the first fifth, then a quadratic fade; a life too
    // short to divide into fifths must not divide by zero.
    const int elapsed = clock->time - (endTime - life);
    float b = 1;
    if (elapsed >= life / 5) {
        // Past its end the remaining fraction turns negative, and its square
        // must not light the sparkle up again.
        const float rest =
            std::max(static_cast<float>(life - elapsed) / std::max(life * 4 / 5, 1), 0.0f);
        b = rest * rest;
    }
    brightness = std::clamp(b, 0.0f, 1.0f);

    Flat::Update();
    angle += clock->delta * spin;
    Matrix turn;
    turn.CreateRotateZ(angle);
    world = world * turn;
}

void Sparkle::Draw() {
    if (material != nullptr) material->emission = Vector3(brightness, brightness, brightness);
    Flat::Draw();
}

void Sparkle::Start(int life_, const Vector3& offset_, Object* target_) {
    life = life_;
    offset = offset_;
    target = target_;
    endTime = System::instance()->clock->time + life;
}

bool Sparkle::HasTimeLeft() const { return System::instance()->clock->time < endTime; }

void Sparkle::End() {}
