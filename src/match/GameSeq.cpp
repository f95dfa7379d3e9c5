#include "match/GameSeq.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>

#include "anim/Anim.h"
#include "anim/KeyFrame.h"
#include "anim/MTNode.h"
#include "anim/MoveTree.h"
#include "character/Head.h"
#include "character/Person.h"
#include "core/Clock.h"
#include "core/Display.h"
#include "core/System.h"
#include "core/Trace.h"
#include "frontend/GameSounds.h"
#include "frontend/Sound.h"
#include "input/Controller.h"
#include "match/ExplCyl.h"
#include "match/LifeBar.h"
#include "match/Particle.h"
#include "match/Sparkle.h"
#include "match/Tracer.h"
#include "math/Camera.h"
#include "math/Gravity.h"
#include "math/Matrix.h"
#include "render/Material.h"
#include "scene/Scene.h"
#include "scene/Water.h"

namespace {

const float PI = 3.1415927f;
const float TWO_PI = 6.2831855f;

// Fighters keep their centres this far apart.
const float SPACING = 30;

// The start places: facing each other across the middle of the arena.
const Vector3 START_POS[2] = {Vector3(0, 0, 60), Vector3(0, 0, -60)};
const Vector3 START_ROT[2] = {Vector3(0, 0, 0), Vector3(0, 3.14159f, 0)};
// A new bout starts with the body this far below its place and rises into it.
const float RESET_DROP = 6;

const int SHAKE_MS = 600;
const float EXPLOSION_SPEED = 500;
const float EXPLOSION_RADIUS = 1000;

const int SPARKLE_MS = 300;
const int PARTICLES_PER_HIT = 30;
const int PARTICLE_MS = 600;  // the shortest life; up to as much again at random

// Moves that take no time would be replayed for ever within one step; past
// this many keys the step stops and the next one goes on where it left off.
const int MAX_KEYS_PER_STEP = 10000;

// rand() in [0, 1): the generator gives integers below 2^31.
float Random() { return static_cast<float>(std::rand()) * 4.656613e-10f; }

// Into [-pi, pi] in whole turns; exactly +-pi stays.
float WrapAngle(float a) {
    // A far-out value is brought near first, so that the steps below, which
    // could no longer change it, cannot go on for ever.
    if (std::fabs(a) > 1000 * TWO_PI) a = std::fmod(a, TWO_PI);
    while (a > PI) a -= TWO_PI;
    while (a < -PI) a += TWO_PI;
    return a;
}

void WrapRotations(CSpline& spline) {
    for (int slot = 0; slot < 4; ++slot) {
        Vector3& r = spline.rot[slot];
        r = Vector3(WrapAngle(r.x), WrapAngle(r.y), WrapAngle(r.z));
    }
}

void ShiftKeys(CSpline& spline, const Vector3& offset) {
    for (int slot = 0; slot < 4; ++slot) spline.pos[slot] += offset;
    spline.CalcSegment();
}

}  // namespace

GameSeq::GameSeq(Person* self, Person* opponent_, Controller* controller_, int player_,
                 Scene* scene_)
    : Sequencer(self, opponent_), scene(scene_), player(player_), controller(controller_) {
    lifeBar = new LifeBar(player);
    nextFrame = 0;
    if (person->head != nullptr) person->head->target(opponent);

    debug << "movetree loading:" << std::endl;
    moveTree = new MoveTree(person, opponent);
    curNode = moveTree->current;
    debug << "movetree done loading" << std::endl;

    SetAnim(curNode->move);
    StartTimeline();
    // The body's spline starts at the start place too, as at every new bout:
    // from the origin, both fighters would first meet in the middle.
    PlaceAtStart();
    started = false;

    sparkle = new Sparkle(new Material("materials/sparkle.mat"));
    // The particles share one material through the display's registry: the
    // file is read for the first and its shared material handed to the rest.
    Material* shared = nullptr;
    for (int i = 0; i < PARTICLES; ++i) {
        debug << "Creating particle " << i << std::endl;
        Particle* const particle =
            new Particle(shared != nullptr ? shared : new Material("materials/particle.mat"));
        shared = particle->material;
        particles.Add(particle);
    }
    ClearWindows();
}

