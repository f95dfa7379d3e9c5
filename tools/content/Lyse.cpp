// Lyse: a light, quick kicker with a long braid and a sash. Short reach with
// the hands, fast kicks, a spinning back kick and a falling heel drop.
#include <cmath>
#include <fstream>

#include "content/Fighters.h"
#include "content/Look.h"
#include "content/Sounds.h"

namespace content {

namespace {

class Lyse : public Fighter {
public:
    Lyse();
    Poser Stance(float breath) const override;
    Poser Guard() const override;
    Poser Crouch() const override;
    Poser CrouchGuard() const override;
    void WriteAttacks(std::vector<Node>& rootMoves) const override;
    const char* AttackNames() const override {
        return "p jab\np,p cross\np,p,k roundhouse\nk snap_kick\nk,k spinning_back_kick\n"
               "dp low_punch\ndk leg_sweep\nt lift_and_heave\nfk flying_heel_drop\n";
    }

private:
    void WriteMeshes() const override;
    void WriteImages() const override;
    void WriteMaterials() const override;

    int band = -1;
    std::vector<int> hair;
};

const Vector3 ELBOW_DOWN_R(-0.4f, -1, 0.2f);
const Vector3 ELBOW_DOWN_L(0.4f, -1, 0.2f);

Lyse::Lyse() : Fighter("lyse") {
    tempo = 0.85f;
    stride = 22;
    hipHeight = 46;
    jumpSpeed = 225;
    const Vector3 front(0, 0, -1), up(0, 1, 0);
    Rig& r = rig;
    // Parts that share an image follow one another, so that the renderer
    // changes texture as seldom as it can (a software renderer pays dearly
    // for each change); parents still come before their children.
    body.hips =
        r.Add("HIPS", "hips.asc", "hips.mat", -1, {0, 46, 0}, {0, 55, 0}, front, {10, 10, 7.5f});
    BothSides([&](int side, float s, const std::string& k) {
        body.thigh[side] = r.Add("THIGH", k + "thigh.asc", "pants.mat", body.hips, {6 * s, 46, 0},
                                 {6 * s, 25, 0}, front, {6, 21, 6});
    });
    BothSides([&](int side, float s, const std::string& k) {
        body.shin[side] = r.Add("SHIN", k + "shin.asc", "pants.mat", body.thigh[side],
                                {6 * s, 25, 0}, {6 * s, 5, 0}, front, {4.5f, 20, 4.5f});
    });
    BothSides([&](int side, float s, const std::string& k) {
        body.foot[side] = r.Add("FOOT", k + "foot.asc", "shoe.mat", body.shin[side], {6 * s, 5, 0},
                                {6 * s, 1, -10}, up, {3.5f, 11, 3});
    });
    body.belly = r.Add("BELLY", "belly.asc", "skin.mat", body.hips, {0, 55, 0}, {0, 64, 0}, front,
                       {9, 10, 7});
    body.chest = r.Add("CHEST", "chest.asc", "top.mat", body.belly, {0, 64, 0}, {0, 78, 0}, front,
                       {11, 15, 8});
    int shoulder[2];
    BothSides([&](int side, float s, const std::string& k) {
        shoulder[side] = r.Add("LOCK", k + "shoulder.asc", "top.mat", body.chest,
                               {3 * s, 75.5f, 0}, {11 * s, 75.5f, 0}, front, {4, 8, 4.5f});
    });
    body.neck =
        r.Add("NECK", "neck.asc", "skin.mat", body.chest, {0, 78, 0}, {0, 82, 0}, front, {4, 5, 4});
    BothSides([&](int side, float s, const std::string& k) {
        body.upper[side] = r.Add("UPPERARM", k + "upperarm.asc", "skin.mat", shoulder[side],
                                 {12 * s, 75, 0}, {12 * s, 59, 0}, front, {4.2f, 16, 4.2f});
    });
    BothSides([&](int side, float s, const std::string& k) {
        body.fore[side] = r.Add("FOREARM", k + "forearm.asc", "wraps.mat", body.upper[side],
                                {12 * s, 59, 0}, {12 * s, 45, 0}, front, {3.6f, 14, 3.6f});
    });
    BothSides([&](int side, float s, const std::string& k) {
        body.hand[side] = r.Add("HAND", k + "hand.asc", "wraps.mat", body.fore[side],
                                {12 * s, 45, 0}, {12 * s, 39, 0}, front, {3, 7, 3});
    });
    body.head = r.Add("HEAD", "head.asc", "head.mat", body.neck, {0, 82, 0}, {0, 95, 0}, front,
                      {6.5f, 14, 7});
    band = r.Add("LOCK", "band.asc", "band.mat", body.head, {0, 89.5f, 0}, {0, 92.5f, 0}, front,
                 {6, 3, 7});
    // The braid: a chain of segments that trails behind the head.
    const Vector3 braid[] = {
        {0, 91, 5.5f}, {0, 85, 8.5f}, {0, 78, 10.5f}, {0, 71, 11.5f}, {0, 64, 12}};
    int parent = body.head;
    for (int i = 0; i < 4; ++i) {
        parent = r.Add(i == 0 ? "PONYR" : "PONY", "braid" + std::to_string(i) + ".asc", "hair.mat",
                       parent, braid[i], braid[i + 1], front, {2, 7, 2});
        hair.push_back(parent);
    }

    ClothPart c;
    c.mesh = "sash.asc";
    c.material = "sash.mat";
    c.parent = body.hips;
    for (int i = 0; i < 4; ++i) {
        c.rows.push_back(4);
        c.flex.push_back({0, 0.5f, 0.5f});
    }
    rig.AddCloth(c);
}

Poser Lyse::Stance(float breath) const {
    Poser p = Pose0();
    p.Root(0, -4 - 2.5f * breath, 0);
    p.Foot(LEFT, {8, 5, -9}, 10).Foot(RIGHT, {-9, 5, 10}, 35, 10);
    p.Hips(0, 20, 0).Belly(3, 5, 0).Chest(5 + breath * 2, 8, 0).Neck(-4, -22, 0);
    p.Hand(LEFT, {4, 80 - breath, -17}, ELBOW_DOWN_L, 3).Wrist(LEFT, {0, 0.6f, -1});
    p.Hand(RIGHT, {-5, 78 - breath, -9}, ELBOW_DOWN_R, 3).Wrist(RIGHT, {0, 0.7f, -1});
    return p;
}

Poser Lyse::Guard() const {
    Poser p = Stance(0);
    p.Root(0, -6, 0).Chest(9, 4, 0).Hips(0, 12, 0);
    p.Hand(LEFT, {4, 88, -11}, ELBOW_DOWN_L, 3).Wrist(LEFT, {0, 1, -0.2f});
    p.Hand(RIGHT, {-4, 87, -10}, ELBOW_DOWN_R, 3).Wrist(RIGHT, {0, 1, -0.2f});
    return p;
}

Poser Lyse::Crouch() const {
    Poser p = Pose0();
    p.Root(0, -19, 0);
    p.Foot(LEFT, {8, 5, -11}, 10).Foot(RIGHT, {-9, 5, 9}, 35, 10);
    p.Hips(10, 20, 0).Belly(6, 0, 0).Chest(10, 8, 0).Neck(-18, -22, 0);
    p.Hand(LEFT, {5, 74, -18}, ELBOW_DOWN_L, 3).Wrist(LEFT, {0, 0.6f, -1});
    p.Hand(RIGHT, {-4, 72, -11}, ELBOW_DOWN_R, 3).Wrist(RIGHT, {0, 0.7f, -1});
    return p;
}

Poser Lyse::CrouchGuard() const {
    Poser p = Crouch();
    p.Root(0, -21, 0).Chest(14, 4, 0);
    p.Hand(LEFT, {4, 80, -13}, ELBOW_DOWN_L, 3).Wrist(LEFT, {0, 1, -0.2f});
    p.Hand(RIGHT, {-4, 79, -12}, ELBOW_DOWN_R, 3).Wrist(RIGHT, {0, 1, -0.2f});
    return p;
}

void Lyse::WriteAttacks(std::vector<Node>& moves) const {
    const std::vector<int> open = Open();
    const Poser s = Stance(0);
    const int lHand = body.hand[LEFT], lFore = body.fore[LEFT];
    const int rHand = body.hand[RIGHT], rFore = body.fore[RIGHT];
    const int lFoot = body.foot[LEFT], lShin = body.shin[LEFT];
    const int rFoot = body.foot[RIGHT], rShin = body.shin[RIGHT];
    // p: a quick jab with the leading hand.
    {
        Move m("lyse_jab.kaf", 6);
        Poser p = s;
        p.Root(0, -4, -4).Hips(0, 30, 0).Chest(6, 18, 0);
        p.Hand(LEFT, {1, 76, -38}, ELBOW_DOWN_L, 6).Wrist(LEFT, {0, 0, -1});
        m.Add(T(0.08f), p.Get(), open).Strike({lHand, lFore}).Sound(sound::SWISH_FAST);
        m.Add(T(0.06f), p.Get(), open);
        Poser back = s;
        back.Shift({0, 0, -3});
        m.Add(T(0.1f), back.Get(), open);
        Save(m);
        SaveRecovery("lyse_jab_end.kaf", m, 0.14f);
    }
    // p p: the rear hand straight through, the hips turned into it.
    {
        Move m("lyse_cross.kaf", 8);
        Poser p = s;
        p.Root(0, -5, 0).Hips(0, 28, 0).Chest(4, 20, 0);
        p.Hand(RIGHT, {-6, 78, -4}, ELBOW_DOWN_R, 6);
        m.Add(T(0.06f), p.Get(), open);
        p.Shift({0, 0, -6});
        p.ShiftFoot(RIGHT, {0, 0, 4});
        p.Hips(2, -12, 0).Chest(10, -18, 0);
        p.Hand(RIGHT, {-1, 76, -38}, {-0.5f, -1, 0.2f}, 6).Wrist(RIGHT, {0, 0, -1});
        p.Hand(LEFT, {6, 80, -8}, ELBOW_DOWN_L, 3);
        m.Add(T(0.08f), p.Get(), open).Strike({rHand, rFore}).Sound(sound::SWISH_FAST);
        m.Add(T(0.1f), p.Get(), open);
        Save(m);
        SaveRecovery("lyse_cross_end.kaf", m, 0.2f);
    }
    // p p k: a roundhouse with the rear leg to the head.
    {
        Move m("lyse_roundhouse.kaf", 13);
        Poser p = s;
        p.Foot(LEFT, {6, 5, -10}, 70).Hips(0, -30, 10).Chest(-4, -10, 8);
        p.Foot(RIGHT, {-18, 40, -2}).Knee(RIGHT, {-1, 0.3f, -0.5f});
        p.Hand(LEFT, {8, 80, -10}, ELBOW_DOWN_L, 3);
        m.Add(T(0.12f), p.Get(), open).Trail({rFoot});
        p.Hips(0, -70, 25).Chest(-10, -10, 15);
        p.Foot(RIGHT, {-4, 72, -40}).FootAlong(RIGHT, {1, 0.1f, -0.2f});
        m.Add(T(0.08f), p.Get(), open).Strike({rFoot, rShin}).Sound(sound::SWISH_MID);
        p.Hips(0, -95, 20);
        p.Foot(RIGHT, {18, 64, -28}).FootAlong(RIGHT, {1, 0, 0.3f});
        m.Add(T(0.08f), p.Get(), open).Strike({rFoot, rShin});
        Poser land = s;
        land.Shift({0, 0, -4});
        m.Add(T(0.16f), land.Get(), open);
        Save(m);
        SaveRecovery("lyse_roundhouse_end.kaf", m, 0.2f);
    }
    // k: a snap kick with the front leg.
    {
        Move m("lyse_kick.kaf", 9);
        Poser p = s;
        p.Chest(-6, 12, 0).Foot(LEFT, {7, 32, -16}).Knee(LEFT, {0, 1, -1});
        m.Add(T(0.09f), p.Get(), open).Trail({lFoot});
        p.Root(0, -3, -4).Chest(-12, 12, 0);
        p.Foot(LEFT, {3, 52, -42}).FootAlong(LEFT, {0, 0.2f, -1});
        m.Add(T(0.07f), p.Get(), open).Strike({lFoot, lShin}).Sound(sound::SWISH_MID);
        p.Foot(LEFT, {7, 34, -16}).Knee(LEFT, {0, 1, -1});
        m.Add(T(0.09f), p.Get(), open).Trail({lFoot});
        Poser down = s;
        down.Shift({0, 0, -4});
        m.Add(T(0.1f), down.Get(), open);
        Save(m);
        SaveRecovery("lyse_kick_end.kaf", m, 0.18f);
    }
    // k k: a spinning back kick; she turns a full circle.
    {
        Move m("lyse_spinkick.kaf", 12);
        Poser p = s;
        p.Foot(LEFT, {2, 5, -3}, 0).Foot(RIGHT, {-5, 34, -8}).Knee(RIGHT, {0, 1, -1});
        p.Hips(0, 0, 0).Chest(10, 0, 0);
        m.Add(T(0.1f), p.Get(), open).Facing(-110).Trail({rFoot});
        p.Chest(30, 0, 0).Hips(20, 0, 0).Neck(-30, 0, 0);
        p.Foot(RIGHT, {-3, 58, 38}).FootAlong(RIGHT, {0, -1, 0.25f}).Knee(RIGHT, {0, -1, 0.3f});
        m.Add(T(0.09f), p.Get(), open).Facing(-180).Strike({rFoot, rShin}).Sound(sound::SWISH_MID);
        p.Foot(RIGHT, {-5, 30, 10}).Knee(RIGHT, {0, 1, 1});
        p.Chest(10, 0, 0).Hips(0, 0, 0).Neck(0, 0, 0);
        m.Add(T(0.1f), p.Get(), open).Facing(-250).Trail({rFoot});
        m.Add(T(0.14f), s.Get(), open).Facing(-360);
        Save(m);
        SaveRecovery("lyse_spinkick_end.kaf", m, 0.18f);
    }
    // d p: a low punch to the knee.
    {
        Move m("lyse_lowpunch.kaf", 7);
        Poser p = Crouch();
        p.Root(0, -21, -4).Hips(10, -5, 0).Chest(16, -12, 0);
        p.Hand(RIGHT, {-2, 48, -38}, {-0.5f, -1, 0.2f}, 6).Wrist(RIGHT, {0, -0.2f, -1});
        m.Add(T(0.09f), p.Get(), open).Strike({rHand, rFore}).Sound(sound::SWISH_FAST);
        m.Add(T(0.1f), p.Get(), open);
        Save(m);
        SaveRecovery("lyse_lowpunch_end.kaf", m, 0.2f);
    }
    // d k: a sweep: one leg stretched out along the floor, round from the back.
    {
        Move m("lyse_sweep.kaf", 9);
        Poser p = Crouch();
        p.Root(0, -28, 0).Hips(20, 40, 0).Chest(20, 10, 0);
        p.Foot(LEFT, {6, 5, -2}, 30).Knee(LEFT, {0.3f, 0, -1});
        p.Foot(RIGHT, {-34, 5, 14}).FootAlong(RIGHT, {-0.5f, 0, 1});
        p.Hand(LEFT, {10, 40, -14}, ELBOW_DOWN_L, 3).Hand(RIGHT, {-8, 40, -12}, ELBOW_DOWN_R, 3);
        m.Add(T(0.12f), p.Get(), open).Trail({rFoot});
        p.Hips(20, -20, 0);
        p.Foot(RIGHT, {-18, 5, -38}).FootAlong(RIGHT, {0.5f, 0, -1});
        m.Add(T(0.08f), p.Get(), open).Strike({rFoot, rShin}).Sound(sound::SWISH_MID);
        p.Hips(20, -70, 0);
        p.Foot(RIGHT, {22, 5, -32}).FootAlong(RIGHT, {1, 0, 0});
        m.Add(T(0.09f), p.Get(), open).Strike({rFoot, rShin});
        m.Add(T(0.14f), Crouch().Get(), open);
        Save(m);
        SaveRecovery("lyse_sweep_end.kaf", m, 0.22f);
    }
    // t: both hands seize the opponent, lift and heave.
    {
        Move m("lyse_throw.kaf", 15);
        Poser p = s;
        p.Root(0, -6, -2).Chest(12, 0, 0).Hips(0, 5, 0);
        p.Hand(LEFT, {6, 70, -35}, ELBOW_DOWN_L, 3).Hand(RIGHT, {-6, 70, -35}, ELBOW_DOWN_R, 3);
        m.Add(T(0.1f), p.Get(), open).Strike({lHand, rHand, lFore, rFore});
        p.Root(0, -10, 0).Chest(4, 0, 0);
        p.Hand(LEFT, {6, 74, -28}, ELBOW_DOWN_L, 3).Hand(RIGHT, {-6, 74, -28}, ELBOW_DOWN_R, 3);
        m.Add(T(0.12f), p.Get(), open);
        p.Root(0, -3, 0).Chest(-12, 0, 0);
        p.Hand(LEFT, {6, 96, -24}, ELBOW_DOWN_L, 3).Hand(RIGHT, {-6, 96, -24}, ELBOW_DOWN_R, 3);
        m.Add(T(0.24f), p.Get(), open);
        p.Root(0, -6, -4).Chest(16, 0, 0);
        p.Hand(LEFT, {6, 90, -40}, ELBOW_DOWN_L, 3).Hand(RIGHT, {-6, 90, -40}, ELBOW_DOWN_R, 3);
        m.Add(T(0.14f), p.Get(), open);
        m.Add(T(0.2f), p.Get(), open);
        Save(m);
        SaveRecovery("lyse_throw_end.kaf", m, 0.25f);
    }
    // f k: the heavy blow. A leap, the leg raised high, and a heel dropped
    // like an axe; the ground shakes and a ring spreads out.
    {
        Move m("lyse_axekick.kaf", 18);
        Poser p = s;
        p.Root(0, -12, 0).Chest(14, 0, 0);
        p.ArmAngles(RIGHT, {-30, 0, 20}, 40).ArmAngles(LEFT, {-30, 0, 20}, 40);
        m.Add(T(0.12f), p.Get(), open);
        Poser air = s;
        air.Root(0, 16, -10).Hips(-10, 0, 0).Chest(-6, 0, 0);
        air.LegAngles(LEFT, {70, 0, 10}, {100, 0, 0});
        air.Foot(RIGHT, {-6, 104, -32}).Knee(RIGHT, {0, 0, -1}).FootAlong(RIGHT, {0, 1, -0.3f});
        air.ArmAngles(RIGHT, {40, 0, 60}, 20).ArmAngles(LEFT, {40, 0, 60}, 20);
        m.Add(T(0.16f), air.Get(), open).Trail({rFoot});
        air.Root(0, 20, -16).Hips(-16, 0, 0);
        air.Foot(RIGHT, {-6, 116, -40});
        m.Add(T(0.1f), air.Get(), open).Trail({rFoot}).Sound(sound::SWISH_MID);
        Poser drop = Crouch();
        drop.Shift({0, 0, -20});
        drop.Root(0, -10, -20).Hips(20, 0, 0).Chest(22, 0, 0);
        drop.Foot(RIGHT, {-5, 6, -52}).FootAlong(RIGHT, {0, -0.3f, -1});
        drop.ArmAngles(RIGHT, {-20, 0, 40}, 30).ArmAngles(LEFT, {-20, 0, 40}, 30);
        m.Add(T(0.08f), drop.Get(), open).Strike({rFoot, rShin}).Events(SHAKE | RING).Sound(sound::BURST);
        m.Add(T(0.3f), drop.Get(), open);
        Save(m);
        SaveRecovery("lyse_axekick_end.kaf", m, 0.3f);
    }

    const Node roundhouse =
        Attack("k", "lyse_roundhouse.kaf", reaction::KNOCKBACK, "K", {}, "lyse_roundhouse_end.kaf");
    const Node cross =
        Attack("p", "lyse_cross.kaf", reaction::HIGH, "P", {roundhouse}, "lyse_cross_end.kaf");
    moves.push_back(Attack("p", "lyse_jab.kaf", reaction::HIGH, "P", {cross}, "lyse_jab_end.kaf"));
    const Node spin =
        Attack("k", "lyse_spinkick.kaf", reaction::KNOCKBACK, "K", {}, "lyse_spinkick_end.kaf");
    moves.push_back(Attack("k", "lyse_kick.kaf", reaction::BODY, "K", {spin}, "lyse_kick_end.kaf"));
    const Node stayDown = Node::Link("d", "1/d/d");
    moves.push_back(
        Attack("dp", "lyse_lowpunch.kaf", reaction::LOW, "D", {stayDown}, "lyse_lowpunch_end.kaf"));
    moves.push_back(
        Attack("dk", "lyse_sweep.kaf", reaction::SWEPT, "D", {stayDown}, "lyse_sweep_end.kaf"));
    moves.push_back(
        Attack("t", "lyse_throw.kaf", reaction::THROWN, "T", {}, "lyse_throw_end.kaf", "THROW"));
    moves.push_back(
        Attack("fk", "lyse_axekick.kaf", reaction::KNOCKBACK, "K", {}, "lyse_axekick_end.kaf"));
}

void Lyse::WriteMeshes() const {
    const std::string dir = Dir();
    Lofted(body.hips, {{-6, 9.5f, 7}, {2, 10.5f, 7.4f}, {9, 9.2f, 6.6f}}, 8);
    Lofted(body.belly, {{-1, 8.9f, 6.4f}, {9, 9.3f, 6.4f}}, 8);
    Lofted(body.chest, {{0, 9.5f, 6.6f}, {6, 10.8f, 7.6f, -0.4f}, {11, 11, 7}, {14.5f, 7, 5}}, 8);
    Lofted(body.neck, {{-1, 3.6f, 3.6f}, {6, 3.3f, 3.5f}}, 6, false);
    Lofted(band, {{0, 6.1f, 6.9f, -0.3f}, {3, 5.8f, 6.6f, -0.3f}}, 8, false);
    {
        MeshBuilder head, shadow;
        head.Sphere({0, 88.7f, -0.3f}, {5.8f, 7.2f, 6.6f}, 8, 6);
        head.BoxAt({0, 88.6f, -6.6f}, {1.4f, 2.4f, 1.6f});
        shadow = ShadowWedgeBox({-5.8f, 81.5f, -6.9f}, {5.8f, 95.9f, 6.3f});
        WritePartMeshes(dir, rig.parts[body.head], head, shadow, true);
    }
    for (int side : {RIGHT, LEFT}) {
        const float s = side == RIGHT ? -1.0f : 1.0f;
        const Part& shoulder = rig.parts[rig.parts[body.upper[side]].parent];
        MeshBuilder cap;
        cap.Sphere({10 * s, 76, 0}, {4.6f, 3.8f, 4.6f}, 6, 4);
        WritePartMeshes(dir, shoulder, cap, NoShadow(), true);
        Lofted(body.upper[side], {{-1, 3.9f, 3.9f}, {6, 4.1f, 4}, {16.5f, 3.2f, 3.2f}}, 6);
        Lofted(body.fore[side], {{0, 3.3f, 3.3f}, {5, 3.5f, 3.4f}, {14, 2.6f, 2.5f}}, 6);
        MeshBuilder fist;
        fist.Box({-2.4f, 0, -2.5f}, {2.4f, 7, 2.9f});
        WritePartMeshes(dir, rig.parts[body.hand[side]], fist, NoShadow());
        Lofted(body.thigh[side], {{-3, 5.9f, 6.1f}, {9, 5.5f, 5.9f}, {21, 4.1f, 4.3f}}, 6);
        Lofted(body.shin[side], {{0, 4.1f, 4.3f}, {7, 4, 4.5f, -0.5f}, {20, 3, 3.1f}}, 6);
        MeshBuilder shoe;
        shoe.Box({6 * s - 3, 0, -11}, {6 * s + 3, 5.5f, 3});
        WritePartMeshes(dir, rig.parts[body.foot[side]], shoe, NoShadow(), true);
    }
    for (size_t i = 0; i < hair.size(); ++i) {
        const Part& part = rig.parts[hair[i]];
        const float r0 = 2.7f - 0.35f * i, r1 = 2.35f - 0.35f * i;
        const std::vector<Ring> rings = {{-0.5f, r0, r0}, {part.length + 0.5f, r1, r1}};
        Lofted(hair[i], rings, 6, false);
    }

    // The sash: two ribbons hanging from the back of the waist.
    const ClothPart& c = rig.cloths.front();
    const float edges[4] = {1.5f, 5, 6.5f, 9.5f};
    std::vector<std::vector<Vector3>> rows;
    for (int r = 0; r < 4; ++r) {
        std::vector<Vector3> chain;
        for (int j = 0; j < c.rows[r]; ++j) {
            const float d = static_cast<float>(j) / (c.rows[r] - 1);
            chain.push_back({edges[r] + 2 * d, 52.5f - 24 * d - (r >= 2 ? 1.5f : 0), 7.8f + 2 * d});
        }
        rows.push_back(chain);
    }
    WriteCloth(dir + "meshes/" + c.mesh, rows, {true, false, true, false}, {0, 0, 1});
}

void Lyse::WriteImages() const {
    const Vector3 skin(0.93f, 0.74f, 0.6f);
    const Vector3 hairColour(0.09f, 0.06f, 0.06f);
    WriteImage("images/lyse_skin.bmp", 64, 64,
               [&](float u, float v) { return skin * (0.94f + 0.08f * Grain(u, v, 8, 31)); });
    WriteImage("images/lyse_head.bmp", 128, 64, [&](float u, float v) {
        const float front = std::min(u, 1 - u);
        Vector3 c = skin * (0.94f + 0.08f * Grain(u, v, 8, 32));
        const float hairline = front < 0.2f ? 0.33f - 0.06f * std::cos(front * 30) : 0.72f;
        if (v < hairline) c = hairColour * (0.8f + 0.5f * Grain(u * 4, v, 16, 33));
        for (float eye : {0.07f, 0.93f}) {
            const float d = WrappedDistance(u, v, eye, 0.47f, 128, 64);
            if (d < 2.4f) c = Vector3(0.96f, 0.95f, 0.93f);
            if (d < 1.4f) c = Vector3(0.2f, 0.35f, 0.25f);
            if (WrappedDistance(u, v, eye, 0.4f, 128, 64 / 3) < 2.6f && v < 0.41f) c = hairColour;
        }
        if (front < 0.03f && std::fabs(v - 0.76f) < 0.025f) c = Vector3(0.75f, 0.35f, 0.35f);
        return c;
    });
    WriteImage("images/lyse_top.bmp", 64, 64, [&](float u, float v) {
        const Vector3 teal(0.08f, 0.5f, 0.55f);
        if (v > 0.88f || (v < 0.16f && v > 0.1f)) return Vector3(0.9f, 0.88f, 0.8f);
        return teal * (0.85f + 0.2f * Grain(u, v, 8, 34));
    });
    const Vector3 navy(0.1f, 0.12f, 0.25f);
    WriteImage("images/lyse_hips.bmp", 64, 64, [&](float u, float v) {
        if (v < 0.3f) return Vector3(0.7f, 0.1f, 0.12f) * (0.85f + 0.2f * Grain(u, v, 4, 35));
        return navy * (0.85f + 0.25f * Grain(u, v, 8, 36));
    });
    WriteImage("images/lyse_pants.bmp", 64, 64,
               [&](float u, float v) { return navy * (0.85f + 0.25f * Grain(u, v, 8, 36)); });
    WriteImage("images/lyse_wraps.bmp", 64, 64, [&](float u, float v) {
        const float band = std::fmod(v * 9 + u, 1.0f);
        return Vector3(0.92f, 0.9f, 0.84f) * (band < 0.15f ? 0.75f : 1.0f);
    });
    WriteImage("images/lyse_shoe.bmp", 64, 64, [&](float u, float v) {
        return Vector3(0.55f, 0.55f, 0.58f) * (0.85f + 0.2f * Grain(u, v, 8, 37));
    });
    WriteImage("images/lyse_hair.bmp", 64, 64, [&](float u, float v) {
        const float plait = std::fabs(std::fmod(u * 2 + v * 6, 1.0f) - 0.5f);
        return hairColour * (0.7f + 1.2f * plait);
    });
    WriteImage("images/lyse_red.bmp", 64, 64, [&](float u, float v) {
        return Vector3(0.75f, 0.1f, 0.12f) * (0.85f + 0.2f * Grain(u, v, 4, 38));
    });
    WriteImage("images/lyse_trail.bmp", 64, 64, [&](float u, float v) {
        const float k = u * u * (1 - v) * (1 - v);
        return Vector3(0.3f, 0.85f, 1.0f) * k;
    });
}

void Lyse::WriteMaterials() const {
    const std::string dir = Dir() + "materials/";
    WriteMaterial(dir + "skin.mat", BodyMaterial("lyse_skin.bmp"));
    WriteMaterial(dir + "head.mat", BodyMaterial("lyse_head.bmp"));
    WriteMaterial(dir + "top.mat", BodyMaterial("lyse_top.bmp"));
    WriteMaterial(dir + "hips.mat", BodyMaterial("lyse_hips.bmp"));
    WriteMaterial(dir + "pants.mat", BodyMaterial("lyse_pants.bmp"));
    WriteMaterial(dir + "wraps.mat", BodyMaterial("lyse_wraps.bmp"));
    WriteMaterial(dir + "shoe.mat", BodyMaterial("lyse_shoe.bmp"));
    WriteMaterial(dir + "hair.mat", BodyMaterial("lyse_hair.bmp"));
    WriteMaterial(dir + "band.mat", BodyMaterial("lyse_red.bmp"));
    MatSpec sashMat = BodyMaterial("lyse_red.bmp", "NONE");
    sashMat.scaleU = 1;
    WriteMaterial(dir + "sash.mat", sashMat);
    MatSpec trail = BodyMaterial("lyse_trail.bmp", "NONE");
    trail.scaleU = 1;
    trail.ambient = Vector3(0, 0, 0);
    trail.diffuse = Vector3(0, 0, 0);
    trail.emission = Vector3(1, 1, 1);
    trail.blend = "ONE";
    WriteMaterial(dir + "trail.mat", trail);
}

}  // namespace

void WriteLyse() { Lyse().Write(); }

}  // namespace content
