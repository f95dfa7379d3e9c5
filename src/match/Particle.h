#pragma once

#include "math/Vector3.h"
#include "scene/Flat.h"

class Material;

// A spark of debris thrown off by a hit: a small camera-facing sprite of
// random size and spin that flies under its own velocity and acceleration,
// fades in and out over its life and dies when it falls through the floor.
// Created once and relaunched by Start.
class Particle : public Flat {
public:
    explicit Particle(Material* m);  // idle until started

    using Flat::Update;
    void Update() override;  // move, fade and turn; only face the camera while paused
    void Draw() override;    // the sprite glowing with its brightness

    // Flies from pos for life ms of game time.
    void Start(int life, const Vector3& pos, const Vector3& vel, const Vector3& acc);
    bool HasTimeLeft() const;  // the clock has not yet reached endTime
    void End();                // nothing to undo: an expired particle is simply not updated

    int life = 0;          // ms
    int endTime = 0;       // game time at which it expires
    Vector3 pos, vel, acc;
    float brightness = 1;  // emission while drawn, 0..1
    float angle = 0;       // turn in the sprite's own plane
    float spin;            // angle added per update
};