GameSeq::~GameSeq() {
    for (int i = 0; i < explosions.count; ++i) delete explosions[i];
    for (int i = 0; i < particles.count; ++i) delete particles[i];
    delete sparkle;
    delete lifeBar;
    delete moveTree;
}

void GameSeq::Reset() {
    fallen = false;
    landed = false;
    fallDepth = 0;
    inReaction = false;
    hitDone = false;
    nextFrame = 0;
    // A blow found in the frame the bout ended belongs to that bout.
    hitPending = false;
    guardHitPending = false;
    hitObject = nullptr;
    hitAnim = nullptr;
    hitBranch = nullptr;

    StartTimeline();
    PlaceAtStart();
    person->Reset();
    lost = false;
    won = false;

    // The tree stays where it is; the bout begins with the root's move.
    curNode = moveTree->current;
    SetAnim(moveTree->nodes[0]->move);
    lifeBar->Reset();
    ClearWindows();
}

void GameSeq::Update() {
    float now = Now();
    if (anim == nullptr) debug << "no anim" << std::endl;
    AdvanceSplines(now);
    ApplyReactions();
    Interrupt();
    Feed(now);

    if (now < 0) debug << "time<0" << std::endl;
    Vector3 p = rootSpline.EvalPos();
    KeepDistance(p);
    KeepInArena(p, now);
    Pose(p);
    UpdateEffects();
}

void GameSeq::Draw() {
    glDepthMask(GL_FALSE);
    if (sparkleOn) sparkle->Draw();
    if (particlesOn) {
        for (int i = 0; i < particles.count; ++i) {
            if (particles[i]->HasTimeLeft()) particles[i]->Draw();
        }
    }
    for (int i = 0; i < explosions.count; ++i) {
        if (!explosions[i]->done) explosions[i]->Draw();
    }
    lifeBar->Draw();
    glDepthMask(GL_TRUE);
}

bool GameSeq::CheckCollision() {
    if (hitDone) return false;
    Sequencer* victim = opponent->sequencer;
    if (victim == nullptr) return false;
    MTNode* node = nodeWindow[2];
    // Only jointed parts strike and are struck: cloth and hair follow the
    // body and have no place of their own to be hit at.
    const int mine = std::min(Bones(), person->ncollide);
    const int theirs =
        std::min({opponent->nbones, opponent->bones.count, opponent->ncollide, MAX_BONES});
    bool found = false;
    for (int i = 0; i < mine && !found; ++i) {
        if ((boneFlagsWindow[i][2] & KeyFrame::STRIKES) == 0) continue;
        Object* striker = person->bones[i];
        for (int j = 0; j < theirs && !found; ++j) {
            const int flags = victim->boneFlagsWindow[j][2];
            // A part that is both vulnerable and guarding is hit: the guard
            // counts only where the part cannot be hit.
            const bool vulnerable = (flags & KeyFrame::CAN_BE_HIT) != 0;
            if (!vulnerable && (flags & KeyFrame::BLOCKS) == 0) continue;
            Object* part = opponent->bones[j];
            if (!striker->Collision(part)) continue;
            if (vulnerable) {
                victim->hitPending = true;
                victim->hitAnim = node != nullptr ? node->oppmove : nullptr;
            } else {
                victim->guardHitPending = true;
            }
            victim->hitPoint = striker->contact;
            victim->hitObject = part;
            victim->hitBranch = node != nullptr ? node->branch : nullptr;
            hitDone = true;
            found = true;
        }
    }
    return found;
}

float GameSeq::Now() {
    return static_cast<float>(static_cast<float>(System::instance()->clock->time) / 1000.0);
}

