#include "content/Fighter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "content/Sounds.h"
#include "math/Gravity.h"

namespace content {

namespace {

// Seconds until a body thrown up at `speed` from height y0 comes down to y1.
float FlightTime(float y0, float speed, float y1) {
    const float a = -0.5f * GRAVITY_Y, b = -speed, c = y1 - y0;
    return (-b + std::sqrt(b * b - 4 * a * c)) / (2 * a);
}

// Where a body thrown from `from` with `velocity` is after t seconds.
Vector3 Flown(const Vector3& from, const Vector3& velocity, float t) {
    return from + velocity * t + GRAVITY * (0.5f * t * t);
}

}  // namespace

Fighter::Fighter(std::string name_) : name(std::move(name_)) {}

std::vector<int> Fighter::Open() const {
    std::vector<int> flags(rig.Bones(), 0);
    for (size_t i = 0; i < rig.parts.size(); ++i) {
        const Part& p = rig.parts[i];
        if (static_cast<int>(i) != body.weapon && p.type != "PONYR" && p.type != "PONY")
            flags[i] = CAN_BE_HIT;
    }
    return flags;
}

std::vector<int> Fighter::Guarding(bool low) const {
    std::vector<int> flags = Open();
    for (int& f : flags)
        if (f == CAN_BE_HIT) f = BLOCKS;
    if (!low) {
        for (int side : {RIGHT, LEFT})
            for (int part : {body.shin[side], body.foot[side]}) flags[part] = CAN_BE_HIT;
    }
    return flags;
}

void Fighter::Save(const Move& move) const { move.Save(Dir()); }

void Fighter::SaveRecovery(const std::string& file, const Move& attack, float back) const {
    // The next move is chosen when a move's last key but one is reached, so
    // a recovery of one key could never be broken into: the held key is
    // the window for a follow-up.
    Move m(file);
    Pose held = attack.keys.back().pose;
    held.pos.x = 0;  // the recovery starts where the attack ended
    held.pos.z = 0;
    m.Add(T(0.16f), held, Open());
    m.Add(T(back), Stance(0).Get(), Open());
    Save(m);
}

void Fighter::WriteLook() const {
    WriteMeshes();
    WriteImages();
    WriteMaterials();
    std::ofstream(Dir() + "tracerlist.txt") << "1\n" << Dir() << "materials/trail.mat\n";
}

void Fighter::Lofted(int part, const std::vector<Ring>& rings, int segments, bool casts) const {
    WritePartMeshes(Dir(), rig.parts[part], Loft(rings, segments),
                    casts ? ShadowWedge(rings) : NoShadow());
}

void Fighter::Write() const {
    namespace fs = std::filesystem;
    for (const char* sub : {"meshes", "3", "materials"}) fs::create_directories(Dir() + sub);
    rig.WriteDefinition(Dir() + "low.bdf");
    WriteLook();

    std::vector<Node> moves;
    WriteCommonMoves(moves);
    WriteAttacks(moves);
    WriteReactions();
    // A record with more letters goes before one with fewer, which would
    // otherwise take its commands ("dp" before "d", "fk" before "k").
    std::stable_sort(moves.begin(), moves.end(),
                     [](const Node& a, const Node& b) { return a.label.size() > b.label.size(); });

    // The root is the stance, and so is its default: standing, the fighter
    // plays the stance again and again, turning to the opponent each time.
    Node root = Node::Record("root", "stance.kaf", "CEN", "-", moves);
    root.children.push_back(Node::Record("*", "stance.kaf", "CEN", "-"));
    std::ofstream(Dir() + "movetree.txt") << TreeText(root);

    // What the controls screen lists: the attacks, then what every fighter does.
    std::ofstream(Dir() + "moves.txt") << AttackNames()
                                       << "f walk_in\na walk_back\nu jump\nd crouch\ng guard_held\n"
                                          "dg crouch_guard\no sidestep\ni sidestep\n";
}

void Fighter::WriteCommonMoves(std::vector<Node>& moves) const {
    const std::vector<int> open = Open();

    // Stance: the root of the tree, breathing. It turns to the opponent
    // (CEN) and any command breaks it off.
    {
        Move m("stance.kaf");
        m.Add(T(0.12f), Stance(0).Get(), open);
        m.Add(T(0.55f), Stance(1).Get(), open);
        m.Add(T(0.55f), Stance(0).Get(), open);
        Save(m);
    }

    // Walks: a shuffle, the leading foot first, one stride per cycle. Both
    // keep facing the opponent and can be broken off at once (CEN).
    const Poser s = Stance(0);
    const int front = LEFT, back = RIGHT;
    for (int dir : {-1, 1}) {
        const bool forward = dir < 0;
        const int first = forward ? front : back, second = forward ? back : front;
        const float d = dir * stride;
        Move m(forward ? "walk_f.kaf" : "walk_b.kaf");
        m.Add(T(0.06f), s.Get(), open);
        Poser p = s;
        p.pos = s.pos + Vector3(0, -1.5f, 0.35f * d);
        p.ShiftFoot(first, Vector3(0, 6, 0.5f * d));
        m.Add(T(0.12f), p.Get(), open);
        p = s;
        p.pos = s.pos + Vector3(0, 0, 0.6f * d);
        p.ShiftFoot(first, Vector3(0, 0, d));
        m.Add(T(0.12f), p.Get(), open);
        p.pos = s.pos + Vector3(0, -1.5f, 0.85f * d);
        p.ShiftFoot(second, Vector3(0, 5, 0.5f * d));
        m.Add(T(0.12f), p.Get(), open);
        p = s;
        p.Shift(Vector3(0, 0, d));
        m.Add(T(0.12f), p.Get(), open);
        Save(m);
        moves.push_back(Node::Record(forward ? "f" : "a", m.file, "CEN", "-"));
    }

    // Side-steps: across the line to the opponent, the nearer foot first.
    for (int dir : {1, -1}) {
        const float w = dir * stride * 1.2f;
        const int first = dir > 0 ? LEFT : RIGHT, second = dir > 0 ? RIGHT : LEFT;
        Move m(dir > 0 ? "side_i.kaf" : "side_o.kaf");
        m.Add(T(0.05f), s.Get(), open);
        Poser p = s;
        p.pos = s.pos + Vector3(0.4f * w, -3, 0);
        p.ShiftFoot(first, Vector3(0.6f * w, 5, 0));
        p.Chest(s.chest.x, s.chest.y, s.chest.z + dir * 6);
        m.Add(T(0.1f), p.Get(), open);
        p.pos = s.pos + Vector3(0.75f * w, -2, 0);
        p.ShiftFoot(first, Vector3(0.4f * w, -5, 0));
        p.ShiftFoot(second, Vector3(0.4f * w, 4, 0));
        m.Add(T(0.1f), p.Get(), open);
        p = s;
        p.Shift(Vector3(w, 0, 0));
        m.Add(T(0.1f), p.Get(), open);
        Save(m);
        moves.push_back(Node::Record(dir > 0 ? "i" : "o", m.file, "CEN", "-"));
    }

    // Jump: crouch, spring up, tuck, and land where the flight brings the
    // body down. Between take-off and landing the keys carry no position:
    // the body flies on under gravity.
    {
        Move m("jump.kaf");
        m.Add(T(0.06f), s.Get(), open);
        Poser p = s;
        p.pos.y = -12;
        p.Chest(s.chest.x + 12, s.chest.y, s.chest.z);
        p.ArmAngles(RIGHT, Vector3(-25, 0, 15), 30).ArmAngles(LEFT, Vector3(-25, 0, 15), 30);
        m.Add(T(0.14f), p.Get(), open);
        Poser up = s;
        up.pos.y = 2;
        up.Chest(s.chest.x - 4, s.chest.y, s.chest.z);
        up.ArmAngles(RIGHT, Vector3(40, 0, 20), 50).ArmAngles(LEFT, Vector3(40, 0, 20), 50);
        const Vector3 launch(0, jumpSpeed, 0);
        m.Add(0.08f, up.Get(), open).Launch(launch);
        const float flight = FlightTime(up.pos.y, jumpSpeed, 0);
        Poser tuck = up;
        tuck.LegAngles(RIGHT, Vector3(75, 0, 12), Vector3(110, 0, 0))
            .LegAngles(LEFT, Vector3(85, 0, 12), Vector3(120, 0, 0));
        tuck.pos = Flown(up.pos, launch, flight * 0.3f);
        m.Add(flight * 0.3f, tuck.Get(), open).Airborne();
        tuck.pos = Flown(up.pos, launch, flight * 0.6f);
        m.Add(flight * 0.3f, tuck.Get(), open).Airborne();
        Poser land = s;
        land.pos.y = 0;
        m.Add(flight * 0.4f, land.Get(), open);
        Poser absorb = s;
        absorb.pos.y = -14;
        absorb.Chest(s.chest.x + 14, s.chest.y, s.chest.z);
        m.Add(T(0.1f), absorb.Get(), open);
        m.Add(T(0.16f), s.Get(), open);
        Save(m);
        moves.push_back(Node::Record("u", m.file, "ARB", "J"));
    }

    // Crouch, guards and the ways between them. Holding a command keeps a
    // hold move playing (its record links back to itself); letting go ends it.
    {
        Move down("crouch.kaf");
        down.Add(T(0.1f), Crouch().Get(), open);
        Save(down);
        Move hold("crouch_hold.kaf");
        hold.Add(T(0.25f), Crouch().Get(), open);
        Save(hold);
        Move upMove("stand_up.kaf");
        upMove.Add(T(0.14f), s.Get(), open);
        Save(upMove);

        const std::vector<int> high = Guarding(false), low = Guarding(true);
        Move guard("guard.kaf");
        guard.Add(T(0.08f), Guard().Get(), high);
        Save(guard);
        Move guardHold("guard_hold.kaf");
        guardHold.Add(T(0.25f), Guard().Get(), high);
        Save(guardHold);
        Move guardDown("guard_down.kaf");
        guardDown.Add(T(0.14f), s.Get(), open);
        Save(guardDown);
        Move cguard("cguard.kaf");
        cguard.Add(T(0.1f), CrouchGuard().Get(), low);
        Save(cguard);
        Move cguardHold("cguard_hold.kaf");
        cguardHold.Add(T(0.25f), CrouchGuard().Get(), low);
        Save(cguardHold);

        const Node toLowPunch = Node::Link("dp", "1/dp"), toLowKick = Node::Link("dk", "1/dk");
        const Node toCrouchGuard = Node::Link("dg", "1/dg/dg"), toCrouch = Node::Link("d", "1/d/d");
        const Node toGuard = Node::Link("g", "1/g/g");
        const Node rise = Node::Record("*", "stand_up.kaf", "INT", "-");
        const Node lower = Node::Record("*", "guard_down.kaf", "INT", "-");

        moves.push_back(
            Node::Record("d", "crouch.kaf", "ARB", "D",
                         {toLowPunch, toLowKick, toCrouchGuard,
                          Node::Record("d", "crouch_hold.kaf", "INT", "D",
                                       {toLowPunch, toLowKick, toCrouchGuard, toCrouch, rise}),
                          rise}));
        moves.push_back(Node::Record(
            "g", "guard.kaf", "ARB", "G",
            {toCrouchGuard,
             Node::Record("g", "guard_hold.kaf", "INT", "G", {toCrouchGuard, toGuard, lower}),
             lower}));
        moves.push_back(Node::Record("dg", "cguard.kaf", "ARB", "DG",
                                     {Node::Record("dg", "cguard_hold.kaf", "INT", "DG",
                                                   {toCrouchGuard, toCrouch, toGuard, rise}),
                                      toCrouch, rise}));
    }
}

Poser Fighter::Lying(const Vector3& at) const {
    Poser p = Pose0();
    p.pos = at + Vector3(0, 9 - hipHeight, 0);
    p.Hips(-88, 0, 0).Belly(-4, 0, 0).Chest(-4, 0, 0).Neck(20, 0, 0);
    p.LegAngles(RIGHT, Vector3(8, 0, 8), Vector3(12, 0, 0));
    p.LegAngles(LEFT, Vector3(20, 0, 6), Vector3(40, 0, 0));
    p.ArmAngles(RIGHT, Vector3(-15, 0, 35), 25).ArmAngles(LEFT, Vector3(10, 0, 45), 40);
    p.Weapon(Vector3(-0.3f, 0, -1));  // a weapon falls flat beside the body
    return p;
}

void Fighter::GetUp(Move& m, const Vector3& at) const {
    const std::vector<int> none = Untouchable();
    // The body has reached the floor as this key begins.
    m.Add(T(0.35f), Lying(at).Get(), none).Sound(sound::THUD);
    // Sitting up, knees drawn in, then up through a crouch.
    Poser sit = Pose0();
    sit.pos = at + Vector3(0, 12 - hipHeight, 0);
    sit.Hips(-35, 0, 0).Belly(20, 0, 0).Chest(20, 0, 0);
    sit.Foot(RIGHT, at + Vector3(-9, 6, -24)).Foot(LEFT, at + Vector3(9, 6, -22));
    sit.ArmAngles(RIGHT, Vector3(-40, 0, 20), 20).ArmAngles(LEFT, Vector3(-40, 0, 20), 20);
    m.Add(T(0.25f), sit.Get(), none);
    Poser crouch = Crouch();
    crouch.Shift(at);
    m.Add(T(0.25f), crouch.Get(), none);
    Poser stand = Stance(0);
    stand.Shift(at);
    m.Add(T(0.25f), stand.Get(), Open());
}

void Fighter::WriteReactions() const {
    const std::vector<int> open = Open();
    const Poser s = Stance(0);

    {  // Head snapped back.
        Move m(reaction::HIGH);
        Poser p = s;
        p.pos.y -= 2;
        p.Belly(s.belly.x - 10, s.belly.y, s.belly.z).Chest(-24, s.chest.y - 10, 4).Neck(-20, 0, 0);
        p.ArmAngles(RIGHT, Vector3(-20, 0, 35), 40).ArmAngles(LEFT, Vector3(-10, 0, 30), 50);
        m.Add(0.05f, p.Get(), open).Sound(sound::HIT);
        Poser q = s;
        q.Chest(-10, s.chest.y, 0);
        q.pos.y -= 3;
        m.Add(T(0.22f), q.Get(), open);
        m.Add(T(0.22f), s.Get(), open);
        Save(m);
    }
    {  // Doubled over.
        Move m(reaction::BODY);
        Poser p = s;
        p.pos.y -= 8;
        p.Hips(8, 0, 0).Belly(18, 0, 0).Chest(28, 0, 0).Neck(-10, 0, 0);
        p.Hand(RIGHT, Vector3(-5, 44, -10), Vector3(-1, 0, 1), 3);
        p.Hand(LEFT, Vector3(5, 46, -10), Vector3(1, 0, 1), 3);
        m.Add(0.06f, p.Get(), open).Sound(sound::HIT);
        p.pos.y += 2;
        m.Add(T(0.25f), p.Get(), open);
        m.Add(T(0.25f), s.Get(), open);
        Save(m);
    }
    {  // A leg buckles.
        Move m(reaction::LOW);
        Poser p = s;
        p.pos.y -= 10;
        p.ShiftFoot(LEFT, Vector3(2, 0, 5));
        p.Chest(s.chest.x + 12, s.chest.y - 15, -8).Belly(s.belly.x + 8, 0, -4);
        p.ArmAngles(RIGHT, Vector3(10, 0, 30), 30).ArmAngles(LEFT, Vector3(30, 0, 25), 30);
        m.Add(0.06f, p.Get(), open).Sound(sound::HIT);
        p.pos.y += 3;
        m.Add(T(0.24f), p.Get(), open);
        m.Add(T(0.22f), s.Get(), open);
        Save(m);
    }
    {  // Knocked clean off the feet, far back: near the edge, out of the ring.
        Move m(reaction::KNOCKBACK);
        Poser hit = s;
        hit.Chest(-28, 0, 0).Belly(-12, 0, 0).Neck(-20, 0, 0);
        hit.ArmAngles(RIGHT, Vector3(-30, 0, 40), 30).ArmAngles(LEFT, Vector3(-30, 0, 40), 30);
        m.Add(0.05f, hit.Get(), open).Sound(sound::HIT_HEAVY);
        Poser off = hit;
        off.Shift(Vector3(0, 4, 6));
        off.Hips(-25, 0, 0);
        off.LegAngles(RIGHT, Vector3(30, 0, 10), Vector3(40, 0, 0));
        off.LegAngles(LEFT, Vector3(45, 0, 10), Vector3(70, 0, 0));
        const Vector3 launch(0, 160, 100);
        m.Add(0.07f, off.Get(), open).Launch(launch);
        const float lieY = 9 - hipHeight;
        const float flight = FlightTime(off.pos.y, launch.y, lieY);
        Poser fly = off;
        fly.Hips(-55, 0, 0).Chest(-10, 0, 0);
        fly.pos = Flown(off.pos, launch, flight * 0.35f);
        m.Add(flight * 0.35f, fly.Get(), Untouchable()).Airborne();
        fly.Hips(-80, 0, 0);
        fly.pos = Flown(off.pos, launch, flight * 0.7f);
        m.Add(flight * 0.35f, fly.Get(), Untouchable()).Airborne();
        Vector3 at = Flown(off.pos, launch, flight);
        at.y = 0;
        m.Add(flight * 0.3f, Lying(at).Get(), Untouchable());
        at.z += 10;  // sliding on
        GetUp(m, at);
        Save(m);
    }
    {  // Lifted, hurled back over and slammed down on the back.
        Move m(reaction::THROWN);
        Poser grabbed = s;
        grabbed.pos += Vector3(0, 3, -3);
        grabbed.Chest(12, 0, 0).Neck(-10, 0, 0);
        grabbed.ArmAngles(RIGHT, Vector3(50, 0, 30), 60).ArmAngles(LEFT, Vector3(60, 0, 30), 60);
        m.Add(0.06f, grabbed.Get(), open).Sound(sound::GRAB);
        Poser lifted = grabbed;
        lifted.pos = Vector3(0, 20, -4);
        lifted.LegAngles(RIGHT, Vector3(15, 0, 10), Vector3(40, 0, 0));
        lifted.LegAngles(LEFT, Vector3(30, 0, 10), Vector3(50, 0, 0));
        lifted.Hips(-15, 0, 0).Chest(-15, 0, 0);
        m.Add(T(0.3f), lifted.Get(), Untouchable());
        const Vector3 launch(0, 190, 120);
        Poser thrown = lifted;
        thrown.pos = Vector3(0, 24, 0);
        thrown.Hips(-40, 0, 0);
        m.Add(0.1f, thrown.Get(), Untouchable()).Launch(launch);
        const float flight = FlightTime(thrown.pos.y, launch.y, 9 - hipHeight);
        Poser fly = thrown;
        fly.Hips(-100, 0, 0).Chest(-20, 0, 0);
        fly.LegAngles(RIGHT, Vector3(60, 0, 10), Vector3(20, 0, 0));
        fly.LegAngles(LEFT, Vector3(70, 0, 10), Vector3(40, 0, 0));
        fly.pos = Flown(thrown.pos, launch, flight * 0.5f);
        m.Add(flight * 0.5f, fly.Get(), Untouchable()).Airborne();
        Vector3 at = Flown(thrown.pos, launch, flight);
        at.y = 0;
        m.Add(flight * 0.5f, Lying(at).Get(), Untouchable()).Events(SHAKE);
        GetUp(m, at + Vector3(0, 0, 6));
        Save(m);
    }
    {  // Legs taken from under, down on the back on the spot.
        Move m(reaction::SWEPT);
        Poser p = s;
        p.pos.y -= 6;
        p.Hips(-25, 0, 0).Chest(-10, 0, 0);
        p.LegAngles(RIGHT, Vector3(45, 0, 8), Vector3(10, 0, 0));
        p.LegAngles(LEFT, Vector3(55, 0, 8), Vector3(20, 0, 0));
        p.ArmAngles(RIGHT, Vector3(40, 0, 50), 30).ArmAngles(LEFT, Vector3(50, 0, 50), 30);
        m.Add(0.06f, p.Get(), open).Sound(sound::HIT);
        p.pos = Vector3(0, 0.5f * (9 - hipHeight), 4);
        p.Hips(-60, 0, 0);
        m.Add(T(0.16f), p.Get(), Untouchable());
        m.Add(T(0.12f), Lying(Vector3(0, 0, 8)).Get(), Untouchable());
        GetUp(m, Vector3(0, 0, 8));
        Save(m);
    }
    {  // Blows taken on the guard: a jolt, feet planted.
        Move m("1_ghit.kaf");
        Poser p = Guard();
        p.pos.y -= 2;
        p.Chest(p.chest.x - 10, p.chest.y, p.chest.z);
        m.Add(0.05f, p.Get(), Guarding(false)).Sound(sound::GUARD);
        m.Add(T(0.16f), Guard().Get(), Guarding(false));
        Save(m);
        Move low("1d_ghit.kaf");
        Poser q = CrouchGuard();
        q.pos.y -= 2;
        q.Chest(q.chest.x - 10, q.chest.y, q.chest.z);
        low.Add(0.05f, q.Get(), Guarding(true)).Sound(sound::GUARD);
        low.Add(T(0.16f), CrouchGuard().Get(), Guarding(true));
        Save(low);
    }
}

}  // namespace content
