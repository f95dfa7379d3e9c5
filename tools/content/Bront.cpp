// Bront: a big, slow fighter with a quarterstaff. Long reach, heavy blows,
// a cape on his back, a leather cuirass; bald and bearded.
#include <cmath>
#include <fstream>

#include "content/Fighters.h"
#include "content/Look.h"
#include "content/Sounds.h"

namespace content {

namespace {

class Bront : public Fighter {
public:
    Bront();
    Poser Stance(float breath) const override;
    Poser Guard() const override;
    Poser Crouch() const override;
    Poser CrouchGuard() const override;
    void WriteAttacks(std::vector<Node>& rootMoves) const override;
    const char* AttackNames() const override {
        return "p staff_thrust\np,p staff_swing\np,p,p overhead_smash\nk push_kick\nk,p staff_swing\n"
               "k,p,p staff_smash\ndp low_poke\ndk floor_sweep\nt grab_and_toss\nfk leaping_slam\n";
    }

private:
    // Both hands on the staff, the right at `grip` (relative to the root), the
    // staff pointing along `dir`, the left hand `left` units behind the right
    // along it (negative: ahead of it).
    void Staff(Poser& p, const Vector3& grip, const Vector3& dir, float left) const;
    void WriteMeshes() const override;
    void WriteImages() const override;
    void WriteMaterials() const override;

