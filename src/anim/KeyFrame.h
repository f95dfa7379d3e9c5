#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "math/Array.h"
#include "math/Vector3.h"

class Sound;
class WordReader;

// One pose of an animation: every bone's rotation and flag word, optional bone
// positions, the body's position, velocity and facing, and an optional sound.
class KeyFrame {
public:
    // Bits of a bone's flag word.
    static const int STRIKES = 1;
    static const int CAN_BE_HIT = 2;
    static const int TRACER = 4;  // the bone's weapon trail is on
    static const int BLOCKS = 8;

    static const int MAX_SOUND_NAME = 39;  // characters of soundName

    KeyFrame();                     // no bones
    explicit KeyFrame(int nbones);  // every bone zero, every flag clear
    ~KeyFrame();
    KeyFrame(const KeyFrame&) = delete;
    KeyFrame& operator=(const KeyFrame&) = delete;

    // Takes other's times, body values and bones; the sound stays this frame's own.
    void CopyFrom(const KeyFrame* other);
    // Reads the keyframe text up to its end marker -1. Values the text does not
    // give keep what they were. False, with the reader's problem set, on a
    // malformed number or the end of the text.
    bool Read(WordReader& reader);
    void DropSound();  // no sound, no sound name

    Array<Vector3> rot;       // rotation of each bone
    Array<Vector3> bpos;      // explicit position of each bone, where bposSet
    Array<bool> bposSet;
    Array<int> boneFlags;     // STRIKES | CAN_BE_HIT | TRACER | BLOCKS
    bool hasDamage = false;
    float damage = 0;         // kept with the file; a hit costs the Anim's damage
    bool hasPos = false;
    Vector3 pos;              // body position
    bool hasVel = false;
    Vector3 vel;              // body velocity
    bool hasFacing = false;
    Vector3 facing;           // body rotation
    float time = 0;           // seconds from the previous keyframe
    float absTime = 0;        // seconds from the start of the animation
    int nbones = 0;
    bool hasSound = false;
    std::unique_ptr<Sound> sound;
    std::string soundName;    // at most MAX_SOUND_NAME characters
};

// The keyframe text: the time, optional "pos", "vel", "facing", "damage"
// clauses, one line per bone (index, rotation, flag word, optional "bpos"), -1.
std::istream& operator>>(std::istream& in, KeyFrame& key);
std::ostream& operator<<(std::ostream& out, const KeyFrame& key);
