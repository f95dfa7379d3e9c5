#pragma once

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "math/Vector3.h"
#include "support/MeshText.h"
#include "support/RenderFiles.h"
#include "support/ScratchDir.h"

// A small fighter written into the working directory (a ScratchDir): a body
// of three jointed bones (a torso, an arm that is also the weapon, a head),
// tiny 3D ASCII meshes with their shadow copies, materials, a tracer list, a
// move tree and its animations. Also the shared effect materials, a scene
// that gives only the arena's size and depth, and a small but complete match:
// the files the game reads at start-up, two fixture fighters whose punch
// lunges 70 forward, and a plain stone floor lit by one sun.
namespace fixture {

// The bones of the fixture body, in file order.
constexpr int TORSO = 0;  // from the floor up to the shoulders, the part that is hit
constexpr int ARM = 1;    // at shoulder height, reaching 30 forward (towards -z)
constexpr int HEAD = 2;
constexpr int BONES = 3;

// One keyframe of the fixture body. Every bone is written in every frame
// (rotation 0 and flag word 0 unless set), so no value leaks from the frame
// before.
struct Key {
    explicit Key(float seconds) : time(seconds) {}

    Key& Flags(unsigned long word) { flags = word; return *this; }
    Key& Pos(float x, float y, float z) { return Clause("pos", x, y, z); }
    Key& Vel(float x, float y, float z) { return Clause("vel", x, y, z); }
    Key& Facing(float x, float y, float z) { return Clause("facing", x, y, z); }
    Key& Bone(int index, const Vector3& r, int flagWord) {
        rot[index] = r;
        boneFlags[index] = flagWord;
        return *this;
    }
    Key& Sound(const std::string& name) { sound = name; return *this; }

    float time;                // seconds after the key before
    unsigned long flags = 0;   // frame flag word: 1 shakes, 512 explodes
    std::string clauses;
    Vector3 rot[BONES];
    int boneFlags[BONES] = {};
    std::string sound;

private:
    Key& Clause(const char* word, float x, float y, float z) {
        std::ostringstream out;
        out << word << ' ' << x << ' ' << y << ' ' << z << '\n';
        clauses += out.str();
        return *this;
    }
};

// The text of a version-2 animation file.
inline std::string Kaf(const std::vector<Key>& keys, int damage = 0) {
    std::ostringstream out;
    out << "version 2\ndamage " << damage << "\ntracerindex 0\ntracerlength 10\n"
        << keys.size() << '\n';
    for (const Key& key : keys) {
        if (!key.sound.empty()) out << "soundname " << key.sound << '\n';
        out << "flags " << key.flags << '\n' << key.time << '\n' << key.clauses;
        for (int b = 0; b < BONES; ++b) {
            out << b << ' ' << key.rot[b].x << ' ' << key.rot[b].y << ' ' << key.rot[b].z << ' '
                << key.boneFlags[b] << '\n';
        }
        out << "-1\n";
    }
    return out.str();
}

// Standing still where the move is placed, for `seconds` after a short first key.
inline std::string StillKaf(float seconds = 1, int torsoFlags = 0) {
    return Kaf({Key(0.05f).Pos(0, 0, 0).Bone(TORSO, Vector3(), torsoFlags),
                Key(seconds).Pos(0, 0, 0).Bone(TORSO, Vector3(), torsoFlags)});
}

// A tree that plays idle.kaf over and over.
const char* const IDLE_TREE =
    "stand idle.kaf - 1 INT -\n"
    "  * idle.kaf - 1 INT -\n"
    "    * @ 1\n";

// Writes "characters/<name>/". `anims` maps file names to their text; the
// guard hits and idle.kaf are written too unless `anims` gives them. Bones
// beyond the three of the body are plain copies of the arm.
inline void WriteFighter(const std::string& name, const std::string& movetree = IDLE_TREE,
                         const std::map<std::string, std::string>& anims = {},
                         int extraBones = 0) {
    const std::string dir = "characters/" + name + "/";
    std::ostringstream body;
    body << BONES + extraBones << " meshes\n"
         << "0 TORSO torso.asc body.mat 0 -1  0 0 0  0 60 0  0 0 1  10 60 10\n"
         << "1 WEAPON arm.asc body.mat 0 0  0 50 0  0 50 -30  0 1 0  4 30 4\n"
         << "2 HEAD head.asc body.mat 0 0  0 60 0  0 75 0  0 0 1  6 15 6\n";
    for (int i = BONES; i < BONES + extraBones; ++i) {
        body << i << " BONE arm.asc body.mat 0 0  0 50 0  0 50 -30  0 1 0  4 30 4\n";
    }
    WriteFile(dir + "low.bdf", body.str());

    const std::map<std::string, std::string> meshes = {
        {"torso.asc", meshtext::OneTriangle({-10, 0, 0}, {10, 0, 0}, {0, 60, 0})},
        {"arm.asc", meshtext::OneTriangle({0, 48, 0}, {0, 52, 0}, {0, 50, -30})},
        {"head.asc", meshtext::OneTriangle({-6, 60, 0}, {6, 60, 0}, {0, 75, 0})},
    };
    for (const auto& [file, text] : meshes) {
        WriteFile(dir + "meshes/" + file, text);
        WriteFile(dir + "3/" + file, text);
    }
    WriteFile(dir + "materials/body.mat", ColourMaterial({1, 1, 1}));
    WriteFile(dir + "materials/trail.mat", ColourMaterial({1, 1, 1}));
    WriteFile(dir + "tracerlist.txt", "1\n" + dir + "materials/trail.mat\n");
    WriteFile(dir + "movetree.txt", movetree);

    std::map<std::string, std::string> all = {
        {"1_ghit.kaf", StillKaf(0.4f)},
        {"1d_ghit.kaf", StillKaf(0.4f)},
        {"idle.kaf", StillKaf()},
    };
    for (const auto& [file, text] : anims) all[file] = text;
    for (const auto& [file, text] : all) WriteFile(dir + file, text);
}

// The materials every match sequencer loads: sparkle, particles, explosion rings.
inline void WriteSharedMaterials() {
    for (const char* file : {"sparkle.mat", "particle.mat", "explcyl.mat"}) {
        WriteFile(std::string("materials/") + file, ColourMaterial({1, 1, 1}));
    }
}

// "scenes/<name>/": no lights, no scenery, a square floor `size` wide, and
// `depth` where a fighter who falls off it comes to rest.
inline void WriteScene(const std::string& name, float size, float depth) {
    const std::string dir = "scenes/" + name + "/";
    WriteFile(dir + "lights.txt", "AMBIENT 0.2 0.2 0.2\n0\n");
    std::ostringstream scene;
    scene << "background.mat\n" << size << ' ' << depth << "\n0\n";
    WriteFile(dir + "scene.sdf", scene.str());
    WriteFile(dir + "materials/background.mat", ColourMaterial({1, 1, 1}));
}

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
