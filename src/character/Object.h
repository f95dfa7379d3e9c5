#pragma once

#include <memory>

#include "math/Matrix.h"
#include "math/Ptr.h"
#include "math/PtrInterface.h"
#include "math/Vector3.h"

class Material;
class Mesh;
class ViewVolume;

// A node of the scene graph and the base of everything drawn. It has a rest
// pose (where it stands in the modelling pose), an animated rotation and
// translation relative to that pose, a parent whose motion it follows, three
// meshes (drawn, shadow, collision) stored in rest-pose world coordinates, and
// a material. `world` carries its meshes from the rest pose to where the node
// stands now. Parents must be updated before their children.
class Object : public PtrInterface<Object> {
public:
    Object();  // identity pose, no meshes; derived classes set themselves up
    Object(Object* parent, const Vector3& restPos, const Vector3& restX, const Vector3& restY,
           const Vector3& restZ, const Vector3& size, Mesh* mesh, Mesh* shadowMesh,
           Mesh* collisionMesh, Material* material);
    ~Object() override;  // the collision ellipsoid it made itself

    virtual void SetRotation(const Vector3& x, const Vector3& y, const Vector3& z);  // axes
    virtual void SetRotation(const Vector3& angles);  // CreateRotateXZY
    virtual void SetPosition(const Vector3& p);
    // Binds the meshes to the rest pose and maps the material onto them.
    virtual void SetMesh(Mesh* mesh, Mesh* shadowMesh, Mesh* collisionMesh, Material* material);
    virtual void Update(const Matrix& m);  // Update(), then world = m * world
    virtual void Update();                 // world and worldPos from the parent chain

    virtual void Draw();              // the mesh chosen by options->detail with its material
    virtual void DrawBumpMapped();    // emboss bump mapping against light 0
    virtual void DrawShadow();        // planar shadow with ShadMtx[shadowctr]
    virtual void DrawAlpha();         // translucent parts; nothing here
    virtual void DrawAmbient();       // stencil path: ambient light only
    virtual void DrawShadowVolume();  // stencil path: extruded edges into the stencil
    virtual void DrawNonAmbient();    // stencil path: lit where the stencil is clear
    // True when the segment this node swept since the last update enters the
    // other's collision ellipsoid; `contact` then holds the point, in the
    // other's node frame.
    virtual bool Collision(Object* other);
    virtual void DrawMesh();          // the mesh chosen by detail, no material

    void Unwrap() {}  // a hook SetMesh calls last; nothing to do for plain nodes

    // Puts a sphere around the meshes as they stand now, in the frame `world`
    // takes to the scene, for objects whose meshes keep their shape.
    void Bound();
    // False when the object has a sphere and it lies wholly outside the view.
    bool InView(const ViewVolume& view) const;

    Ptr<Object> parent;            // null for a root
    Mesh* mesh = nullptr;          // drawn normally; not owned
    Mesh* shadowMesh = nullptr;    // drawn by the shadow passes; not owned
    Mesh* collisionMesh = nullptr; // drawn when collision shapes are shown; not owned,
                                   // unless SetMesh made it (madeCollisionMesh)
    Vector3 restPos;               // the joint, rest-pose world coordinates
    Vector3 localOrigin;           // restPos in the node's own frame
    Vector3 restX, restY, restZ;   // rest axes in world coordinates; restY along the limb
    Vector3 size;                  // y: length along restY; x, z: half-widths across
    bool rotates = false;          // the animated rotation takes part in Update
    bool translates = false;       // the animated translation takes part in Update
    Material* material = nullptr;  // shared through the display's registry
    bool dirty = false;            // pose changed since the last Update
    Vector3 position;              // animated translation
    Vector3 axisX, axisY, axisZ;   // the axes last given to SetRotation(x, y, z)
    Vector3 prevTip;               // tip of the previous update
    Vector3 tip;                   // far end of the segment now (bones)
    Vector3 prevPos;               // worldPos of the previous update
    Vector3 worldPos;              // where the node is now
    Matrix restInverse;            // inverse of rest
    Matrix translation;            // CreateTranslate(position)
    Matrix rotation;               // the animated rotation
    Matrix world;                  // rest-pose world to current world
    Matrix rest;                   // node-local to rest-pose world
    Matrix local;                  // rest relative to the parent's rest frame
    Vector3 contact;               // where the last Collision touched, other's node frame
    Vector3 localZ;                // restZ in the node's rest frame (read by hair)
    Vector3 boundCentre;           // the sphere of Bound, in the frame of the meshes
    float boundRadius = -1;        // negative until Bound: never left out
    std::unique_ptr<Mesh> madeCollisionMesh;  // the ellipsoid SetMesh made when given none
};
