#pragma once

#include "math/SArray.h"
#include "math/Vector3.h"

class Anim;
class Object;
class Person;

// Plays animations on one fighter. This base keeps the fighter, its opponent,
// the animation being fed, the bone flag words of the keys in the splines and
// the blow the opponent last landed on this fighter; the match sequencer does
// the playing.
class Sequencer {
public:
    // The bone windows and the splines hold this many bones of a fighter.
    static constexpr int MAX_BONES = 200;

    // Registers itself as self's sequencer. A fighter (or opponent) with more
    // bones than the windows hold ends the program with status 1.
    Sequencer(Person* self, Person* opponent);
    virtual ~Sequencer();  // the fighter forgets its sequencer
    Sequencer(const Sequencer&) = delete;
    Sequencer& operator=(const Sequencer&) = delete;

    virtual void Update() {}
    virtual void SetAnim(Anim* a);  // a becomes the animation fed, its window at the start

    Person* person;
    Anim* anim = nullptr;
    // Per bone, the flag word of the keys in spline slots 0..3; slot 2 is the
    // key the motion is heading to, and the one blows are judged by.
    SArray<SArray<int, 4>, MAX_BONES> boneFlagsWindow;
    bool started = false;        // the first animation has begun
    int nextFrame = 0;           // the next keyframe of anim to feed
    Person* opponent;
    bool hitPending = false;       // the opponent's blow reached a vulnerable part
    bool guardHitPending = false;  // the opponent's blow reached a guarding part
    Vector3 hitPoint;              // where it touched, in hitObject's own frame
    Object* hitObject = nullptr;   // the body part touched
    Anim* hitAnim = nullptr;       // the reaction the blow asks for; null: none
    const char* hitBranch = nullptr;  // where the move tree goes on after the reaction
};
