#pragma once

#include "character/Object.h"

// One link of a row of cloth: from one vertex of the row to the next. Every
// link of a row works in the rest frame of the bone the cloth hangs from, so
// the bone's current transform is passed down the row as `world`. A rigid
// link keeps its place on the bone; any other trails loosely but never
// passes behind the surface it lies on.
class ClothPony : public Object {
public:
    ClothPony(Object* parent, const Vector3& joint, const Vector3& end, bool isRoot, bool single,
              float flex);

    using Object::Update;
    void Update() override;  // one step; the cloth writes `normal` first

    Vector3 linkLocal;    // end - joint in the bone's rest frame
    Vector3 end;          // rest end point
    float length = 0;     // from the joint to the end
    bool rigid = false;   // the flexibility given was exactly 0
    float flex = 0;       // becomes 0.1 at the first step of a link that is not rigid
    bool isRoot = false;  // first link of its row
    bool single = false;  // the row has a single vertex
    Vector3 normal;       // current normal of the link's vertex
};