void GameSeq::AdvanceSplines(float now) {
    rootSpline.SetTime(now);
    for (int b = 0; b < Bones(); ++b) boneSplines[b].SetTime(now);
}

// A blow found by the opponent last frame. A hit goes before a guard hit;
// one pending with it waits for the next frame.
void GameSeq::ApplyReactions() {
    if (hitPending) {
        HitReaction();
    } else if (guardHitPending) {
        GuardHitReaction();
    } else {
        return;
    }
    SoundOfTheBlow();
}

// A reaction's first key carries the sound of the blow, heard as the blow
// lands. Played only once the motion reaches that key, behind the keys
// already in the splines, a guard's clack would come half a second late.
void GameSeq::SoundOfTheBlow() {
    blowSound = nullptr;
    if (anim == nullptr || anim->nframes == 0) return;
    const KeyFrame* first = anim->frames[0];
    if (!first->hasSound || !first->sound) return;
    first->sound->PlayOnce();
    blowSound = first;
}

void GameSeq::HitReaction() {
    hitPending = false;
    inReaction = true;
    debug << "Player " << player << " takes a blow" << std::endl;

    // The blow costs what the attacker's move is worth, read off the move
    // the attacker is heading into now.
    const GameSeq* attacker = Rival();
    const MTNode* blow = attacker != nullptr ? attacker->nodeWindow[2] : nullptr;
    if (blow != nullptr && blow->move != nullptr) *lifeBar -= blow->move->damage;
    if (lifeBar->Dead()) {
        std::cerr << "Player " << player << " loses!\n";
        lost = true;
    }

    RestartSplines();
    if (hitAnim == nullptr) {
        debug << "ERROR: NO HIT ANIM" << std::endl;
        SetAnim(anim);
    } else {
        SetAnim(hitAnim);
    }
    nextFrame = 0;

    if (hitObject == nullptr) return;
    sparkleOn = true;
    sparkle->Start(SPARKLE_MS, hitObject->rest * hitPoint, hitObject);

    particlesOn = true;
    const Vector3 at = (hitObject->world * hitObject->rest) * hitPoint;
    int launched = 0;
    for (int i = 0; i < particles.count && launched < PARTICLES_PER_HIT; ++i) {
        Particle* particle = particles[i];
        if (particle->HasTimeLeft()) continue;
        const int life = PARTICLE_MS + std::rand() % PARTICLE_MS;
        const float r1 = Random();
        const float r2 = Random();
        const float r3 = Random();
        particle->Start(life, at, Vector3(300 * r1 - 150, 300 * r2 - 70, 300 * r3 - 150), GRAVITY);
        ++launched;
    }
}

// The block follows the keys already in the splines: no restart.
void GameSeq::GuardHitReaction() {
    guardHitPending = false;
    inReaction = true;
    debug << "GUARD HIT" << std::endl;
    const MTNode* node = nodeWindow[2];
    const bool crouching = node != nullptr && (node->state & MTNode::D) != 0;
    SetAnim(crouching ? moveTree->guardHitLow : moveTree->guardHit);
    nextFrame = 0;
}

void GameSeq::Interrupt() {
    const MTNode* playing = nodeWindow[2];
    if (playing == nullptr || inReaction) return;
    if (playing->flag != MTNode::INT && playing->flag != MTNode::CEN) return;
    if (controller == nullptr) return;

    const std::string command = controller->Commands();
    if (player == 0) debug << "commands intr: " << command << std::endl;
    // The command is taken even when it cannot act: the bout is over.
    if (controller->Command() == 0 || won || lost) return;
    MTNode* node = moveTree->FindNext(command.c_str());
    if (node == curNode) return;
    curNode = node;
    RestartSplines();
    SetAnim(node->move);
    if (player == 0) debug << "anim set interrupted to " << node->moveName << std::endl;
    nextFrame = 0;
}

