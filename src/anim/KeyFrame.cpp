#include "anim/KeyFrame.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <ostream>

#include "core/Trace.h"
#include "core/WordReader.h"
#include "frontend/Sound.h"

namespace {

// A bone index word converts as a decimal integer; a word that is not a number
// gives 0, as it always has for hand-edited files.
long BoneIndex(const std::string& word) {
    const long index = std::strtol(word.c_str(), nullptr, 10);
    return std::clamp(index, static_cast<long>(INT_MIN), static_cast<long>(INT_MAX));
}

// Whole units toward zero, written as an integer so that no exponent form
// creeps into the file; a value that is no number at all is written as 0.
long long Truncated(float value) {
    return std::isfinite(value) && std::fabs(value) < 1e18f ? static_cast<long long>(value) : 0;
}

}  // namespace

KeyFrame::KeyFrame() = default;

KeyFrame::KeyFrame(int nbones_) : nbones(nbones_) {
    if (nbones <= 0) {
        nbones = 0;
        return;
    }
    rot.Create(nbones);
    bpos.Create(nbones);
    bposSet.Create(nbones);
    boneFlags.Create(nbones);
}

KeyFrame::~KeyFrame() = default;

void KeyFrame::CopyFrom(const KeyFrame* other) {
    time = other->time;
    absTime = other->absTime;
    hasPos = other->hasPos;
    pos = other->pos;
    hasVel = other->hasVel;
    vel = other->vel;
    hasFacing = other->hasFacing;
    facing = other->facing;
    hasDamage = other->hasDamage;
    damage = other->damage;
    const int bones = std::min(nbones, other->nbones);
    for (int b = 0; b < bones; ++b) {
        rot[b] = other->rot[b];
        boneFlags[b] = other->boneFlags[b];
        bpos[b] = other->bpos[b];
        bposSet[b] = other->bposSet[b];
    }
}

void KeyFrame::DropSound() {
    hasSound = false;
    sound.reset();
    soundName.clear();
}

bool KeyFrame::Read(WordReader& reader) {
    hasPos = hasVel = hasFacing = hasDamage = false;
    if (!reader.Float(time)) return false;
    // The bone a "bpos" line belongs to: the last bone line read, if it was kept.
    bool anyBone = false;
    long lastBone = -1;
    std::string word;
    for (;;) {
        if (!reader.Word(word)) {
            reader.Fail("expected a bone index or -1, found the end of the file");
            return false;
        }
        if (word == "bpos") {
            Vector3 position;
            // The three numbers are read in any case, so that they are never
            // taken for bone lines.
            if (!reader.Vector(position)) return false;
            if (!anyBone) {
                debug << "KEYFRAME ERROR" << std::endl;
                debug << reader.name() << ':' << reader.line() << ": 'bpos' before any bone"
                      << std::endl;
            } else if (lastBone >= 0 && lastBone < nbones) {
                bpos[lastBone] = position;
                bposSet[lastBone] = true;
            }
        } else if (word == "pos") {
            if (!reader.Vector(pos)) return false;
            hasPos = true;
        } else if (word == "vel") {
            if (!reader.Vector(vel)) return false;
            hasVel = true;
        } else if (word == "facing") {
            if (!reader.Vector(facing)) return false;
            hasFacing = true;
        } else if (word == "damage") {
            if (!reader.Float(damage)) return false;
            hasDamage = true;
        } else {
            const long index = BoneIndex(word);
            if (index == -1) return true;
            Vector3 rotation;
            int flags = 0;
            if (!reader.Vector(rotation) || !reader.Int(flags)) return false;
            anyBone = true;
            lastBone = index;
            if (index >= 0 && index < nbones) {
                rot[index] = rotation;
                boneFlags[index] = flags;
            } else {
                debug << reader.name() << ':' << reader.line() << ": bone " << index
                      << " is not in a skeleton of " << nbones << " bones; dropped" << std::endl;
            }
        }
    }
}

std::istream& operator>>(std::istream& in, KeyFrame& key) {
    WordReader reader(in, "keyframe");
    if (!key.Read(reader)) {
        debug << reader.problem() << std::endl;
        in.setstate(std::ios::failbit);
    }
    return in;
}

std::ostream& operator<<(std::ostream& out, const KeyFrame& key) {
    debug << "Saving keyframe" << std::endl;
    out << key.time << '\n';
    if (key.hasPos) {
        out << "pos\t" << Truncated(key.pos.x) << '\t' << key.pos.y << '\t'
            << Truncated(key.pos.z) << "\t\n";
    }
    if (key.hasVel) out << "vel\t" << key.vel << '\n';
    if (key.hasFacing) out << "facing\t" << key.facing << '\n';
    if (key.hasDamage) out << "damage\t" << key.damage << '\n';
    for (int b = 0; b < key.nbones; ++b) {
        out << b << '\t' << key.rot[b] << '\t' << key.boneFlags[b] << '\t';
        if (key.bposSet[b]) out << "bpos\t" << key.bpos[b];
        out << '\n';
    }
    return out << -1 << '\n';
}
