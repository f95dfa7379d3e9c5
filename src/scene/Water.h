#pragma once

#include <string>
#include <vector>

#include "scene/Static.h"

class WordReader;

// A water surface: its mesh moves in waves every update, and it is drawn in
// two layers, the sky mirrored in it and its own translucent texture seen
// through to a bottom below. Both layers take their texture coordinates from
// rays followed from the camera through each vertex.
class Water : public Static {
public:
    // The surface's height, give or take its waves, below the water's own place.
    static constexpr float LEVEL = -28;

    // Reads the record after the type and reflect words; dir is the scene directory with its "/".
    Water(WordReader& in, const std::string& dir);

    using Static::Update;
    void Update() override;          // waves, normals, both coordinate sets, alpha
    void Draw() override;            // planar-shadow frame: reflection, then surface
    void DrawAmbient() override;     // stencil frame: as Draw, surface a little clearer
    void DrawNonAmbient() override;  // stencil frame: darkens the water lying in shadow

    // One entry per vertex of mesh, made by the first Update.
    std::vector<float> reflectU, reflectV;  // where the reflected ray meets the sky
    std::vector<float> refractU, refractV;  // where the bent ray meets the bottom

private:
    void DrawLayers(bool ambientPass);
    // Puts one coordinate set into the mesh; false before the first Update.
    bool UseCoords(const std::vector<float>& u, const std::vector<float>& v);
};
