#pragma once

#include <string>

#include "character/Object.h"

class Material;
class WordReader;

// A billboard: geometry in the x-y plane that is turned every update to face
// the current camera. Scene fires and the hit effects are flats. It owns the
// two meshes it builds.
class Flat : public Object {
public:
    // Reads the record after the type and reflect words; dir is the scene directory with its "/".
    Flat(WordReader& in, const std::string& dir);
    // A size × size square facing +z, centred on pos, with the given material.
    Flat(const Vector3& pos, float size, Material* material);
    ~Flat() override;
    Flat(const Flat&) = delete;
    Flat& operator=(const Flat&) = delete;

    using Object::Update;
    void Update() override;  // world = translation × the camera's flat rotation
};
