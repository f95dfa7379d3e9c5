#include "match/Particle.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "core/Clock.h"
#include "core/System.h"
#include "core/Trace.h"
#include "render/Material.h"
#include "render/Mesh.h"

namespace {

// rand() is uniform over [0, 2^31); this scales it into [0, 1). Only the 24
// high bits a float can hold are kept, so the result never rounds up to 1.
float Random() { return static_cast<float>(std::rand() >> 7) / (1 << 24); }

float Fraction(int part, int whole) { return static_cast<float>(part) / std::max(whole, 1); }

}  // namespace

Particle::Particle(Material* m) : Flat(Vector3(0, 0, 0), 2 + 4 * Random(), m) {
    spin = Random() - 0.5f;
}

void Particle::Update() {
    const Clock* clock = System::instance()->clock;
    if (clock->mode == 0) {
        Flat::Update();
        return;
    }
    // Particles fly at half of real speed.
    const float dt = clock->delta / 2000.0f;
    pos += vel * dt;
    vel += acc * dt;
    SetPosition(pos);

    // Integer tenths, as the times are; a life too short to divide into
    // tenths must not divide by zero.
    const int elapsed = clock->time - (endTime - life);
    const float b = elapsed < life / 10 ? Fraction(elapsed, life / 10)
                                        : Fraction(life - elapsed, life * 9 / 10);
    brightness = std::clamp(b, 0.0f, 1.0f);

    // Fallen through the floor: done.
    if (pos.y < 0) endTime = clock->time - 1;

    Flat::Update();
    angle += spin;
    Matrix turn;
    turn.CreateRotateZ(angle);
    world = world * turn;
}

void Particle::Draw() {
    if (material == nullptr) {
        debug << "No mat!!" << std::endl;
        return;
    }
    material->emission = Vector3(brightness, brightness, brightness);
    material->current(true);
    if (mesh != nullptr) mesh->Draw(world);
}

void Particle::Start(int life_, const Vector3& pos_, const Vector3& vel_, const Vector3& acc_) {
    life = life_;
    pos = pos_;
    vel = vel_;
    acc = acc_;
    endTime = System::instance()->clock->time + life;
}

bool Particle::HasTimeLeft() const { return System::instance()->clock->time < endTime; }

void Particle::End() {}
