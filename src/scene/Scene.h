#pragma once

#include <string>

#include "character/Object.h"
#include "math/DArray.h"
#include "math/Vector3.h"

class Arena;
class Light;
class Material;
class Water;
class WordReader;

// The arena a match takes place in, loaded from "scenes/<name>/": the lights
// of lights.txt, handed to the display, and the scenery of scene.sdf, kept in
// one list per drawing pass. The scene itself is never drawn as an object;
// each pass is forwarded to the list it concerns.
class Scene : public Object {
public:
    // An arena whose files do not give its size is fought on one of this size,
    // with falls ending this far below the floor (and is not playable).
    static constexpr float DEFAULT_ARENA_SIZE = 400;
    static constexpr float DEFAULT_ARENA_REST = -300;

    // Loads lights.txt and then scene.sdf; a missing lights.txt leaves the scene empty.
    explicit Scene(const std::string& name);
    ~Scene() override;  // deletes the scenery, the background material and the lights
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    using Object::Update;
    void Update() override;            // the arena follows stencilShadows; every list updates
    void Draw() override;              // the solids
    void DrawAmbient() override;       // the solids, ambient pass
    void DrawNonAmbient() override;    // the solids, lit pass
    void DrawShadowVolume() override;  // the solids' shadow volumes
    void DrawShadow() override;        // the solids' planar shadows
    void DrawAlpha() override;         // the transparents, without depth writes
    void DrawReflection();             // the mirrored solids
    void DrawReflectionAlpha();        // the mirrored transparents, without depth writes
    // Makes this the arena drawn: its lights in the display's registry, its
    // ambient light, fog and background colour, the shadow matrices. A scene
    // is active from its loading until another one is.
    void Activate();

    DArray<Object*> solids;                 // opaque scenery, the water and the arena
    DArray<Object*> transparents;           // flats, fires and suns
    DArray<Object*> reflectedSolids;        // the statics seen mirrored in the water
    DArray<Object*> reflectedTransparents;  // the flats, fires and suns seen mirrored
    Material* background = nullptr;         // its diffuse colour is the clear colour
    Water* water = nullptr;                 // also in solids
    float arenaParam = 0;  // where a fighter who falls off the floor comes to rest
    float arenaSize = 0;   // side of the square floor
    // False when lights.txt or scene.sdf is missing or does not give the
    // arena's size: the problem is on standard error and the defaults are used.
    bool playable = true;
    Vector3 ambient;       // global ambient colour
    Arena* arena = nullptr;       // also in solids
    bool stencilShadows = true;   // stencil shadow passes, or planar shadows when false
    DArray<Light*> ownLights;     // this scene's lights, in the order of lights.txt
    bool fog = false;             // scene.sdf begins with FOG
    float fogStart = 0, fogEnd = 0;
    Vector3 fogColour;

private:
    // GL state that holds for the whole match: set when the scene loads,
    // and again in Update when the display has had a new GL context.
    void ApplyAmbient() const;
    void ApplyFog() const;
    int contextGeneration = 0;  // the display's when that state was last set
    void Release();                            // the scenery, the background and the lights
    void ReleaseLights();                      // unlisted from the display, then freed
    void Unplayable(const std::string& problem);  // reported; the defaults will be used
    bool LoadLights(const std::string& path);  // false when the scene is to stay empty
    void LoadScenery(const std::string& dir);
    // Builds the object of one type word; false for an unknown type.
    bool AddObject(const std::string& type, bool reflected, WordReader& reader,
                   const std::string& dir);
};
