#include "match/Match.h"

#include <GL/gl.h>
#include <SDL.h>

#include <ostream>
#include <vector>

#include "character/Person.h"
#include "core/Clock.h"
#include "core/Display.h"
#include "core/Options.h"
#include "core/System.h"
#include "core/Trace.h"
#include "frontend/GameSounds.h"
#include "input/Controller.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"
#include "scene/Scene.h"

namespace {

const char* const PLAYER_NAMES[2] = {"player one", "player two"};

Vector3 Side(const Vector3& p0, const Vector3& p1) {
    return (p0 - p1).Cross(Vector3(0, 1, 0)).Normalized();
}

}  // namespace

Match::Match(Person* fighter0, Person* fighter1, Scene* arena, Controller* controller0,
             Controller* controller1, int bestOf, int timerSeconds)
    : scene(arena), controllers{controller0, controller1}, rules(bestOf, timerSeconds) {
    persons[0] = fighter0;
    persons[1] = fighter1;
    debug << "done creating kbdctrlrs" << std::endl;
    seqs[0] = new GameSeq(fighter0, fighter1, controller0, 0, arena);
    seqs[1] = new GameSeq(fighter1, fighter0, controller1, 1, arena);
    debug << "done creating gameseqs" << std::endl;
}

Match::~Match() {
    delete seqs[0];
    delete seqs[1];
}

int Match::Now() const { return System::instance()->clock->time; }

void Match::Start() {
    Clock* clock = System::instance()->clock;
    clockMode = 1;
    clock->SetMode(clockMode);
    if (!stepClock) clock->Update();
    over = false;
    rules.StartMatch(clock->time);
    Reset();
    debug << "round " << rules.round << std::endl;
}

void Match::RestartRound() {
    rules.RestartRound(Now());
    Reset();
    debug << "round " << rules.round << " again" << std::endl;
}

void Match::SetController(int side, Controller* controller) {
    controllers[side] = controller;
    seqs[side]->controller = controller;
}

void Match::Reset() {
    fightCalled = false;
    seqs[0]->Reset();
    seqs[1]->Reset();
    camera.Automatic();
    options->slowMotion = 0;
    for (Controller* c : controllers) {
        if (c != nullptr) c->Forget();
    }
}

void Match::Pause() { System::instance()->clock->SetMode(0); }

void Match::Resume() { System::instance()->clock->SetMode(clockMode); }

void Match::Update() {
    System* system = System::instance();
    if (stepClock) {
        stepClock(*system->clock);
    } else {
        system->clock->Update();
    }
    const int now = Now();
    // While the round's caption shows, the fighters stand and wait.
    if (rules.PhaseAt(now) == RoundRules::Phase::INTRO) {
        for (Controller* c : controllers) {
            if (c != nullptr) c->Forget();
        }
    }
    seqs[0]->Update();
    seqs[1]->Update();
    scene->Update();
    seqs[0]->CheckCollision();
    seqs[1]->CheckCollision();
    if (afterBlows) afterBlows();

    options->Update();
    Keys();
    camera.Update(*persons[0], *persons[1], now);
    system->display->SetCamera(&camera.camera);

    // Controllers mirror left and right by which side of the camera each
    // fighter stands on.
    const Camera& view = camera.camera;
    const Vector3 chest(0, 45, 0);
    const bool flip = (view.from - view.at).Dot(Side(persons[0]->worldPos + chest, persons[1]->worldPos + chest)) > 0;
    for (Controller* c : controllers) {
        if (c != nullptr) c->SetFlip(flip);
    }
    Judge(now);
}

void Match::Hold() {
    Keys();
    camera.Update(*persons[0], *persons[1], Now());
    System::instance()->display->SetCamera(&camera.camera);
}