    int belt = -1;
};

const Vector3 ELBOW_OUT_R(-1, -0.2f, 0.5f);
const Vector3 ELBOW_DOWN_L(1, -1, 0.3f);

Bront::Bront() : Fighter("bront") {
    tempo = 1.1f;
    stride = 24;
    hipHeight = 50;
    jumpSpeed = 200;
    const Vector3 front(0, 0, -1), up(0, 1, 0);
    Rig& r = rig;
    // Parts that share an image follow one another, so that the renderer
    // changes texture as seldom as it can (a software renderer pays dearly
    // for each change); parents still come before their children.
    body.hips =
        r.Add("HIPS", "hips.asc", "trousers.mat", -1, {0, 50, 0}, {0, 60, 0}, front, {12, 12, 9});
    BothSides([&](int side, float s, const std::string& k) {
        body.thigh[side] = r.Add("THIGH", k + "thigh.asc", "trousers.mat", body.hips,
                                 {7 * s, 50, 0}, {7 * s, 28, 0}, front, {7, 22, 7});
    });
    BothSides([&](int side, float s, const std::string& k) {
        body.shin[side] = r.Add("SHIN", k + "shin.asc", "shin.mat", body.thigh[side],
                                {7 * s, 28, 0}, {7 * s, 6, 0}, front, {5.5f, 22, 5.5f});
    });
    BothSides([&](int side, float s, const std::string& k) {
        body.foot[side] = r.Add("FOOT", k + "foot.asc", "boot.mat", body.shin[side], {7 * s, 6, 0},
                                {7 * s, 1, -11}, up, {4, 12, 4});
    });
    belt = r.Add("LOCK", "belt.asc", "belt.mat", body.hips, {0, 57, 0}, {0, 61, 0}, front,
                 {12.5f, 4, 9.5f});
    body.belly = r.Add("BELLY", "belly.asc", "gi.mat", body.hips, {0, 60, 0}, {0, 70, 0}, front,
                       {12, 11, 9});
    body.chest = r.Add("CHEST", "chest.asc", "cuirass.mat", body.belly, {0, 70, 0}, {0, 86, 0},
                       front, {14, 17, 10});
    int shoulder[2];
    BothSides([&](int side, float s, const std::string& k) {
        shoulder[side] = r.Add("LOCK", k + "shoulder.asc", "pad.mat", body.chest, {4 * s, 83, 0},
                               {15 * s, 83, 0}, front, {5, 11, 6});
    });
    body.neck =
        r.Add("NECK", "neck.asc", "skin.mat", body.chest, {0, 86, 0}, {0, 90, 0}, front, {5, 5, 5});
    BothSides([&](int side, float s, const std::string& k) {
        body.upper[side] = r.Add("UPPERARM", k + "upperarm.asc", "arm.mat", shoulder[side],
                                 {16 * s, 82, 0}, {17 * s, 63, 0}, front, {5.5f, 19, 5.5f});
    });
    BothSides([&](int side, float s, const std::string& k) {
        body.fore[side] = r.Add("FOREARM", k + "forearm.asc", "forearm.mat", body.upper[side],
                                {17 * s, 63, 0}, {17 * s, 46, 0}, front, {4.5f, 17, 4.5f});
    });
    BothSides([&](int side, float s, const std::string& k) {
        body.hand[side] = r.Add("HAND", k + "hand.asc", "skin.mat", body.fore[side],
                                {17 * s, 46, 0}, {17 * s, 39, 0}, front, {4, 8, 4});
    });
    body.head = r.Add("HEAD", "head.asc", "head.mat", body.neck, {0, 90, 0}, {0, 104, 0}, front,
                      {7, 15, 7.5f});
    // The staff is held at its balance point: the joint is in the right fist,
    // the striking end 58 ahead, the butt 30 behind.
    body.weapon = r.Add("WEAPON", "staff.asc", "staff.mat", body.hand[RIGHT], {-17, 42.5f, 0},
                        {-17, 42.5f, -58}, up, {2.5f, 58, 2.5f});

    ClothPart c;
    c.mesh = "cape.asc";
    c.material = "cape.mat";
    c.parent = body.chest;
    // Few links: the cloth is its own shadow mesh, and every one of its
    // triangles casts a shadow volume.
    const int columns = 3, points = 3;
    for (int i = 0; i < columns; ++i) {
        c.rows.push_back(points);
        // A link per pair of points: the first, at the shoulders, stays put.
        std::vector<float> links(points - 1, 0.5f);
        links.front() = 0;
        c.flex.push_back(links);
    }
    rig.AddCloth(c);
}

void Bront::Staff(Poser& p, const Vector3& grip, const Vector3& dir, float left) const {
    p.Hand(RIGHT, grip, ELBOW_OUT_R, rig.parts[body.hand[RIGHT]].length * 0.5f);
    p.Weapon(dir);
    p.Grip(LEFT, left, ELBOW_DOWN_L);
}

Poser Bront::Stance(float breath) const {
    Poser p = Pose0();
    p.Root(0, -5 - 1.5f * breath, 0);
    p.Foot(LEFT, {10, 6, -10}, 15).Foot(RIGHT, {-11, 6, 12}, 40);
    p.Hips(0, 15, 0).Belly(4, 4, 0).Chest(6 + breath, 6, 0).Neck(-6, -15, 0);
    // The staff slants up in front, its end above the opponent's head: at
    // close quarters it must not run through the opponent's body.
    Staff(p, {-9, 47 + breath, 6}, {0.2f, 0.85f - 0.03f * breath, -0.6f}, -24);
    return p;
}

Poser Bront::Guard() const {
    Poser p = Stance(0);
    p.Root(0, -7, 0);
    p.Chest(10, 0, 0).Belly(4, 0, 0).Hips(0, 10, 0);
    // The staff held across, high, both hands wide on it.
    Staff(p, {-13, 70, -14}, {1, 0.18f, 0.05f}, -28);
    return p;
}

Poser Bront::Crouch() const {
    Poser p = Pose0();
    p.Root(0, -21, 0);
    p.Foot(LEFT, {11, 6, -13}, 15).Foot(RIGHT, {-12, 6, 11}, 40);
    p.Hips(10, 15, 0).Belly(6, 0, 0).Chest(10, 5, 0).Neck(-16, -15, 0);
    Staff(p, {-10, 47, 2}, {0.1f, 0.3f, -1}, -24);
    return p;
}

Poser Bront::CrouchGuard() const {
    Poser p = Crouch();
    p.Root(0, -23, 0);
    p.Chest(14, 0, 0);
    Staff(p, {-13, 66, -12}, {1, 0.22f, 0.05f}, -26);
    return p;
}

void Bront::WriteAttacks(std::vector<Node>& moves) const {
    const std::vector<int> open = Open();
    const int staff = body.weapon;
    const Poser s = Stance(0);
    // p: a two-handed thrust with a lunge; the staff's reach is Bront's gift.
    {
        Move m("staff_thrust.kaf", 8);
        Poser p = s;
        p.Hips(0, 25, 0).Chest(2, 14, 0).Root(0, -5, 3);
        Staff(p, {-10, 51, 14}, {0.08f, 0.25f, -1}, -24);
        m.Add(T(0.1f), p.Get(), open).Trail({staff});
        p = s;
        p.Shift({0, 0, -8});
        p.ShiftFoot(LEFT, {0, 0, -8}).ShiftFoot(RIGHT, {0, 0, 4});
        p.Root(0, -6, -8).Hips(4, 0, 0).Chest(12, -4, 0).Belly(6, 0, 0);
        Staff(p, {-4, 59, -18}, {0.02f, 0.07f, -1}, -22);
        m.Add(T(0.09f), p.Get(), open).Strike({staff}).Sound(sound::SWISH_MID);
        m.Add(T(0.12f), p.Get(), open).Trail({staff});
        Save(m);
        SaveRecovery("staff_thrust_end.kaf", m, 0.28f);
    }
    // p p: a one-handed swing from the right across the front.
    {
        Move m("staff_swing.kaf", 10);
        Poser p = s;
        p.Hips(0, 40, 0).Chest(4, 25, 0);
        p.Hand(RIGHT, {-22, 66, 6}, ELBOW_OUT_R, 3.5f).Weapon({-0.85f, 0.2f, 0.25f});
        p.ArmAngles(LEFT, {10, 0, 35}, 50);
        m.Add(T(0.12f), p.Get(), open).Trail({staff});
        p.Shift({0, 0, -5});
        p.ShiftFoot(LEFT, {0, 0, -5});
        p.Hips(2, 5, 0).Chest(8, -5, 0);
        p.Hand(RIGHT, {-8, 64, -20}, ELBOW_OUT_R, 3.5f).Weapon({-0.15f, 0.06f, -1});
        p.ArmAngles(LEFT, {-10, 0, 50}, 30);
        m.Add(T(0.06f), p.Get(), open).Strike({staff}).Sound(sound::SWISH_SLOW);
        p.Hips(2, -25, 0).Chest(8, -25, 0);
        p.Hand(RIGHT, {10, 62, -16}, ELBOW_OUT_R, 3.5f).Weapon({0.9f, 0.02f, -0.4f});
        m.Add(T(0.07f), p.Get(), open).Strike({staff});
        m.Add(T(0.12f), p.Get(), open).Trail({staff});
        Save(m);
        SaveRecovery("staff_swing_end.kaf", m, 0.3f);
    }
    // p p p: both hands raise the staff overhead and bring it down.
    {
        Move m("staff_smash.kaf", 14);
        Poser p = s;
        p.Hips(-4, 15, 0).Chest(-10, 5, 0);
        Staff(p, {-6, 96, 4}, {0.05f, 0.8f, 0.6f}, 16);
        m.Add(T(0.16f), p.Get(), open).Trail({staff});
        p.Shift({0, 0, -10});
        p.ShiftFoot(LEFT, {0, 0, -6});
        p.Root(0, -9, -10).Hips(8, 12, 0).Chest(26, 4, 0).Belly(8, 0, 0);
        Staff(p, {-3, 60, -20}, {0, -0.3f, -1}, 16);
        m.Add(T(0.08f), p.Get(), open).Strike({staff, body.fore[RIGHT], body.hand[RIGHT]})
            .Sound(sound::SWISH_SLOW);
        m.Add(T(0.18f), p.Get(), open);
        Save(m);
        SaveRecovery("staff_smash_end.kaf", m, 0.32f);
    }
    // k: a push kick with the front leg, the staff kept back.
    {
        Move m("bront_kick.kaf", 10);
        const int foot = body.foot[LEFT], shin = body.shin[LEFT];
        Poser p = s;
        p.Root(0, -3, 0).Chest(-6, 10, 0).Hips(-4, 10, 0);
        p.Foot(LEFT, {8, 34, -10}).Knee(LEFT, {0, 1, -1});
        p.Hand(RIGHT, {-12, 52, 10}, ELBOW_OUT_R, 3.5f).Weapon({0.1f, 0.9f, -0.3f});
        p.ArmAngles(LEFT, {20, 0, 30}, 70);
        m.Add(T(0.12f), p.Get(), open).Trail({foot});
        p.Root(0, -2, -5).Chest(-12, 10, 0);
        p.Foot(LEFT, {4, 50, -40}).FootAlong(LEFT, {0, 1, -0.35f});
        m.Add(T(0.08f), p.Get(), open).Strike({foot, shin}).Sound(sound::SWISH_MID);
        p.Foot(LEFT, {8, 36, -14}).Knee(LEFT, {0, 1, -1});
        m.Add(T(0.1f), p.Get(), open).Trail({foot});
        p = s;
        p.Shift({0, 0, -5});
        p.ShiftFoot(LEFT, {0, 0, -6});
        m.Add(T(0.12f), p.Get(), open);
        Save(m);
        SaveRecovery("bront_kick_end.kaf", m, 0.25f);
    }
    // d p: a low poke at the shins from the crouch.
    {
        Move m("staff_low.kaf", 7);
        Poser p = Crouch();
        Staff(p, {-10, 44, 12}, {0.05f, -0.1f, -1}, -22);
        m.Add(T(0.1f), p.Get(), open).Trail({staff});
        p.Chest(18, -5, 0).Root(0, -22, -4);
        Staff(p, {-5, 45, -16}, {0.02f, -0.42f, -1}, -22);
        m.Add(T(0.08f), p.Get(), open).Strike({staff}).Sound(sound::SWISH_MID);
        m.Add(T(0.14f), p.Get(), open);
        Save(m);
        SaveRecovery("staff_low_end.kaf", m, 0.25f);
    }
    // d k: the staff swept along the floor from the right to the left.
    {
        Move m("staff_sweep.kaf", 9);
        Poser p = Crouch();
        p.Root(0, -24, 0).Hips(14, 35, 0).Chest(18, 25, 0);
        p.Hand(RIGHT, {-20, 42, 2}, ELBOW_OUT_R, 3.5f).Weapon({-0.9f, -0.22f, 0.25f});
        p.Grip(LEFT, 14, ELBOW_DOWN_L);
        m.Add(T(0.12f), p.Get(), open).Trail({staff});
        p.Hips(14, 5, 0).Chest(20, -5, 0);
        p.Hand(RIGHT, {-6, 40, -18}, ELBOW_OUT_R, 3.5f).Weapon({-0.1f, -0.3f, -1});
        m.Add(T(0.07f), p.Get(), open).Strike({staff}).Sound(sound::SWISH_SLOW);
        p.Hips(14, -30, 0).Chest(20, -25, 0);
        p.Hand(RIGHT, {10, 40, -12}, ELBOW_OUT_R, 3.5f).Weapon({0.9f, -0.25f, -0.35f});
        m.Add(T(0.08f), p.Get(), open).Strike({staff});
        m.Add(T(0.14f), p.Get(), open).Trail({staff});
        Save(m);
        SaveRecovery("staff_sweep_end.kaf", m, 0.3f);
    }
    // t: a grab at close quarters with the free hand, a heave and a toss.
    {
        Move m("bront_throw.kaf", 16);
        const int hand = body.hand[LEFT], fore = body.fore[LEFT];
        Poser p = s;
        p.Hand(RIGHT, {-14, 50, 10}, ELBOW_OUT_R, 3.5f).Weapon({0.05f, 1, 0.1f});
        p.Hand(LEFT, {2, 70, -36}, {1, -1, 0.2f}, 2).Wrist(LEFT, {0, 0, -1});
        p.Chest(14, 0, 0).Hips(0, 0, 0);
        m.Add(T(0.1f), p.Get(), open).Strike({hand, fore});
        p.Hand(LEFT, {2, 72, -30}, {1, -1, 0.2f}, 2);
        m.Add(T(0.1f), p.Get(), open);
        p.Root(0, -8, 2).Chest(-14, 0, 0);
        p.Hand(LEFT, {3, 96, -22}, {1, 0, 0.5f}, 2);
        m.Add(T(0.25f), p.Get(), open);
        p.Root(0, -6, -4).Chest(18, 0, 0);
        p.Hand(LEFT, {4, 80, -40}, {1, -0.5f, 0.5f}, 2);
        m.Add(T(0.16f), p.Get(), open);
        m.Add(T(0.2f), p.Get(), open);
        Save(m);
        SaveRecovery("bront_throw_end.kaf", m, 0.3f);
    }
    // f k: the heavy blow. A leap with the staff overhead and a slam into
    // the floor that shakes the ground and sends a ring out.
    {
        Move m("staff_slam.kaf", 20);
        Poser p = s;
        p.Root(0, -12, 2).Chest(4, 10, 0).Hips(6, 10, 0);
        Staff(p, {-10, 82, 8}, {-0.2f, 0.7f, 0.7f}, 12);
        m.Add(T(0.14f), p.Get(), open).Trail({staff});
        Poser air = p;
        air.Root(0, 18, -10).Chest(-12, 0, 0).Hips(-4, 0, 0);
        air.LegAngles(RIGHT, {40, 0, 10}, {90, 0, 0}).LegAngles(LEFT, {70, 0, 10}, {100, 0, 0});
        Staff(air, {-4, 96, -2}, {0, 1, 0.35f}, 12);
        m.Add(T(0.16f), air.Get(), open).Trail({staff});
        air.Root(0, 14, -20).Chest(6, 0, 0);
        Staff(air, {-4, 90, -12}, {0, 0.75f, -0.55f}, 12);
        // The arms strike too: an opponent crowded in close is under them.
        const std::vector<int> blow = {staff, body.fore[RIGHT], body.hand[RIGHT]};
        m.Add(T(0.12f), air.Get(), open).Strike(blow).Sound(sound::SWISH_SLOW);
        Poser slam = Crouch();
        slam.Shift({0, 0, -26});
        slam.Root(0, -16, -26).Chest(30, 0, 0).Hips(14, 5, 0);
        Staff(slam, {-3, 52, -18}, {0.02f, -0.5f, -1}, 12);
        m.Add(T(0.08f), slam.Get(), open).Strike(blow).Events(SHAKE | RING).Sound(sound::BURST);
        m.Add(T(0.34f), slam.Get(), open);
        Save(m);
        SaveRecovery("staff_slam_end.kaf", m, 0.35f);
    }

    const Node smash =
        Attack("p", "staff_smash.kaf", reaction::KNOCKBACK, "P", {}, "staff_smash_end.kaf");
    const Node swing =
        Attack("p", "staff_swing.kaf", reaction::HIGH, "P", {smash}, "staff_swing_end.kaf");
    moves.push_back(
        Attack("p", "staff_thrust.kaf", reaction::HIGH, "P", {swing}, "staff_thrust_end.kaf"));
    moves.push_back(
        Attack("k", "bront_kick.kaf", reaction::BODY, "K", {swing}, "bront_kick_end.kaf"));
    const Node stayDown = Node::Link("d", "1/d/d");
    moves.push_back(
        Attack("dp", "staff_low.kaf", reaction::LOW, "D", {stayDown}, "staff_low_end.kaf"));
    moves.push_back(
        Attack("dk", "staff_sweep.kaf", reaction::SWEPT, "D", {stayDown}, "staff_sweep_end.kaf"));
    moves.push_back(
        Attack("t", "bront_throw.kaf", reaction::THROWN, "T", {}, "bront_throw_end.kaf", "THROW"));
    moves.push_back(
        Attack("fk", "staff_slam.kaf", reaction::KNOCKBACK, "K", {}, "staff_slam_end.kaf"));
}

void Bront::WriteMeshes() const {
    const std::string dir = Dir();
    Lofted(body.hips, {{-8, 11, 8}, {0, 12.2f, 8.6f}, {10, 11.6f, 8.2f}}, 8);
    Lofted(body.belly, {{-1, 11.6f, 8.3f}, {5, 12.4f, 8.6f}, {11, 13.2f, 9}}, 8);
    Lofted(body.chest, {{0, 13.2f, 9}, {8, 15.5f, 10.2f}, {14, 15, 9.4f}, {17, 9, 6.5f}}, 8);
    Lofted(body.neck, {{-1, 4.6f, 4.6f}, {6, 4.2f, 4.4f}}, 6, false);
    Lofted(belt, {{-0.5f, 12.9f, 9.3f}, {4, 12.9f, 9.3f}}, 8, false);
    {
        MeshBuilder head, shadow;
        head.Sphere({0, 97.5f, -0.3f}, {6.6f, 8.2f, 7.4f}, 8, 6);
        head.BoxAt({0, 97, -7.4f}, {1.8f, 3, 2});
        shadow = ShadowWedgeBox({-6.6f, 89.3f, -7.7f}, {6.6f, 105.7f, 7.1f});
        WritePartMeshes(dir, rig.parts[body.head], head, shadow, true);
    }
    for (int side : {RIGHT, LEFT}) {
        const float s = side == RIGHT ? -1.0f : 1.0f;
        const Part& shoulder = rig.parts[rig.parts[body.upper[side]].parent];
        MeshBuilder pad;
        pad.Sphere({13.5f * s, 84, 0}, {6.5f, 4.8f, 6.5f}, 6, 4);
        WritePartMeshes(dir, shoulder, pad, NoShadow(), true);
        Lofted(body.upper[side], {{-1, 5.3f, 5.3f}, {7, 5.8f, 5.5f}, {19.5f, 4.4f, 4.4f}}, 6);
        Lofted(body.fore[side], {{0, 4.4f, 4.4f}, {6, 4.8f, 4.6f}, {17, 3.6f, 3.4f}}, 6);
        MeshBuilder fist;
        fist.Box({-3.2f, 0, -3.2f}, {3.2f, 8, 3.8f});
        WritePartMeshes(dir, rig.parts[body.hand[side]], fist, NoShadow());
        Lofted(body.thigh[side], {{-3, 7.2f, 7.2f}, {10, 6.6f, 7}, {22, 5, 5.4f}}, 6);
        Lofted(body.shin[side], {{0, 5, 5.2f}, {8, 4.8f, 5.4f, -0.6f}, {22, 3.8f, 4}}, 6);
        MeshBuilder boot;
        boot.Box({7 * s - 3.8f, 0, -12.5f}, {7 * s + 3.8f, 7.5f, 4});
        WritePartMeshes(dir, rig.parts[body.foot[side]], boot, NoShadow(), true);
    }
    Lofted(body.weapon, {{-30, 1.8f, 1.8f}, {58, 1.6f, 1.6f}}, 6, false);

    // The cape: chains down the back from the shoulders, widening.
    std::vector<std::vector<Vector3>> rows;
    const ClothPart& c = rig.cloths.front();
    const int columns = static_cast<int>(c.rows.size());
    for (int r = 0; r < columns; ++r) {
        const float t = static_cast<float>(r) / (columns - 1) * 2 - 1;  // -1 .. 1 across
        std::vector<Vector3> chain;
        for (int j = 0; j < c.rows[r]; ++j) {
            const float d = static_cast<float>(j) / (c.rows[r] - 1);
            chain.push_back({t * (10.5f + 4 * d), 84 - 28 * d, 9.8f + 3 * d - 1.5f * t * t});
        }
        rows.push_back(chain);
    }
    WriteCloth(dir + "meshes/" + c.mesh, rows, std::vector<bool>(columns, true), {0, 0, 1});
}

void Bront::WriteImages() const {
    const Vector3 skin(0.74f, 0.52f, 0.38f);
    WriteImage("images/bront_skin.bmp", 64, 64,
               [&](float u, float v) { return skin * (0.92f + 0.12f * Grain(u, v, 8, 11)); });
    WriteImage("images/bront_head.bmp", 128, 64, [&](float u, float v) {
        const float front = std::min(u, 1 - u);  // 0 at the face's middle, 0.5 at the back
        Vector3 c = skin * (0.9f + 0.12f * Grain(u, v, 8, 12));
        if (v < 0.3f) c = c * 0.93f;  // the crown, a shade darker
        const Vector3 beard(0.22f, 0.13f, 0.07f);
        if (front < 0.2f && v > 0.66f - 0.4f * front)
            c = beard * (0.8f + 0.4f * Grain(u, v, 16, 13));
        if (front < 0.035f && std::fabs(v - 0.775f) < 0.03f) c = Vector3(0.35f, 0.12f, 0.1f);
        for (float eye : {0.075f, 0.925f}) {
            const float d = WrappedDistance(u, v, eye, 0.43f, 128, 64);
            if (d < 2.6f) c = Vector3(0.95f, 0.93f, 0.88f);
            if (d < 1.5f) c = Vector3(0.08f, 0.06f, 0.05f);
            const float brow = WrappedDistance(u, v, eye, 0.355f, 128, 64 / 2);
            if (brow < 3.2f && v < 0.37f) c = beard;
        }
        for (float ear : {0.25f, 0.75f})
            if (WrappedDistance(u, v, ear, 0.46f, 128, 64) < 4) c = skin * 0.78f;
        return c;
    });
    WriteImage("images/bront_gi.bmp", 64, 64, [&](float u, float v) {
        const float weave =
            0.85f + 0.15f * ((static_cast<int>(u * 64) + static_cast<int>(v * 64)) % 2);
        return Vector3(0.55f, 0.1f, 0.08f) * weave * (0.9f + 0.15f * Grain(u, v, 4, 14));
    });
    WriteImage("images/bront_trousers.bmp", 64, 64, [&](float u, float v) {
        return Vector3(0.3f, 0.33f, 0.4f) * (0.85f + 0.25f * Grain(u, v, 8, 15));
    });
    WriteImage("images/bront_forearm.bmp", 64, 64, [&](float u, float v) {
        if (v < 0.62f) {  // a leather bracer from the wrist half-way up
            const bool lace = std::fabs(std::fmod(v * 8, 1.0f) - 0.5f) < 0.12f;
            return Vector3(0.33f, 0.2f, 0.1f) * (lace ? 0.6f : 0.9f + 0.2f * Grain(u, v, 8, 16));
        }
        return skin * (0.92f + 0.12f * Grain(u, v, 8, 11));
    });
    WriteImage("images/bront_shin.bmp", 64, 64, [&](float u, float v) {
        if (v < 0.45f) {  // wrapped boot tops
            const bool band = std::fmod(v * 10 + u * 2, 1.0f) < 0.2f;
            return Vector3(0.25f, 0.17f, 0.1f) * (band ? 0.7f : 1.0f);
        }
        return Vector3(0.3f, 0.33f, 0.4f) * (0.85f + 0.25f * Grain(u, v, 8, 15));
    });
    WriteImage("images/bront_boot.bmp", 64, 64, [&](float u, float v) {
        return Vector3(0.2f, 0.13f, 0.08f) * (0.8f + 0.3f * Grain(u, v, 8, 17));
    });
    WriteImage("images/bront_belt.bmp", 64, 64, [&](float u, float v) {
        const bool stud = std::fmod(u * 16, 1.0f) < 0.25f && std::fabs(v - 0.5f) < 0.15f;
        return stud ? Vector3(0.8f, 0.7f, 0.35f) : Vector3(0.1f, 0.07f, 0.05f);
    });
    WriteImage("images/bront_staff.bmp", 64, 64, [&](float u, float v) {
        if (v < 0.035f || v > 0.965f) return Vector3(0.6f, 0.58f, 0.5f);  // iron caps
        if (std::fabs(v - 0.66f) < 0.06f)  // the grip, bound in leather
            return Vector3(0.15f, 0.09f, 0.05f) * (std::fmod(v * 60, 1.0f) < 0.3f ? 0.7f : 1.0f);
        const float grain = Noise(u * 6, v * 40, 6, 18);
        return Vector3(0.5f, 0.33f, 0.16f) * (0.75f + 0.4f * grain);
    });
    WriteImage("images/bront_cape.bmp", 64, 64, [&](float u, float v) {
        if (v > 0.86f)
            return std::fmod(u * 8, 1.0f) < 0.5f ? Vector3(0.75f, 0.6f, 0.2f)
                                                 : Vector3(0.55f, 0.42f, 0.12f);
        return Vector3(0.42f, 0.06f, 0.07f) * (0.85f + 0.2f * Grain(u, v, 4, 19));
    });
    WriteImage("images/bront_trail.bmp", 64, 64, [&](float u, float v) {
        // Brightest at the staff's end and where the staff is now.
        const float k = u * u * (1 - v) * (1 - v);
        return Vector3(1.0f, 0.65f, 0.2f) * k;
    });
    // The cuirass's relief: plates, their rims and a row of rivets.
    WriteGreyImage("images/bront_cuirass.bmp", 128, 128, [&](float u, float v) {
        const float plate = std::fabs(std::fmod(v * 5, 1.0f) - 0.5f);
        float h = plate > 0.42f ? 0.2f : 0.65f;
        const float rivetU = std::fmod(u * 16, 1.0f) - 0.5f,
                    rivetV = std::fmod(v * 5, 1.0f) - 0.15f;
        if (rivetU * rivetU + rivetV * rivetV * 4 < 0.03f) h = 1.0f;
        return h + 0.15f * (Grain(u, v, 16, 20) - 0.5f);
    });
}

void Bront::WriteMaterials() const {
    const std::string dir = Dir() + "materials/";
    WriteMaterial(dir + "skin.mat", BodyMaterial("bront_skin.bmp"));
    WriteMaterial(dir + "arm.mat", BodyMaterial("bront_skin.bmp"));
    WriteMaterial(dir + "head.mat", BodyMaterial("bront_head.bmp"));
    WriteMaterial(dir + "gi.mat", BodyMaterial("bront_gi.bmp"));
    WriteMaterial(dir + "pad.mat", BodyMaterial("bront_gi.bmp"));
    WriteMaterial(dir + "trousers.mat", BodyMaterial("bront_trousers.bmp"));
    WriteMaterial(dir + "forearm.mat", BodyMaterial("bront_forearm.bmp"));
    WriteMaterial(dir + "shin.mat", BodyMaterial("bront_shin.bmp"));
    WriteMaterial(dir + "boot.mat", BodyMaterial("bront_boot.bmp"));
    WriteMaterial(dir + "belt.mat", BodyMaterial("bront_belt.bmp"));
    MatSpec staff = BodyMaterial("bront_staff.bmp", "PLANARX");
    WriteMaterial(dir + "staff.mat", staff);
    MatSpec cuirass = BodyMaterial("bront_cuirass.bmp");
    cuirass.bump = true;
    cuirass.ambient = Vector3(0.3f, 0.2f, 0.12f);
    cuirass.diffuse = Vector3(0.75f, 0.48f, 0.26f);
    WriteMaterial(dir + "cuirass.mat", cuirass);
    MatSpec cape = BodyMaterial("bront_cape.bmp", "NONE");
    cape.scaleU = 1;
    WriteMaterial(dir + "cape.mat", cape);
    MatSpec trail = BodyMaterial("bront_trail.bmp", "NONE");
    trail.scaleU = 1;
    trail.ambient = Vector3(0, 0, 0);
    trail.diffuse = Vector3(0, 0, 0);
    trail.emission = Vector3(1, 1, 1);
    trail.blend = "ONE";
    WriteMaterial(dir + "trail.mat", trail);
}

}  // namespace

void WriteBront() { Bront().Write(); }

}  // namespace content
