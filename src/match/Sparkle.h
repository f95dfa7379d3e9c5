#pragma once

#include "math/Vector3.h"
#include "scene/Flat.h"

class Material;
class Object;

// The flash of a hit: a large turning sprite that sticks to a point of a body
// part, at full brightness for the first fifth of its life and then fading.
// Created once and relaunched by Start.
class Sparkle : public Flat {
public:
    explicit Sparkle(Material* m);  // idle until started

    using Flat::Update;
    void Update() override;  // follow the target, fade and turn; only face the camera while paused
    void Draw() override;    // the sprite glowing with its brightness

    // Shows it for life ms at offset in target's frame, or in the world when target is null.
    void Start(int life, const Vector3& offset, Object* target);
    bool HasTimeLeft() const;  // the clock has not yet reached endTime
    void End();                // nothing to undo: an expired sparkle is simply not updated

    int life = 0;             // ms
    int endTime = 0;          // game time at which it expires
    Vector3 offset;           // where it shows, in target's frame
    Object* target = nullptr; // not owned
    float brightness = 1;     // emission while drawn, 0..1
    float angle = 0;          // turn in the sprite's own plane
    float spin = 0.003f;      // radians per ms
};
