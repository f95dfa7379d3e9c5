#pragma once

#include "character/Object.h"
#include "math/DArray.h"

class ClothPony;

// A sheet hanging from a bone: its mesh's vertices are laid out row by row,
// row r holding counts[r] of them in order along the row, and each row is a
// chain of links (ClothPony) from one vertex to the next. The mesh is made
// double-sided, the second half of its vertices twinning the first, and is
// moved in world coordinates, so `world` stays the identity.
class Cloth : public Object {
public:
    // flex[r][j] is the flexibility of link j of row r; maxCount is the
    // longest row. Rows claiming more vertices than the mesh has left are
    // cut to what is there.
    Cloth(Object* parent, int rows, const int* counts, const float* const* flex, Mesh* mesh,
          Material* material, int maxCount);
    ~Cloth() override;

    using Object::Update;
    void Update() override;  // step the links and move the vertices; nothing while frozen
    void Draw() override;    // the cloth with its material

    DArray<ClothPony*> links;  // all links, row by row; freed with the cloth

private:
    void MakeDoubleSided();  // twin every vertex and every triangle, the twins wound backwards
    void Place(int vertex, const Vector3& p);  // the vertex and its twin go to p
};
