#pragma once

#include "character/Object.h"

// One invisible segment of a ponytail: it hangs from a bone (the root) or
// from the segment before, sags and trails like a pony segment, never bends
// more than 60° away from its parent, and carries a run of the tail's
// vertices, which the tail keeps in the segment's own frame.
class PonyBone : public Object {
public:
    PonyBone(Object* parent, const Vector3& joint, const Vector3& end, const Vector3& hint,
             float flex, int start, int count, bool isRoot);

    using Object::Update;
    void Update() override;  // one step; stands still while the clock is frozen

    int start = 0;        // first mesh vertex of the segment
    int count = 0;        // number of its vertices
    Vector3 end;          // rest end point
    float length = 0;     // from the joint to the end
    bool isRoot = false;  // hangs from a bone rather than from another segment
    float flex = 0;       // 0 follows the parent at once; towards 1 it trails its own way
    int settle = 0;       // steps left that ignore the previous direction
};
