#pragma once

// A fighter's skeleton as the body definition lists it, and the posing maths
// that the animations are written with: forward kinematics that follows the
// engine's bones exactly, and aiming a part along a direction.
//
// Everything is in the fighter's own frame: y up, the fighter faces -z, its
// right hand on -x (the game draws a left-handed frame). A part's local
// rotation is a turn about its own rest axes (x = y-axis x hint, y along the
// part, z = x x y), applied as standard right-handed turns about y, then z,
// then x: exactly the angles a keyframe stores, since the game hands each bone
// the negated angles and its matrices turn the other way.

#include <string>
#include <vector>

#include "math/Vector3.h"

namespace content {

const float PI = 3.14159265f;
inline float Rad(float degrees) { return degrees * PI / 180.0f; }

// A rotation as the images of the three axes (its columns).
struct Turn {
    Vector3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};

    Vector3 operator*(const Vector3& v) const { return x * v.x + y * v.y + z * v.z; }
    Turn operator*(const Turn& b) const { return {*this * b.x, *this * b.y, *this * b.z}; }
    Turn Transposed() const { return {{x.x, y.x, z.x}, {x.y, y.y, z.y}, {x.z, y.z, z.z}}; }
    // The turn a keyframe's angles stand for: about y, then z, then x.
    static Turn FromAngles(const Vector3& a);
};

// One entry of the body definition that has a joint (everything but cloth).
struct Part {
    std::string type;      // the type word: "HEAD", "LOCK", "WEAPON", "PONYR", "PONY" or a name
    std::string mesh;      // mesh file, under meshes/ and (coarse) under 3/
    std::string material;  // material file, under materials/
    int parent = -1;       // -1 hangs from the fighter itself
    Vector3 joint, end, hint, extent;
    Turn rest;  // rest axes, derived from joint, end and hint as the engine does
    float length = 0;

    // Parts the animation does not turn: they keep whatever the key says.
    bool Animated() const {
        return type != "LOCK" && type != "HEAD" && type != "PONYR" && type != "PONY";
    }
};

// A cloth entry: rows of points hanging from a part, each row a chain.
struct ClothPart {
    std::string mesh, material;
    int parent = -1;
    std::vector<int> rows;                 // points per row
    std::vector<std::vector<float>> flex;  // per row, one value per link (0 = rigid)
};

class Rig {
public:
    // Adds a jointed part and returns its index.
    int Add(const std::string& type, const std::string& mesh, const std::string& material,
            int parent, const Vector3& joint, const Vector3& end, const Vector3& hint,
            const Vector3& extent);
    void AddCloth(const ClothPart& cloth);
    int Bones() const {
        return static_cast<int>(parts.size() + cloths.size());
    }  // entries a key lists
    // Writes low.bdf: the jointed parts first, then the cloth.
    bool WriteDefinition(const std::string& path) const;

    std::vector<Part> parts;
    std::vector<ClothPart> cloths;
};

// Where a part stands in a pose.
struct Placed {
    Turn turn;      // rest frame of the fighter to now
    Vector3 joint;  // the joint now
    Vector3 tip;    // the far end now
    // A rest-pose point of this part, carried to where the part is now.
    Vector3 Carry(const Vector3& restPoint, const Part& part) const {
        return joint + turn * (restPoint - part.joint);
    }
};

// A pose: the root position (the key's "pos") and every part's local angles.
struct Pose {
    explicit Pose(const Rig& rig) : rig(&rig), angles(rig.Bones()) {}

    Placed Place(int part) const;  // forward kinematics up the chain of parents
    // Sets a part's angles so that it points along `direction` (its twist stays 0).
    void Aim(int part, const Vector3& direction);
    // Sets a part's angles to follow its parent exactly: straight on, in its rest relation.
    void Relax(int part) { angles[part] = Vector3(); }

    const Rig* rig;
    Vector3 pos;                  // the root, relative to where the move is placed
    std::vector<Vector3> angles;  // radians, as the keyframe stores them
};

}  // namespace content
