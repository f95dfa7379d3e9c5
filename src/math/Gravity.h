#pragma once

#include "math/Vector3.h"

// The pull on everything that flies: jumps and thrown fighters on the
// splines, hit particles, a fighter falling off the arena. Scene units per
// second squared; only y is non-zero.
constexpr float GRAVITY_Y = -578.7402f;
inline const Vector3 GRAVITY(0.0f, GRAVITY_Y, 0.0f);
