#pragma once

#include <string>

#include "math/DArray.h"
#include "math/PtrInterface.h"
#include "math/Vector3.h"

class Texture;

// How a surface is lit, blended and textured, read from a ".mat" file: four
// colours, an alpha with a blend rule, one texture or an animated sequence,
// an optional water reflection image and the rule by which meshes get their
// texture coordinates. Textures are shared with every other material through
// the display's texture list, by path.
class Material : public PtrInterface<Material> {
public:
    // Reads the file and loads its images; a missing file ends the program.
    explicit Material(const std::string& fileName);
    Material();  // untextured; the creator sets the colours

    void current(bool on);               // ordinary drawing; nothing when off
    void currentBumpMode(int mode);      // 0 untextured, 1 positive height, 2 negative height added
    void currentWaterMode(int mode);     // 1 reflection, 2 surface, 3 dark overlay
    void currentShadowMode(int mode);    // 1 ambient pass, 2 additive light pass; others ignored
    void background(bool on) const;      // clear colour = (diffuse, 0)

    Vector3 diffuse;
    float alpha = 1.0f;                  // sent as the diffuse colour's fourth component
    Vector3 ambient;
    Vector3 specular;                    // read, never sent
    Vector3 emission;
    float shininess = 0;                 // read, never sent
    int blendType = 0;                   // 0 NONE, 1 ONE, 2 SRCALPHA, 3 SRCCOLOR
    std::string mapType;                 // "CYL", "PLANARX", "PLANARY", "PLANARZ", "CLOTH", "NONE"
    DArray<Texture*> frames;             // owned by the display's texture list
    std::string fileName;                // materials are recognised by it
    bool bump = false;
    bool water = false;                  // WATER prefix and the reflection image exists
    Texture* reflectionTexture = nullptr;
    float scaleU = 1.0f;
    float scaleV = 1.0f;
    float offsetU = 0;
    float offsetV = 0;
    bool clampR = false;                 // GL_CLAMP, not GL_REPEAT, on WRAP_R; true for a file
    bool clampS = false;                 // the same on GL_TEXTURE_WRAP_S
    bool seamSplit = false;              // clampR as read: split the seam of a "CYL" mapping
    bool colorKeyed = false;
    bool mipmap = false;
    int currentFrame = 0;                // index into frames of the frame shown now
    int frameCount = 0;                  // image names listed, loaded or not
    bool textured = false;
    int lastFrameTime = 0;               // game time of the last frame change, ms

private:
    void Bind(unsigned int texture);     // enable, modulate, bind, filters and wrapping
    void EndCurrent();                   // animate, then become the display's current material
    Texture* Frame();                    // the frame shown now, or null without one
};