// Streams keys into the splines until the key the motion heads to lies in
// the future; keys already behind the clock are used up at once.
void GameSeq::Feed(float& now) {
    for (int keys = 0; boneSplines[0].NeedPoint() && keys < MAX_KEYS_PER_STEP; ++keys) {
        for (int b = 0; b < Bones(); ++b) boneFlagsWindow[b].ShiftLeft();
        nodeWindow.ShiftLeft();
        keyWindow.ShiftLeft();
        flagWindow.ShiftLeft();
        FrameEvents();

        if (anim == nullptr || nextFrame >= anim->nframes) {
            EndOfMove();
            now = Now();
        }
        // A move that could not be loaded, or one without frames, has nothing
        // to play: the fighter waits for the next command.
        if (anim == nullptr || anim->nframes == 0) break;
        if (nextFrame == 0) BeginAnimation();
        AddKey(now);
        SwitchTracers();
        ++nextFrame;
    }
}

// The events of the key the new segment runs to.
void GameSeq::FrameEvents() {
    const KeyFrame* key = keyWindow[2];
    if (key != nullptr && key == blowSound) {
        blowSound = nullptr;
    } else if (key != nullptr && key->hasSound && key->sound && !fallen) {
        key->sound->PlayOnce();  // off the floor, nothing a fighter does is heard
    }

    const unsigned long flags = flagWindow[2];
    if (Anim::isFlag(flags, 1)) {
        debug << "Start SHAKE" << std::endl;
        Display* display = System::instance()->display;
        if (display != nullptr && display->camera != nullptr) display->camera->StartShake(SHAKE_MS);
    }
    if (Anim::isEffect(flags, 1)) {
        explosions.Add(new ExplCyl(person->position, EXPLOSION_SPEED, EXPLOSION_RADIUS,
                                   new Material("materials/explcyl.mat")));
    }
}

void GameSeq::EndOfMove() {
    nextFrame = 0;
    if (!inReaction) {
        const std::string command = controller != nullptr ? controller->Commands() : "";
        if (controller != nullptr) controller->Command();
        curNode = moveTree->FindNext(command.c_str());
    } else {
        inReaction = false;
        curNode = moveTree->GoToBranch(hitBranch);
        // What was pressed while reeling is dropped.
        if (controller != nullptr) controller->Command();
    }
    SetAnim(curNode->move);
}

void GameSeq::BeginAnimation() {
    if (!started) {
        // The very first move is placed by the start place and the clock's zero.
        started = true;
    } else {
        PlaceAnimation();
    }
    // Angles keep growing from move to move; bring the root and the weapons
    // back to one turn so that their motion stays in range.
    WrapRotations(boneSplines[0]);
    for (int i = 0; i < person->weapons.count; ++i) {
        const int bone = person->weapons[i];
        if (bone >= 0 && bone < MAX_BONES) WrapRotations(boneSplines[bone]);
    }
}

// The new animation starts where and when the last one left the body.
void GameSeq::PlaceAnimation() {
    animStart = static_cast<int>(boneSplines[0].times[2] * 1000);
    basePos = rootSpline.pos[2];
    basePos.y = 0;
    const float yaw = rootSpline.rot[2].y;
    if (curNode != nullptr && curNode->flag == MTNode::CEN) {
        const Vector3 to = opponent->position - person->position;
        float facing = std::atan2(to.x, -to.z);
        // Turn the short way: never more than half a turn.
        while (facing > yaw + PI) facing -= TWO_PI;
        while (facing < yaw - PI) facing += TWO_PI;
        baseRot = Vector3(0, facing, 0);
    } else {
        baseRot = rootSpline.rot[2];
    }
}

