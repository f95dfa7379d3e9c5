#pragma once

#include <string>

#include "character/Object.h"

class WordReader;

// The fighting floor. It sinks a little while the scene draws planar
// shadows, so that the shadows lying on the floor plane stay visible above
// it; it casts no shadow of its own. It owns the two meshes it reads.
class Arena : public Object {
public:
    // Reads the record after the type and reflect words; dir is the scene directory with its "/".
    Arena(WordReader& in, const std::string& dir);
    ~Arena() override;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    using Object::Update;
    void Update() override;      // at its position when raised, 1.5 lower otherwise
    void Draw() override;        // mesh with its material, whatever the detail option
    void DrawShadow() override;  // nothing

    bool raised = true;  // the scene's stencilShadows, copied in before every update
};
