#pragma once

#include <string>

#include "render/Mesh.h"

// The first mesh of a 3D Studio ASCII export ("3D ASCII file"). The file's Z
// axis is negated into the game's frame; normals come from the triangles and
// texture coordinates later from a material. A missing, empty or malformed
// file leaves the mesh empty, with a trace line saying why.
class Mesh3DS : public Mesh {
public:
    Mesh3DS(const std::string& fileName, bool flip);  // flip is handed to RecalcNormals
};
