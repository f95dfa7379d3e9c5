#include "ai/Skill.h"

#include <algorithm>

namespace {

const Skill TABLE[Skill::LEVELS] = {
    {"novice", 400, 0.05f, 0.30f, 0.00f},
    {"rookie", 360, 0.20f, 0.45f, 0.15f},
    {"brawler", 320, 0.35f, 0.55f, 0.30f},
    {"fighter", 275, 0.50f, 0.65f, 0.45f},
    {"veteran", 235, 0.65f, 0.75f, 0.60f},
    {"master", 190, 0.80f, 0.85f, 0.75f},
    {"legend", 150, 0.92f, 0.95f, 0.85f},
};

}  // namespace

Skill Skill::Level(int level) { return TABLE[std::clamp(level, 0, LEVELS - 1)]; }