void GameSeq::AddKey(float now) {
    KeyFrame* key = anim->frames[nextFrame];
    if (nextFrame == 1) hitDone = false;  // a new move may land again
    const float t = static_cast<float>(animStart / 1000.0 + key->absTime);
    Matrix turn;
    turn.CreateRotateY(baseRot.y);
    const Vector3 rot = key->facing + baseRot;
    const Vector3 at = turn * key->pos + basePos;
    if (key->hasVel) {
        rootSpline.AddPoint(t, rot, at, turn ^ key->vel);
    } else if (key->hasPos) {
        rootSpline.AddPoint(t, rot, at);
    } else {
        rootSpline.AddPoint(t, rot);  // flies on from the key before
    }
    rootSpline.SetTime(now);

    const int keyBones = std::min(Bones(), key->nbones);
    for (int b = 0; b < Bones(); ++b) {
        const bool given = b < keyBones;
        boneSplines[b].AddPoint(t, given ? key->rot[b] : Vector3());
        boneSplines[b].SetTime(now);
        boneFlagsWindow[b][3] = given ? key->boneFlags[b] : 0;
    }
    nodeWindow[3] = curNode;
    keyWindow[3] = key;
    flagWindow[3] = anim->flags[nextFrame];
}

// A bone's trail runs while the key its motion heads to has the tracer bit.
void GameSeq::SwitchTracers() {
    const int n = std::min(person->tracers.count, MAX_BONES);
    for (int i = 0; i < n; ++i) {
        Tracer* tracer = static_cast<Tracer*>(static_cast<Object*>(person->tracers[i]));
        const bool on = (boneFlagsWindow[i][2] & KeyFrame::TRACER) != 0;
        if (!tracer->active && on) {
            tracer->Start();
        } else if (tracer->active && !on) {
            tracer->End();
        }
    }
}

// Fighters closer than SPACING are pushed apart horizontally; the faster one
// gives way less.
void GameSeq::KeepDistance(Vector3& p) {
    const Vector3 d = p - opponent->position;
    if (d.Dot(d) >= SPACING * SPACING) return;

    const float across = d.x * d.x + d.z * d.z;
    const float room = SPACING * SPACING - d.y * d.y;
    Vector3 push;
    if (across == 0) {
        // Standing on the very same spot there is no direction to push along:
        // each goes back along the line between the two start places, towards
        // its own.
        const Vector3 home = START_POS[Side()] - START_POS[1 - Side()];
        push = home.Normalized() * std::sqrt(room);
    } else {
        const float stretch = room / across;
        if (stretch < 0) {
            debug << "NEG DIST in GameSeq" << std::endl;
            std::exit(-1);
        }
        // At exactly SPACING apart rounding may leave a hair below 1: no push.
        const float k = std::max(std::sqrt(stretch) - 1, 0.0f);
        push = Vector3(d.x, 0, d.z) * k;
    }

    GameSeq* rival = Rival();
    const float s1 = rootSpline.curVel.Length();
    const float s2 = rival != nullptr ? rival->rootSpline.curVel.Length() : 0;
    float share = 1;  // an opponent nobody plays does not move
    if (rival != nullptr) {
        if (s1 == 0 && s2 == 0) {
            share = 0.5f;
        } else if (s1 <= s2) {
            share = 1 - 0.5f * s1 / s2;
        } else {
            share = 0.5f * s2 / s1;
        }
    }
    Shift(push * share);
    p += push * share;
    if (rival != nullptr) rival->Shift(push * (share - 1));
}