void Match::Keys() {
    System* system = System::instance();
    const Keyboard* keyboard = system->keyboard;
    if (keyboard->Pressed(SDLK_F2)) scene->stencilShadows = !scene->stencilShadows;
    if (keyboard->Pressed(SDLK_F3)) {
        clockMode = 1 - clockMode;
        system->clock->SetMode(clockMode);
    }
    if (keyboard->Pressed(SDLK_F12)) camera.NextMode();
    const Mouse* mouse = system->mouse;
    camera.Drag(mouse->dx, mouse->dy, mouse->LButton(), mouse->RButton());
}

void Match::Judge(int now) {
    switch (rules.PhaseAt(now)) {
        case RoundRules::Phase::INTRO:
            return;
        case RoundRules::Phase::FIGHT: {
            if (!fightCalled) {
                debug << "fight" << std::endl;
                GameSounds::Play(GameSounds::BELL);
            }
            fightCalled = true;
            const int life[2] = {seqs[0]->lifeBar->value, seqs[1]->lifeBar->value};
            const bool lost[2] = {seqs[0]->lost, seqs[1]->lost};
            if (rules.Judge(now, life, lost) != RoundRules::End::NONE) Decided(now);
            return;
        }
        case RoundRules::Phase::DECIDED:
            if (over || now - rules.decidedAt <= AFTERMATH_MS) return;
            if (rules.MatchOver()) {
                over = true;
                debug << "match won by " << PLAYER_NAMES[rules.wins[0] > rules.wins[1] ? 0 : 1] << std::endl;
            } else {
                NextRound(now);
            }
    }
}

void Match::Decided(int now) {
    options->slowMotion = 2;
    const int winner = rules.winner;
    if (rules.end == RoundRules::End::TIME_UP) debug << "time up" << std::endl;
    if (winner >= 0) {
        debug << "bout won by " << PLAYER_NAMES[winner] << std::endl;
        seqs[winner]->won = true;
        camera.Victory(now);
        if (rules.MatchOver()) GameSounds::Play(GameSounds::WINNER);
    } else {
        debug << "round " << rules.round << " drawn" << std::endl;
    }
    // Nobody starts a move once the round is over.
    for (GameSeq* seq : seqs) {
        if (!seq->lost) seq->won = true;
    }
}

void Match::NextRound(int now) {
    rules.NextRound(now);
    Reset();
    debug << "round " << rules.round << std::endl;
}

void Match::Draw() {
    DrawScene();
    seqs[0]->Draw();
    seqs[1]->Draw();
    glDepthFunc(GL_LEQUAL);
}

void Match::DrawScene(bool fighters) {
    // Captions drawn since the last update may have left their camera loaded.
    System::instance()->display->SetCamera(&camera.camera);
    Object* const all[] = {scene, persons[0], persons[1]};
    const std::vector<Object*> drawn(all, all + (fighters ? 3 : 1));
    if (!scene->stencilShadows) {
        scene->DrawReflection();
        scene->DrawReflectionAlpha();
        glDepthFunc(GL_LEQUAL);
        for (Object* o : drawn) o->Draw();
        glDepthFunc(GL_LESS);
        // Each fighter's shadows start again from the highest matrix.
        for (int i = 0; fighters && i < 2; ++i) {
            shadowctr = 0;
            persons[i]->DrawShadow();
        }
    } else {
        glDepthFunc(GL_LEQUAL);
        scene->DrawReflection();
        scene->DrawReflectionAlpha();
        glDepthFunc(GL_LEQUAL);
        for (Object* o : drawn) o->DrawAmbient();
        glClearStencil(0);
        glStencilMask(0);
        glEnable(GL_STENCIL_TEST);
        glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
        glStencilMask(0xff);
        System::instance()->display->ClearStencil();
        for (int i = 0; fighters && i < 2; ++i) persons[i]->DrawShadowVolume();
        glDepthFunc(GL_EQUAL);
        for (Object* o : drawn) o->DrawNonAmbient();
        glDepthFunc(GL_LESS);
    }
    for (Object* o : drawn) o->DrawAlpha();
}
