#include "anim/Sequencer.h"

#include <cstdlib>
#include <iostream>

#include "anim/Anim.h"
#include "character/Person.h"
#include "core/Trace.h"

namespace {

// Every window and spline is sized for MAX_BONES: a larger body cannot be
// played, and finding out halfway through a match would be worse.
void CheckBones(const Person* fighter) {
    if (fighter == nullptr || fighter->nbones <= Sequencer::MAX_BONES) return;
    const std::string text = "characters/" + fighter->name + "/low.bdf: a fighter can have at most " +
                             std::to_string(Sequencer::MAX_BONES) + " bones, found " +
                             std::to_string(fighter->nbones);
    debug << text << std::endl;
    std::cerr << text << std::endl;
    std::exit(1);
}

}  // namespace

Sequencer::Sequencer(Person* self, Person* opponent_) : person(self), opponent(opponent_) {
    CheckBones(self);
    CheckBones(opponent);
    if (person != nullptr) person->sequencer = this;
}

Sequencer::~Sequencer() {
    if (person != nullptr && person->sequencer == this) person->sequencer = nullptr;
}

void Sequencer::SetAnim(Anim* a) {
    anim = a;
    if (anim != nullptr) anim->SetTime(0);
}
