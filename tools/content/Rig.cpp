#include "content/Rig.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace content {

Turn Turn::FromAngles(const Vector3& a) {
    const float cx = std::cos(a.x), sx = std::sin(a.x);
    const float cy = std::cos(a.y), sy = std::sin(a.y);
    const float cz = std::cos(a.z), sz = std::sin(a.z);
    const Turn rx{{1, 0, 0}, {0, cx, sx}, {0, -sx, cx}};
    const Turn ry{{cy, 0, -sy}, {0, 1, 0}, {sy, 0, cy}};
    const Turn rz{{cz, sz, 0}, {-sz, cz, 0}, {0, 0, 1}};
    return rx * (rz * ry);
}

int Rig::Add(const std::string& type, const std::string& mesh, const std::string& material,
             int parent, const Vector3& joint, const Vector3& end, const Vector3& hint,
             const Vector3& extent) {
    Part part;
    part.type = type;
    part.mesh = mesh;
    part.material = material;
    part.parent = parent;
    part.joint = joint;
    part.end = end;
    part.hint = hint;
    part.extent = extent;
    part.length = (end - joint).Length();
    // The engine's rule: y along the part, x = y x hint, z = x x y.
    part.rest.y = (end - joint).Normalized();
    part.rest.x = part.rest.y.Cross(hint).Normalized();
    part.rest.z = part.rest.x.Cross(part.rest.y).Normalized();
    parts.push_back(part);
    return static_cast<int>(parts.size()) - 1;
}

void Rig::AddCloth(const ClothPart& cloth) { cloths.push_back(cloth); }

bool Rig::WriteDefinition(const std::string& path) const {
    std::ofstream out(path);
    if (!out) return false;
    auto vec = [&](const Vector3& v) { out << "  " << v.x << ' ' << v.y << ' ' << v.z; };
    out << Bones() << " meshes\n";
    for (size_t i = 0; i < parts.size(); ++i) {
        const Part& p = parts[i];
        out << i << ' ' << p.type << ' ' << p.mesh << ' ' << p.material << "  0 " << p.parent;
        vec(p.joint);
        vec(p.end);
        vec(p.hint);
        vec(p.extent);
        out << '\n';
    }
    for (size_t i = 0; i < cloths.size(); ++i) {
        const ClothPart& c = cloths[i];
        out << parts.size() + i << " CLOTH " << c.mesh << ' ' << c.material << "  " << c.parent
            << ' ' << c.rows.size();
        for (size_t r = 0; r < c.rows.size(); ++r) {
            out << "\n  " << c.rows[r];
            for (float f : c.flex[r]) out << ' ' << f;
        }
        out << '\n';
    }
    return static_cast<bool>(out);
}

Placed Pose::Place(int index) const {
    const Part& part = rig->parts[index];
    Placed parent;
    Vector3 parentRestJoint;
    if (part.parent < 0) {
        // The fighter's root: moved to `pos`, not turned (the facing is the game's).
        parent.joint = pos;
        parentRestJoint = Vector3();
    } else {
        parent = Place(part.parent);
        parentRestJoint = rig->parts[part.parent].joint;
    }
    const Turn local = part.Animated() ? Turn::FromAngles(angles[index]) : Turn();
    Placed placed;
    placed.turn = parent.turn * (part.rest * (local * part.rest.Transposed()));
    placed.joint = parent.joint + parent.turn * (part.joint - parentRestJoint);
    placed.tip = placed.joint + placed.turn * (part.end - part.joint);
    return placed;
}

void Pose::Aim(int index, const Vector3& direction) {
    const Part& part = rig->parts[index];
    Turn parentTurn;
    if (part.parent >= 0) parentTurn = Place(part.parent).turn;
    // The direction in the part's own frame as it stands with no turn of its own.
    const Vector3 d = ((parentTurn * part.rest).Transposed() * direction).Normalized();
    // Turning y by z then x: (-sin z, cos z cos x, cos z sin x).
    angles[index] = Vector3(std::atan2(d.z, d.y), 0, -std::asin(std::clamp(d.x, -1.0f, 1.0f)));
}

}  // namespace content
