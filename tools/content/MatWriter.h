#pragma once

// Material files (.mat), always written in the long form with an
// alpha clause, so every field is explicit:
//   [WATER|BUMP] image [reflection] su sv ou ov map clampR clampS
//   ambi r g b diff r g b emis r g b spec r g b shin s alpha a type BLEND

#include <fstream>
#include <string>

#include "math/Vector3.h"

namespace content {

struct MatSpec {
    std::string image = "-";  // under images/, a ".bml" list there, or "-" for none
    std::string reflection;   // not empty: a WATER material with this reflection image
    bool bump = false;        // BUMP: the image is a greyscale height map
    float scaleU = 1, scaleV = 1, offsetU = 0, offsetV = 0;
    // "CYL" (about the mesh's y axis), "PLANARX", "PLANARY", "PLANARZ", or
    // "NONE" to keep a built-in shape's own coordinates (quads, discs).
    std::string map = "CYL";
    bool clampR = true;   // with CYL and scaleU > 1: split the seam
    bool clampS = false;  // clamp u; leave false for repeating textures
    Vector3 ambient{0.5f, 0.5f, 0.5f};
    Vector3 diffuse{0.8f, 0.8f, 0.8f};
    Vector3 emission{0, 0, 0};
    Vector3 specular{0, 0, 0};
    float shininess = 0;
    float alpha = 1;
    std::string blend = "NONE";  // NONE, ONE (additive), SRCALPHA, SRCCOLOR
};

inline bool WriteMaterial(const std::string& path, const MatSpec& m) {
    std::ofstream out(path);
    if (!out) return false;
    auto colour = [&out](const char* label, const Vector3& c) {
        out << label << ' ' << c.x << ' ' << c.y << ' ' << c.z << '\n';
    };
    if (!m.reflection.empty()) out << "WATER " << m.image << ' ' << m.reflection << '\n';
    else if (m.bump) out << "BUMP " << m.image << '\n';
    else out << m.image << '\n';
    out << m.scaleU << ' ' << m.scaleV << ' ' << m.offsetU << ' ' << m.offsetV << ' ' << m.map
        << ' ' << (m.clampR ? "true" : "false") << ' ' << (m.clampS ? "true" : "false") << '\n';
    colour("ambi", m.ambient);
    colour("diff", m.diffuse);
    colour("emis", m.emission);
    colour("spec", m.specular);
    out << "shin " << m.shininess << '\n';
    out << "alpha " << m.alpha << " type " << m.blend << '\n';
    return static_cast<bool>(out);
}

}  // namespace content
