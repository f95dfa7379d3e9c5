#pragma once

#include <memory>

#include "math/Camera.h"

class DirectionalLight;
class Material;
class String3D;

// The fixed view that captions and menus are drawn in: a camera looking
// at the layout space around (320, 240, 0), x to the right and y up, where
// the window shows about 815 by 680 units whatever its size; a white light
// from the upper left; and the materials of captions, menu entries and the
// highlighted entry.
class CaptionView {
public:
    static constexpr float CENTRE_X = 320;
    static constexpr float CENTRE_Y = 240;
    static constexpr float TOP = 575;     // a little below the window's top edge
    static constexpr float BOTTOM = -95;  // a little above its bottom edge

    static Camera MakeCamera();  // the camera alone, for layouts without materials

    CaptionView();  // loads the three materials: a missing one ends the program
    ~CaptionView();
    CaptionView(const CaptionView&) = delete;
    CaptionView& operator=(const CaptionView&) = delete;

    // Draws over whatever is on screen: depth cleared and tested, the
    // caption light alone as GL light 0, no fog, the camera. End gives back
    // what was enabled before; the display binds its own light 0 again at
    // the next frame's start.
    void Begin();
    void End();

    // The text placed with its first letter's lower left corner at (x, y)
    // and drawn in `material` (none: the one current).
    static void Draw(String3D& text, float x, float y, Material* material = nullptr);
    // The same, centred on x.
    static void DrawCentred(String3D& text, float x, float y, Material* material = nullptr);

    Camera camera;
    const std::unique_ptr<DirectionalLight> light;
    Material* captionMaterial = nullptr;    // captions: "materials/strmat.mat"
    Material* normalMaterial = nullptr;     // menu entries: "materials/menutext1.mat"
    Material* highlightMaterial = nullptr;  // the selected entry: "materials/menutext2.mat"
};
