#pragma once

#include <string>

#include "character/Object.h"

class WordReader;

// Fixed scenery: a mesh with its material, placed once where its scene.sdf
// record puts it. It owns the two meshes it reads.
class Static : public Object {
public:
    // Reads the record after the type and reflect words; dir is the scene directory with its "/".
    Static(WordReader& in, const std::string& dir);
    ~Static() override;
    Static(const Static&) = delete;
    Static& operator=(const Static&) = delete;

    using Object::Update;
    void Update() override;  // nothing: the world matrix stays as built
};
