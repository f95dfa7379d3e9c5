#pragma once

#include <vector>

#include "math/Matrix.h"
#include "math/PtrInterface.h"
#include "math/Vertex.h"

class Material;

// A triangle mesh drawn as one indexed GL_TRIANGLES batch per call.
// Shapes and the mesh file reader are subclasses that fill the arrays in
// their constructors; owners of deforming meshes (water, cloth) move
// vertices[i].pos themselves and call RecalcNormals(false).
class Mesh : public PtrInterface<Mesh> {
public:
    Mesh() = default;
    ~Mesh() override;

    void Draw(const Matrix& world);              // set the world matrix and send every triangle
    // Sends `indexCount` indices into `vertices` as triangles, in the world
    // matrix already loaded: one call for any number of meshes put together.
    static void DrawTriangles(const Vertex* vertices, const int* indices, int indexCount);
    void DrawShadowVolume(const Matrix& world);  // extrude light 0's silhouette into the stencil buffer

    void Allocate(int vertexCount, int faceCount);  // size both arrays and set the two counts
    void RecalcNormals(bool flip);   // smooth normals from the triangles; flip turns the mesh inside out
    void RecalcNormalsCyl();         // normals point straight away from the Y axis
    void SetIM(const Matrix& m);     // store m in im
    void Transform(const Matrix& m); // bake m into positions and normals
    void RescaleTexMap(float su, float sv, float ou, float ov);  // u = su·u + ou, v = sv·v + ov
    void RescaleTexMap(const Material* material);  // the same with the material's scale and offset
    void RemapCoords(Material* material);  // texture coordinates from the material's map type

    std::vector<Vertex> vertices;
    std::vector<int> faces;  // three vertex indices per triangle; the order is the winding
    int numVertices = 0;
    int numFaces = 0;
    Matrix im;               // stored for the owner, read by no mesh operation
    bool imIdentity = true;  // false once SetIM has stored a matrix
    // Per vertex: world position and its extrusion away from light 0, six
    // floats, rebuilt on every shadow call so each vertex is transformed once.
    std::vector<float> shadowCache;
    // The extruded edges of the last shadow call, four corners of three
    // floats per quad, sent once for each face of the volume.
    std::vector<float> shadowQuads;
    // Set by an owner whose vertices, normals and texture coordinates never
    // change once loaded: the triangles are then kept on the GL side in a
    // display list, made again in a new GL context.
    bool keepsShape = false;

private:
    void SendTriangles() const;
    // The display list of a mesh that keeps its shape, and the display's
    // context generation it was made in; the frame that first drew the mesh
    // without one, in the context `firstDrawnIn`. A copy makes a list of its own.
    struct List {
        List() = default;
        List(const List&) {}
        List& operator=(const List&) {
            id = 0;
            firstDrawnIn = -1;
            return *this;
        }
        unsigned int id = 0;
        int generation = -1;
        int firstDrawnIn = -1;
        int firstFrame = 0;
    } list;
    void BuildShadowQuads(const Matrix& world, const Vector3& light);
    void SplitCylinderSeam();  // repeat vertices left of the wrap-around of u
};
