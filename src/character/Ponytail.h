#pragma once

#include "character/Object.h"
#include "math/DArray.h"

class PonyBone;

// Hair as one mesh deformed by a chain of invisible segments. The mesh's
// vertices are dealt out to the segments in order; `restMesh` keeps each one
// in the frame of its segment, and every update places them anew in world
// coordinates, so `world` stays the identity.
class Ponytail : public Object {
public:
    // Segment i hangs from the one before (the first from `parent`), runs from
    // joints[i] to ends[i] and takes the next counts[i] vertices; counts
    // beyond the vertices the meshes have are cut to what is left.
    Ponytail(Object* parent, int n, Mesh* mesh, Mesh* restMesh, Material* material,
             const int* counts, const Vector3* joints, const Vector3* ends, const Vector3* hints,
             const float* flex);
    ~Ponytail() override;

    using Object::Update;
    void Update() override;  // step the segments, then move their vertices
    void Draw() override;    // the deformed mesh with the material

    DArray<PonyBone*> bones;   // the segments from the root; freed with the tail
    int nsegments = 0;
    Mesh* restMesh = nullptr;  // each vertex in the frame of its segment; not owned

private:
    // Takes a new segment's vertices into its frame and lays band `index` of
    // the texture over them.
    void BindVertices(const PonyBone& bone, int index);
};
