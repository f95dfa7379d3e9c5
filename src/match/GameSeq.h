#pragma once

#include "anim/Sequencer.h"
#include "math/CSpline.h"
#include "math/DArray.h"
#include "math/SArray.h"
#include "math/Vector3.h"

class Controller;
class ExplCyl;
class KeyFrame;
class LifeBar;
class MTNode;
class MoveTree;
class Particle;
class Scene;
class Sparkle;

// Runs one fighter through a match: reads its controller, picks moves from
// its move tree, lets a running move be interrupted where the tree allows,
// streams the keyframes into the splines and poses the fighter, applies the
// blows the opponent landed, keeps the two fighters apart and on the arena,
// and lets a fighter thrown off the floor fall and lose.
class GameSeq : public Sequencer {
public:
    static constexpr int PARTICLES = 80;  // the pool of hit particles

    // Loads self's move tree (reactions from the opponent's folder) and the effects.
    GameSeq(Person* self, Person* opponent, Controller* controller, int player, Scene* scene);
    ~GameSeq() override;

    void Update() override;  // one frame of this fighter
    virtual void Draw();     // effects and life bar
    virtual void Reset();    // a new bout: back to the start place, full life

    // This fighter's striking bones against the opponent's body; marks a hit
    // or a guard hit on the opponent, applied in its next Update. At most one
    // per move. True when something was found.
    bool CheckCollision();

    SArray<CSpline, MAX_BONES> boneSplines;  // each bone's rotation
    CSpline rootSpline;                      // the body's position and facing
    bool sparkleOn = false;
    Sparkle* sparkle = nullptr;              // owned
    DArray<Particle*> particles;             // owned pool, reused hit after hit
    bool particlesOn = false;                // some particle is flying
    int animStart = 0;                       // ms: where frame 0 of the animation lies on the clock
    Vector3 basePos;                         // where the animation is placed in the arena
    Vector3 baseRot;                         // turn added to the animation's facing
    MoveTree* moveTree = nullptr;            // owned
    MTNode* curNode = nullptr;               // the node being played
    bool inReaction = false;                 // a hit or guard-hit reaction is playing
    SArray<MTNode*, 4> nodeWindow;           // node of the key in each spline slot
    SArray<KeyFrame*, 4> keyWindow;          // the key in each spline slot
    SArray<unsigned long, 4> flagWindow;     // frame flag word of the key in each slot
    bool hitDone = false;                    // the current move has landed or been blocked
    LifeBar* lifeBar = nullptr;              // owned
    bool fallen = false;                     // out of the arena
    bool landed = false;                     // the fall has reached the arena's depth
    float fallStart = 0;                     // s: when the fall began
    float fallDepth = 0;                     // how far below the floor, <= 0
    DArray<ExplCyl*> explosions;             // owned rings started by frames
    bool lost = false;
    bool won = false;                        // set by the game when the other one lost
    Scene* scene;                            // the arena; null: no edge, no fall
    int player;                              // 0 or 1
    Controller* controller;                  // null: no commands
    // The reaction's first key, whose sound was played as the blow landed:
    // it is not played again when the motion reaches it.
    const KeyFrame* blowSound = nullptr;

private:
    static float Now();  // the game clock in seconds
    void AdvanceSplines(float now);
    void ApplyReactions();
    void HitReaction();
    void GuardHitReaction();
    void SoundOfTheBlow();
    void Interrupt();
    void Feed(float& now);
    void FrameEvents();
    void EndOfMove();
    void BeginAnimation();
    void PlaceAnimation();
    void AddKey(float now);
    void SwitchTracers();
    void KeepDistance(Vector3& p);
    void KeepInArena(Vector3& p, float now);
    void Pose(const Vector3& p);
    void UpdateEffects();
    void RestartSplines();  // every spline from the present pose
    void ClearWindows();
    void StartTimeline();  // every spline empty, the animation placed at the present time
    void PlaceAtStart();  // the start place of this player, and the body spline there
    void Shift(const Vector3& offset);  // moves the whole animation, keys and base
    GameSeq* Rival() const;  // the opponent's match sequencer, if it has one
    int Bones() const;       // bones of this fighter that are played
    int Side() const;        // which start place: 0 or 1
};
