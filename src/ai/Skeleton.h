#pragma once

#include <vector>

#include "math/Matrix.h"
#include "math/Vector3.h"

class KeyFrame;
class Person;

// A fighter's parts posed from one keyframe, on their own, the way the match
// poses the fighter, without touching the fighter: where each part's joint and
// tip stand and how far its collision ellipsoid reaches. The body is placed
// as the key places it in its move's own frame, where the fighter faces -z.
// Parts that move by themselves (a head tracking its target, hair, cloth)
// keep their rest pose relative to their parent.
class Skeleton {
public:
    explicit Skeleton(const Person& person);

    void Pose(const KeyFrame& key) { Pose(key, key, 1); }
    // The way from `from` to `to`, a fraction f of it: body and angles taken
    // straight from one key toward the other.
    void Pose(const KeyFrame& from, const KeyFrame& to, float f);

    int Parts() const { return static_cast<int>(parts.size()); }
    Vector3 Joint(int part) const;
    Vector3 Tip(int part) const;  // the far end of the segment that strikes
    // How far the part's collision ellipsoid reaches along the unit direction u,
    // measured from the origin along u.
    float Extent(int part, const Vector3& u) const;
    // The part's collision ellipsoid: its centre, and its three semi-axes as
    // vectors (a point of it is the centre plus s.x, s.y, s.z of them with |s| <= 1).
    void Ellipsoid(int part, Vector3& centre, Vector3 axes[3]) const;

private:
    struct Part {
        int parent;          // index of the parent part; -1: the body's root
        Matrix local;        // rest relative to the parent's rest frame
        Matrix rest;         // node-local to rest-pose world
        Matrix restInverse;
        Vector3 tipOffset;   // the segment in the part's own frame; zero when none
        Vector3 radii;       // of the collision ellipsoid, in the part's frame
        bool turns;          // the keyframe's rotation turns it
    };
    std::vector<Part> parts;
    std::vector<Matrix> placed;  // world * rest of each part, after Pose
};
