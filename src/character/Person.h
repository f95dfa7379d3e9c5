#pragma once

#include <memory>
#include <string>
#include <vector>

#include "character/Object.h"
#include "math/DArray.h"
#include "math/Ptr.h"

class Head;
class Material;
class Sequencer;

// One fighter: the root of a jointed body whose parts are listed in the
// character's body definition, "characters/<name>/low.bdf". The sequencer
// poses the root and every bone each frame; Update then recomputes the world
// matrices, parents first, and the draw passes forward to the parts.
class Person : public Object {
public:
    Person(const std::string& name, int unused);  // reads tracerlist.txt and low.bdf
    ~Person() override;  // its trail materials leave the display's list with it

    using Object::Update;
    void Update() override;            // itself, then every part in file order, then the trails
    void Draw() override;              // timed as "Person: "
    void DrawShadow() override;
    void DrawAlpha() override;         // the weapon trails
    void DrawAmbient() override;
    void DrawShadowVolume() override;
    void DrawNonAmbient() override;

    void LoadTracers();  // tracerlist.txt; without it the trails have no material
    void LoadDef();      // the body definition; nothing happens when it is missing
    void Reset();    // back to the rest pose at the origin

    std::string name;                       // directory name under "characters/"
    std::string defFile;                    // "characters/<name>/low.bdf"
    int nbones = 0;                         // entries of the body definition
    DArray<Ptr<Object>> bones;              // every part in file order
    DArray<Ptr<Material>> tracerMaterials;  // from tracerlist.txt; [0] draws the trails
    DArray<Ptr<Object>> tracers;            // one trail per jointed bone, same order
    Head* head = nullptr;                   // the last HEAD entry
    Sequencer* sequencer = nullptr;         // set by the sequencer that drives this fighter
    DArray<std::string> names;              // the type word of every entry
    int ncollide = 0;                       // entries that can strike and be struck
    DArray<int> weapons;                    // entry indices of the WEAPON bones

private:
    Mesh* Own(Mesh* mesh);  // a part's mesh, freed with the fighter

    std::vector<std::unique_ptr<Mesh>> bodyMeshes;  // the meshes of every part
    int bodyReferences = 0;  // the references the parts hold on the fighter
};
