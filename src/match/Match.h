#pragma once

#include <functional>

#include "match/FightCamera.h"
#include "match/RoundRules.h"
#include "math/Ptr.h"

class Clock;
class Controller;
class GameSeq;
class Person;
class Scene;

// One match between two fighters in an arena: a match sequencer per
// fighter, the rounds and their timer, the camera, and each frame's
// passes. A decided round runs on in slow motion with the winner's
// captions, then the next round starts; after the last one the match is
// over and stands still. F2 switches the shadow method, F3 freezes the
// game clock, F12 cycles the cameras and the mouse turns the orbits.
class Match {
public:
    // Game time a decided round runs on, at a tenth of its speed.
    static constexpr int AFTERMATH_MS = 500;

    // Loads both sequencers (each fighter's moves, the effects). The
    // fighters and the arena stay their owner's.
    Match(Person* fighter0, Person* fighter1, Scene* arena, Controller* controller0,
          Controller* controller1, int bestOf, int timerSeconds);
    ~Match();
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    void Start();         // round 1, both fighters back at their places
    void Update();        // one frame: the clock, the fighters, the arena, blows, keys, the rounds
    void Hold();          // a frame in which the match stands: keys and the camera only
    // After the display's StartScene: the passes, then the fighters' effects
    // and life bars. DrawScene draws the passes alone, with or without the
    // fighters.
    void Draw();
    void DrawScene(bool fighters = true);
    void RestartRound();  // the current round from its caption again
    void SetController(int side, Controller* controller);  // who plays that fighter from now on
    // The clock stands still while the game is paused; Resume gives it back
    // as F3 left it.
    void Pause();
    void Resume();

    int Now() const;  // the game clock, ms
    RoundRules::Phase Phase() const { return rules.PhaseAt(Now()); }

    // How the clock moves each frame: by real time, unless a replay steps it
    // as it was recorded (and then leaves it where the replay starts).
    std::function<void(Clock&)> stepClock;
    // Told each frame once both fighters have moved and their blows are
    // found, before the round is judged: a replay being kept or checked.
    std::function<void()> afterBlows;

    Ptr<Person> persons[2];
    GameSeq* seqs[2] = {};     // owned
    Scene* scene;
    Controller* controllers[2];
    FightCamera camera;
    RoundRules rules;
    int clockMode = 1;         // what F3 toggles: 1 running, 0 frozen
    bool over = false;         // the last round has been decided and its captions shown
    bool fightCalled = false;  // the round's fight has begun

private:
    void Keys();                // F2, F3, F12 and the mouse
    void Judge(int now);        // decides the round when it is over
    void Decided(int now);      // slow motion, the winner's camera, no more commands
    void NextRound(int now);
    void Reset();               // both fighters back at their places with full life
};
