#pragma once

#include "input/Controller.h"

// A side of a replay: it samples what the recorded side sampled in the same
// frame, already mirrored, and groups it as the live controller did.
class ReplayController : public Controller {
public:
    explicit ReplayController(int player) : Controller(player) {}

    void Cue(int bits) { inputs = bits; }  // the next frame's recorded inputs

protected:
    int Sample() const override { return inputs; }

private:
    int inputs = 0;
};
