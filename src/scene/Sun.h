#pragma once

#include <string>
#include <vector>

#include "character/Object.h"
#include "math/DArray.h"

class Camera;
class Material;
class WordReader;

// One quad of the lens flare, as lensflare.txt lists it.
struct flaredata {
    int material = 0;    // index into the sun's flareMaterials
    float halfSize = 0;  // half the side of the quad, in pixels
    float linePos = 0;   // on the flare line: -1 the sun, 0 the screen centre, 1 the sun mirrored
};

// Where one flare quad is drawn, in a window frame whose y grows upward.
struct FlareQuad {
    float x = 0, y = 0;   // centre, pixels
    float halfSize = 0;
    float strength = 0;   // the material's emission is multiplied by it
    int material = 0;     // index into flareMaterials
};

// The sky's sun: a mesh turned to face the camera, and a lens flare of
// screen-space quads strung along the line from the sun through the centre
// of the screen, fading out as the sun leaves the screen.
class Sun : public Object {
public:
    // Reads the scenery record after the type and reflect words, then dir + "lensflare.txt".
    Sun(WordReader& in, const std::string& dir);
    ~Sun() override;  // its meshes and flare materials
    Sun(const Sun&) = delete;
    Sun& operator=(const Sun&) = delete;

    using Object::Update;
    void Update() override;  // faces the current camera
    void Draw() override;    // the mesh, then the flare while the sun is before the camera

    // True when the sun lies on the side of the camera it looks towards.
    bool InFrontOf(const Camera& camera) const;
    // The flare for a sun at screen point (x, y) (pixels, y down) of a width ×
    // height window; empty when the sun is more than 400 pixels off the screen.
    std::vector<FlareQuad> Flare(float x, float y, int width, int height) const;

    DArray<Material*> flareMaterials;  // in file order
    DArray<flaredata> flares;          // in drawing order
    int numFlareMaterials = 0;         // flare materials read
    int numFlares = 0;                 // flares read

private:
    void LoadFlare(const std::string& dir);
    void Release();  // the meshes and the flare materials
};
