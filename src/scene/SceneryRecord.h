#pragma once

#include <string>

#include "math/Vector3.h"

class Material;
class Mesh;
class Object;
class WordReader;

// What every scenery entry of scene.sdf carries after its type and reflect
// words: a mesh file, a flip value (-1 turns the mesh inside out), a material
// file and a position. The mesh is read twice, once to draw and once for the
// shadows, because an object's meshes are transformed in place.
struct SceneryRecord {
    // Reads the four items; a record cut short is traced and keeps what it read.
    SceneryRecord(WordReader& in, const std::string& dir);
    // SetMesh, SetPosition, and world = translation: the object stands where it was put.
    void Apply(Object& object) const;

    Mesh* mesh = nullptr;        // null when the record names no mesh
    Mesh* shadowMesh = nullptr;
    Material* material = nullptr;  // null when the record names no material
    Vector3 position;
};