void GameSeq::KeepInArena(Vector3& p, float now) {
    if (scene == nullptr) return;
    const float half = scene->arenaSize / 2;
    if (!fallen && !inReaction) {
        const auto correction = [half](float v) {
            return v > half ? half - v : v < -half ? -half - v : 0.0f;
        };
        const Vector3 back(correction(p.x), 0, correction(p.z));
        if (back != Vector3()) {
            Shift(back);
            p += back;
        }
    } else if (!fallen) {
        // Thrown over the edge by a blow: out of the ring.
        if (p.x < -half || p.x > half || p.z < -half || p.z > half) {
            fallen = true;
            fallDepth = 0;
            fallStart = now;
            lost = true;
            debug << "Player " << player << " knocked off the floor" << std::endl;
            GameSounds::Play(GameSounds::FALL);
        }
    }
    if (fallen && !landed) {
        const float before = fallDepth;
        if (scene->arenaParam < fallDepth) {
            const float t = now - fallStart;
            fallDepth = 0.5f * GRAVITY_Y * t * t;
        }
        if (fallDepth <= scene->arenaParam) {
            fallDepth = scene->arenaParam;
            landed = true;
        }
        // Into the water as the feet pass its surface; without water, on
        // whatever lies below.
        const Water* water = scene->water;
        if (water != nullptr) {
            const float surface = water->worldPos.y + Water::LEVEL;
            if (before > surface && fallDepth <= surface) GameSounds::Play(GameSounds::SPLASH);
        } else if (landed) {
            GameSounds::Play(GameSounds::LAND);
        }
    }
    if (fallen) p.y += fallDepth;
}

void GameSeq::Pose(const Vector3& p) {
    person->SetPosition(p);
    person->SetRotation(rootSpline.EvalRot());
    for (int b = 0; b < Bones(); ++b) person->bones[b]->SetRotation(-boneSplines[b].EvalRot());
    Timer& timer = System::instance()->timer;
    timer.Start();
    person->Update();
    timer.End("person update:");
}

void GameSeq::UpdateEffects() {
    if (sparkleOn) {
        sparkle->Update();
        if (!sparkle->HasTimeLeft()) {
            sparkle->End();
            sparkleOn = false;
        }
    }
    if (particlesOn) {
        particlesOn = false;
        for (int i = 0; i < particles.count; ++i) {
            if (!particles[i]->HasTimeLeft()) continue;
            particles[i]->Update();
            particlesOn = true;
        }
    }
    // A ring that has reached its full size is never drawn again: it goes,
    // or every heavy blow of a long session would leave one behind.
    int kept = 0;
    for (int i = 0; i < explosions.count; ++i) {
        ExplCyl* ring = explosions[i];
        ring->Update();
        if (ring->done) {
            delete ring;
        } else {
            explosions[kept++] = ring;
        }
    }
    explosions.count = kept;
    explosions.cursor = kept;
}

void GameSeq::RestartSplines() {
    rootSpline.ResetToCurrent();
    for (int b = 0; b < Bones(); ++b) boneSplines[b].ResetToCurrent();
}

void GameSeq::ClearWindows() {
    for (int slot = 0; slot < 4; ++slot) {
        nodeWindow[slot] = nullptr;
        keyWindow[slot] = nullptr;
        flagWindow[slot] = 0;
    }
    blowSound = nullptr;
}

// The bout's motion begins now: keys from game time 0 on would all have to
// be played through at once, and a bout started late in a session would
// evaluate its splines far outside their window.
void GameSeq::StartTimeline() {
    const float now = Now();
    rootSpline.Clear(now);
    for (int b = 0; b < MAX_BONES; ++b) boneSplines[b].Clear(now);
    animStart = System::instance()->clock->time;
}

void GameSeq::PlaceAtStart() {
    basePos = START_POS[Side()];
    baseRot = START_ROT[Side()];
    for (int slot = 0; slot < 4; ++slot) {
        rootSpline.pos[slot] = basePos - Vector3(0, RESET_DROP, 0);
        rootSpline.rot[slot] = baseRot;
    }
}

void GameSeq::Shift(const Vector3& offset) {
    ShiftKeys(rootSpline, offset);
    basePos += offset;
}

GameSeq* GameSeq::Rival() const {
    return opponent != nullptr ? dynamic_cast<GameSeq*>(opponent->sequencer) : nullptr;
}

int GameSeq::Bones() const { return std::min({person->nbones, person->bones.count, MAX_BONES}); }

int GameSeq::Side() const { return player == 1 ? 1 : 0; }
