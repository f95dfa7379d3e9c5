#pragma once

#include "character/Object.h"

class Material;

// The ribbon that trails behind a limb or weapon during a move: a strip
// between the two ends of its parent, sampled four times an update so that
// it covers the last ten frames. Edge A follows the parent's origin, edge B
// its tip; sample 0 is the newest.
class Tracer : public Object {
public:
    Tracer(Object* parent, Material* m);  // an empty trail; m may be null
    ~Tracer() override;
    Tracer(const Tracer&) = delete;
    Tracer& operator=(const Tracer&) = delete;

    using Object::Update;
    void Update() override;      // grow while active, shrink after End; frozen while paused
    void Draw() override;        // the strip with its material, if it has one
    void DrawShadow() override;  // the strip flattened along light 0 onto the floor

    void Start();  // the trail grows from the next update
    void End();    // the trail shrinks away from the next update

    static const int SAMPLES = 40;  // vertices per edge
    int count = 0;                  // samples in the trail, 0..39
    bool active = false;

private:
    void Shift(float vDivisor);  // move every sample one place back, v = k / vDivisor
    void Smooth();             // bend samples 1..3 between this update's and the last one's
};
