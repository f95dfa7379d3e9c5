#pragma once

#include <memory>

#include "math/Vector3.h"

class Anim;
class Person;

// A fighter standing in its stance, as the select screen shows it: the
// first move of its move tree played round and round, the whole body
// turned as the caller likes.
class FighterPreview {
public:
    explicit FighterPreview(Person* fighter);  // loads the stance's animation
    ~FighterPreview();
    FighterPreview(const FighterPreview&) = delete;
    FighterPreview& operator=(const FighterPreview&) = delete;

    // The pose `ms` into the stance, standing at `place` and turned by
    // `turn` radians about the vertical.
    void Pose(const Vector3& place, float turn, int ms);

    Person* fighter;  // the roster's
    std::unique_ptr<Anim> stance;  // null when the move tree names none
};
