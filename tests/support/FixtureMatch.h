#pragma once

#include <string>

#include "support/FixtureFighter.h"
#include "support/MeshText.h"

// A small but complete match written into the working directory: the files
// the game reads at start-up, the shared materials, two fixture fighters
// whose punch lunges 70 forward, and a plain stone floor lit by one sun.
namespace fixture {

// Stand, or lunge forward and strike with the arm, which trails.
const char* const MATCH_MOVES =
    "stand idle.kaf - 1 CEN -\n"
    "  p lunge.kaf hit.kaf 1 INT -\n"
    "    * @ 1\n"
    "  * @ 1\n";

const int VULNERABLE = 2;
const int STRIKE_WITH_TRAIL = 1 | 4;
const int LUNGE_DAMAGE = 20;

inline std::string Lunge() {
    const Vector3 rest;
    return Kaf({Key(0.05f).Pos(0, 0, 0).Bone(TORSO, rest, VULNERABLE),
                Key(0.12f).Pos(0, 0, -70).Bone(TORSO, rest, VULNERABLE)
                    .Bone(ARM, rest, STRIKE_WITH_TRAIL),
                Key(0.1f).Pos(0, 0, -70).Bone(TORSO, rest, VULNERABLE)
                    .Bone(ARM, rest, STRIKE_WITH_TRAIL),
                Key(0.15f).Pos(0, 0, -70).Bone(TORSO, rest, VULNERABLE)},
               LUNGE_DAMAGE);
}

// A fixture fighter that stands open to blows and lunges on p.
inline void WriteLunger(const std::string& name) {
    WriteFighter(name, MATCH_MOVES,
                 {{"idle.kaf", StillKaf(1, VULNERABLE)}, {"lunge.kaf", Lunge()},
                  {"hit.kaf", StillKaf(0.3f, VULNERABLE)}});
}

inline void WriteMatch() {
    WriteFile("device.cfg", "driver OpenGL\nacceleration 1\nsize 800 600 32\ndblbuff 1\nzbuff 24\n"
                      "dither 0\nfilter 1\nwindowed 1\n");
    WriteFile("controllers.txt", "controller0 keyboard\ncontroller1 keyboard\n");
    WriteFile("settings.txt", "scene floor\nplayer1 fixture\nplayer2 fixture\n");

    WriteSharedMaterials();
    WriteFile("materials/strmat.mat", ColourMaterial({1, 0.8f, 0}, {0.6f, 0.5f, 0}));
    WriteFile("materials/menutext1.mat", ColourMaterial({0.5f, 0.5f, 0.5f}, {0.4f, 0.4f, 0.4f}));
    WriteFile("materials/menutext2.mat", ColourMaterial({1, 0.2f, 0.2f}, {0.8f, 0, 0}));
    WriteFile("materials/white.mat", ColourMaterial({1, 1, 1}, {1, 1, 1}));
    WriteFile("letters/w.asc", meshtext::Box({0, 0, 0}, {25, 30, 8}));

    WriteLunger("fixture");

    const std::string scene = "scenes/floor/";
    WriteFile(scene + "lights.txt", "AMBIENT 0.3 0.3 0.3\n1\nDIRECTIONAL 1 1 1  -1 -1.5 0.5\n");
    WriteFile(scene + "scene.sdf", "sky.mat\n400 -300\n1\nARENA N stone.asc 0 stone.mat 0 0 0\n");
    WriteFile(scene + "materials/sky.mat", ColourMaterial({0.3f, 0.4f, 0.6f}));
    WriteFile(scene + "materials/stone.mat", ColourMaterial({0.6f, 0.6f, 0.55f}));
    WriteFile(scene + "stone.asc", meshtext::Box({-200, -20, -200}, {200, 0, 200}));
}

}  // namespace fixture
