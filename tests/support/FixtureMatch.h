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

// An untextured short-form material of one colour.
inline std::string ColourMaterial(const char* colour, const char* emission) {
    return std::string("- 1 1 ambi ") + colour + " diff " + colour + " emis " + emission +
           " spec 0 0 0 shine 0\n";
}

inline void WriteMatch() {
    ScratchDir::Write("device.cfg",
                      "driver OpenGL\nacceleration 1\nsize 800 600 32\ndblbuff 1\nzbuff 24\n"
                      "dither 0\nfilter 1\nwindowed 1\n");
    ScratchDir::Write("controllers.txt", "controller0 keyboard\ncontroller1 keyboard\n");
    ScratchDir::Write("settings.txt", "scene floor\nplayer1 fixture\nplayer2 fixture\n");

    WriteSharedMaterials();
    ScratchDir::Write("materials/strmat.mat", ColourMaterial("1 0.8 0", "0.6 0.5 0"));
    ScratchDir::Write("materials/menutext1.mat", ColourMaterial("0.5 0.5 0.5", "0.4 0.4 0.4"));
    ScratchDir::Write("materials/menutext2.mat", ColourMaterial("1 0.2 0.2", "0.8 0 0"));
    ScratchDir::Write("materials/white.mat", ColourMaterial("1 1 1", "1 1 1"));
    ScratchDir::Write("letters/w.asc", meshtext::Box({0, 0, 0}, {25, 30, 8}));

    WriteFighter("fixture", MATCH_MOVES,
                 {{"idle.kaf", StillKaf(1, VULNERABLE)},
                  {"lunge.kaf", Lunge()},
                  {"hit.kaf", StillKaf(0.3f, VULNERABLE)}});

    const std::string scene = "scenes/floor/";
    ScratchDir::Write(scene + "lights.txt",
                      "AMBIENT 0.3 0.3 0.3\n1\nDIRECTIONAL 1 1 1  -1 -1.5 0.5\n");
    ScratchDir::Write(scene + "scene.sdf",
                      "sky.mat\n400 -300\n1\nARENA N stone.asc 0 stone.mat 0 0 0\n");
    ScratchDir::Write(scene + "materials/sky.mat", ColourMaterial("0.3 0.4 0.6", "0 0 0"));
    ScratchDir::Write(scene + "materials/stone.mat", ColourMaterial("0.6 0.6 0.55", "0 0 0"));
    ScratchDir::Write(scene + "stone.asc", meshtext::Box({-200, -20, -200}, {200, 0, 200}));
}

}  // namespace fixture
