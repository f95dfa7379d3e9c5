#include "frontend/FighterPreview.h"

#include <cmath>
#include <string>

#include "anim/Anim.h"
#include "anim/KeyFrame.h"
#include "character/Person.h"
#include "core/WordReader.h"
#include "math/Matrix.h"

namespace {

Vector3 Mix(const Vector3& a, const Vector3& b, float f) { return a + (b - a) * f; }

}  // namespace

FighterPreview::FighterPreview(Person* fighter_) : fighter(fighter_) {
    // The move tree's first record is the stance: a label, then its file.
    const std::string dir = "characters/" + fighter->name;
    WordReader tree(dir + "/movetree.txt");
    std::string label, file;
    if (tree.isOpen() && tree.Word(label) && tree.Word(file)) stance = std::make_unique<Anim>(dir, file, fighter->nbones);
}

FighterPreview::~FighterPreview() = default;

void FighterPreview::Pose(const Vector3& place, float turn, int ms) {
    Matrix turning;
    turning.CreateRotateY(turn);
    Vector3 pos, facing;
    const Anim* a = stance.get();
    if (a != nullptr && a->nframes > 0) {
        // Between the keys either side of the moment, straight across.
        const float t = a->length > 0 ? std::fmod(ms / 1000.0f, a->length) : 0;
        int i = 0;
        while (i + 1 < a->nframes && a->frames[i + 1]->absTime <= t) ++i;
        const KeyFrame* k0 = a->frames[i];
        const KeyFrame* k1 = a->frames[i + 1 < a->nframes ? i + 1 : i];
        const float span = k1->absTime - k0->absTime;
        const float f = span > 0 ? (t - k0->absTime) / span : 0;
        const int bones = std::min(fighter->bones.count, k0->nbones);
        for (int b = 0; b < bones; ++b) fighter->bones[b]->SetRotation(-Mix(k0->rot[b], k1->rot[b], f));
        pos = Mix(k0->pos, k1->pos, f);
        facing = Mix(k0->facing, k1->facing, f);
    }
    fighter->SetPosition(place + turning * pos);
    fighter->SetRotation(facing + Vector3(0, turn, 0));
    fighter->Update();
}
