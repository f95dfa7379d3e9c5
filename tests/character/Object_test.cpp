#include "character/Object.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "character/Bone.h"
#include "character/Cloth.h"
#include "character/ClothPony.h"
#include "character/Head.h"
#include "character/LockBone.h"
#include "character/Person.h"
#include "character/Pony.h"
#include "character/PonyBone.h"
#include "character/Ponytail.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "render/Mesh3DS.h"
#include "render/MeshQuad.h"
#include "scene/DirectionalLight.h"
#include "scene/PointLight.h"
#include "support/ClockGuard.h"
#include "support/DisplayGuard.h"
#include "support/GLContext.h"
#include "support/MeshText.h"
#include "support/Near.h"
#include "support/RenderFiles.h"
#include "support/Screenshot.h"

namespace {

const float PI = 3.14159265358979f;

// A node standing at `at` whose limb runs along world x: its own y axis is
// world x, its x axis world -y.
Object* LimbAlongX(const Vector3& at, const Vector3& size, Object* parent = nullptr,
                   Mesh* mesh = nullptr, Material* material = nullptr) {
    return new Object(parent, at, Vector3(0, -1, 0), Vector3(1, 0, 0), Vector3(0, 0, 1), size,
                      mesh, mesh, nullptr, material);
}

// A node with the world's axes, at `at`.
Object* Upright(const Vector3& at, Mesh* mesh = nullptr, Material* material = nullptr) {
    return new Object(nullptr, at, Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1),
                      Vector3(1, 1, 1), mesh, mesh, nullptr, material);
}

// Counts its own destructions so that a test can tell whether a node let go.
class Counted : public Material {
public:
    explicit Counted(const std::string& file) { fileName = file; }
    ~Counted() override { ++destroyed; }
    static inline int destroyed = 0;
};

TEST(ObjectMaterials, TheFirstMaterialOfAFileIsRegisteredAndLaterLoadsShareIt) {
    DisplayGuard display;
    Counted::destroyed = 0;
    Counted* skin = new Counted("materials/skin.mat");
    Ptr<Object> a = Upright(Vector3(), nullptr, skin);
    Ptr<Object> b = Upright(Vector3(), nullptr, new Counted("materials/skin.mat"));
    EXPECT_TRUE(b->material == skin && Counted::destroyed == 1) << "a second load of the file is thrown away";
    {
        Ptr<Material> held = new Counted("materials/skin.mat");
        Ptr<Object> c = Upright(Vector3(), nullptr, held);
        EXPECT_TRUE(c->material == skin && Counted::destroyed == 1) << "but not while someone else holds it";
    }
    Ptr<Object> again = Upright(Vector3(), nullptr, skin);
    Material red, blue;  // no file: never mistaken for each other
    Ptr<Object> d = Upright(Vector3(), nullptr, &red);
    Ptr<Object> e = Upright(Vector3(), nullptr, &blue);
    EXPECT_TRUE(e->material == &blue && display->materials.count == 3);
    delete skin;
}

// The defender's ellipsoid: centre (15, 0, 0), semi-axes 11 along x, 4.4
// along y and 6.6 along z.
class ObjectCollision : public ::testing::Test {
protected:
    bool Sweep(const Vector3& prevPos, const Vector3& prevTip, const Vector3& pos, const Vector3& tip) {
        blade.prevPos = prevPos, blade.prevTip = prevTip, blade.worldPos = pos, blade.tip = tip;
        return blade.Collision(defender);
    }
    // How deep a point of the defender's node frame lies: below 1 inside.
    float Depth(const Vector3& p) const {
        const Vector3 s = defender->size;
        return Vector3(p.x / s.x, (p.y - s.y / 2) / (s.y / 2), p.z / s.z).Length();
    }
    Ptr<Object> defender = LimbAlongX(Vector3(5, 0, 0), Vector3(4, 20, 6));
    Object blade;
};

TEST_F(ObjectCollision, ATipInsideHitsAtTheSamePlaceOfTheBodyWhereverTheBodyIs) {
    const Vector3 tip(17, 1, 2);
    for (int moved = 0; moved < 2; ++moved) {
        const Vector3 at = defender->world * tip;
        blade.contact = Vector3();
        ASSERT_TRUE(Sweep(at, at, Vector3(-100, 0, 0), at)) << moved;
        EXPECT_TRUE(Near(blade.contact, Vector3(-1, 12, 2))) << moved;
        defender->SetRotation(Vector3(0, PI / 2, 0));
        defender->SetPosition(Vector3(0, 0, 30));
        defender->Update();
    }
}

TEST_F(ObjectCollision, SegmentsOutsideMissAndLeaveTheContactAlone) {
    blade.contact = Vector3(7, 7, 7);
    // Twice the half-width above the axis, and swept past just outside the side.
    EXPECT_FALSE(Sweep(Vector3(-5, 8, 0), Vector3(35, 8, 0), Vector3(-5, 8, 0), Vector3(35, 8, 0)));
    EXPECT_FALSE(Sweep(Vector3(-40, 0, 7), Vector3(-40, 0, 9), Vector3(60, 0, 7), Vector3(60, 0, 9)));
    EXPECT_EQ(blade.contact, Vector3(7, 7, 7));
}

TEST_F(ObjectCollision, AFastBlowThatPassesThroughBetweenTwoUpdatesIsCaught) {
    // A long blade whose root end crosses the ellipsoid: both ends, before and
    // after, and every point a first look at the swept quad tests lie far
    // outside; only quartering towards the right corner finds the way
    // through. Swept and held either way round, the hit lies in each quarter.
    const Vector3 near(10, 0, -60), far(10, 0, 25), across(0, 30, 0);
    const struct {
        Vector3 before, after, blade;
    } sweeps[] = {{near, far, across},
                  {far, near, across},
                  {near + across, far + across, -across},
                  {far + across, near + across, -across}};
    for (const auto& sweep : sweeps) {
        const Vector3 q[4] = {sweep.after, sweep.after + sweep.blade, sweep.before, sweep.before + sweep.blade};
        const Vector3 tested[9] = {q[0], q[1], q[2], q[3], (q[0] + q[1]) / 2, (q[2] + q[3]) / 2,
                                   (q[0] + q[2]) / 2, (q[1] + q[3]) / 2, (q[0] + q[1] + q[2] + q[3]) / 4};
        for (const Vector3& p : tested) EXPECT_GT(Depth(defender->restInverse * p), 1.2f);
        ASSERT_TRUE(Sweep(sweep.before, sweep.before + sweep.blade, sweep.after, sweep.after + sweep.blade))
            << "from " << sweep.before << "to " << sweep.after;
        EXPECT_LT(Depth(blade.contact), 1);
    }
}

class ObjectDraw : public GLTest {
protected:
    DisplayGuard display;
};

// An upright node at the origin that records its first vertex's texture
// coordinates at every draw of its mesh.
class EmbossProbe : public Object {
public:
    EmbossProbe(Mesh* mesh, Material* material)
        : Object(nullptr, Vector3(), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1), Vector3(1, 1, 1),
                 mesh, mesh, nullptr, material) {}
    void DrawMesh() override {
        seen.push_back({mesh->vertices[0].u, mesh->vertices[0].v});
        Object::DrawMesh();
    }
    std::vector<std::pair<float, float>> seen;
};

TEST_F(ObjectDraw, BumpMaterialsEmbossInTheLitPassesSlidingTheSecondTowardsTheLight) {
    Material bumpy;
    bumpy.bump = true;
    // Facing +z, with its first vertex at texture coordinates (0, 0).
    MeshQuad quad(Vector3(-1, -1, 0), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(2, 2, 0));
    EmbossProbe o(&quad, &bumpy);
    const std::vector<Vertex> before = quad.vertices;
    o.DrawAmbient();
    EXPECT_TRUE(o.seen.empty()) << "the ambient pass leaves bump materials to the lit pass";
    // A sun shining along -x, a quarter turn of azimuth; then a lamp
    // straight above the node wherever it has moved, a quarter of elevation.
    DirectionalLight sun(Vector3(1, 1, 1), Vector3(-1, 0, 0));
    PointLight lamp(Vector3(1, 1, 1), Vector3(30, 10, 0));
    const struct {
        Light* light;
        Vector3 at;
        float u, v;
    } cases[] = {{&sun, Vector3(), -0.004f, 0}, {&lamp, Vector3(30, 0, 0), 0, 0.004f}};
    display->lights.Add(&sun);
    for (const auto& c : cases) {
        display->lights[0] = c.light;
        o.SetPosition(c.at);
        o.Update();
        o.seen.clear();
        o.DrawNonAmbient();
        ASSERT_EQ(o.seen.size(), 2u);
        EXPECT_TRUE(o.seen[0] == std::make_pair(0.0f, 0.0f) && std::fabs(o.seen[1].first - c.u) < 1e-6f &&
                    std::fabs(o.seen[1].second - c.v) < 1e-6f) << o.seen[1].first << ", " << o.seen[1].second;
    }
    for (int i = 0; i < quad.numVertices; ++i) EXPECT_EQ(quad.vertices[i].u, before[i].u);
    // Facing back and a little to one side, lit from behind and a little to the
    // other: azimuths nearly a whole turn apart are a small angle the other way.
    for (const float side : {1.0f, -1.0f}) {
        MeshQuad back(Vector3(), Vector3(-1, 0, 0.1f * side), Vector3(0, 1, 0), Vector3(2, 2, 0));
        EmbossProbe b(&back, &bumpy);
        DirectionalLight behind(Vector3(1, 1, 1), Vector3(-0.1f * side, 0, 1));
        display->lights[0] = &behind;
        b.DrawNonAmbient();
        ASSERT_EQ(b.seen.size(), 2u);
        EXPECT_NEAR(b.seen[1].first - b.seen[0].first, 0.000507f * side, 1e-5f) << side;
    }
}

TEST_F(ObjectDraw, EachShadowTakesTheNextMatrixUpToTheLast) {
    const std::vector<Matrix> saved(ShadMtx, ShadMtx + SHADOW_MATRICES);
    display->materials.Add(new Material());
    for (int i = 0; i < SHADOW_MATRICES; ++i) ShadMtx[i].CreateTranslate(float(i), 0, 0);
    MeshQuad quad(Vector3(), Vector3(1, 0, 0), Vector3(0, 0, 1), Vector3(1, 1, 0));
    Ptr<Object> o = Upright(Vector3(), &quad);
    for (int call = 0; call < 45; ++call) {
        o->DrawShadow();
        float modelView[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
        EXPECT_EQ(modelView[12], std::min(call, SHADOW_MATRICES - 1)) << "call " << call;
    }
    Ptr<Object> bare = new Object();
    shadowctr = 3;
    bare->DrawShadow();
    EXPECT_EQ(shadowctr, 4) << "without a shadow mesh the counter still moves";
    delete display->materials[0];
    std::copy(saved.begin(), saved.end(), ShadMtx);
    shadowctr = 0;
}

// Bones and what hangs from them: weapons, heads, hair and cloth.
template <class Part>
Part* Make(Object* parent, const Vector3& joint, const Vector3& end,
           const Vector3& hint = Vector3(0, 0, 1)) {
    return new Part(parent, joint, end, hint, Vector3(2, (end - joint).Length(), 2), nullptr,
                    nullptr, nullptr, nullptr);
}

TEST(Bone, RunsFromItsJointToItsEndAndTurnsAboutTheJoint) {
    // An upper arm held out along x, its hint leaning forward and up.
    Ptr<Bone> arm = Make<Bone>(nullptr, Vector3(10, 140, 0), Vector3(40, 140, 0), Vector3(1, 0, 1));
    EXPECT_TRUE(Near(arm->restY, Vector3(1, 0, 0)) && Near(arm->restX, Vector3(0, -1, 0)) &&
                Near(arm->restZ, Vector3(0, 0, 1)));
    arm->SetRotation(Vector3(0, 0, PI / 2));  // CreateRotateZ takes x onto -y
    arm->Update();
    EXPECT_TRUE(Near(arm->worldPos, Vector3(10, 140, 0)) && Near(arm->tip, Vector3(10, 110, 0)) &&
                Near(arm->prevTip, Vector3(40, 140, 0)));
    Ptr<Bone> point = Make<Bone>(nullptr, Vector3(1, 2, 3), Vector3(1, 2, 3));
    EXPECT_EQ(point->restY, Vector3(0, 1, 0)) << "a zero segment keeps the up axis";
}

TEST(LockBone, MovesWithItsParentWhateverItsAnimationSays) {
    Ptr<Bone> hand = Make<Bone>(nullptr, Vector3(0, 100, 0), Vector3(0, 80, 0));
    Ptr<LockBone> sword = Make<LockBone>(hand, Vector3(0, 80, 0), Vector3(0, 20, 0));
    for (int frame = 1; frame <= 3; ++frame) {
        hand->SetRotation(Vector3(0, 0, frame * 0.4f));
        hand->Update();
        if (frame < 3) sword->SetRotation(Vector3(frame * 1.3f, -0.7f, 2.0f));  // ignored
        sword->Update();
        EXPECT_TRUE(Near(sword->world, hand->world) && Near(sword->worldPos, hand->tip) &&
                    Near(sword->tip - sword->worldPos, (hand->tip - hand->worldPos) * 3)) << frame;
    }
}

class HeadTest : public ::testing::Test {
protected:
    // The target 200 away where the head faces it at yaw `angle`: the head's
    // z axis at yaw a is (-sin a, 0, cos a) and points away from what it sees.
    void PutTargetAt(float angle) {
        target.worldPos = head->worldPos - Vector3(-std::sin(angle), 0, std::cos(angle)) * 200;
    }
    // Runs `frames` updates, none of which may turn more than a step.
    void Run(int frames) {
        for (int i = 0; i < frames; ++i) {
            const float before = head->look.y;
            head->Update();
            ASSERT_LE(std::fabs(head->look.y - before), 0.05f + 1e-5f) << "frame " << i;
            furthest = std::fmax(furthest, std::fabs(head->look.y));
        }
    }
    ClockGuard clock;
    Ptr<Bone> neck = Make<Bone>(nullptr, Vector3(0, 130, 0), Vector3(0, 150, 0));
    Ptr<Head> head = Make<Head>(neck, Vector3(0, 150, 0), Vector3(0, 175, 0));
    Object target;
    float furthest = 0;
};

TEST_F(HeadTest, WithoutATargetItFollowsTheNeckAndIgnoresItsAnimation) {
    neck->SetRotation(Vector3(0, 0, PI / 2));
    neck->Update();
    head->SetRotation(Vector3(1, 1, 1));
    head->Update();
    EXPECT_TRUE(Near(head->worldPos, neck->tip) && Near(head->tip, Vector3(45, 130, 0)));
}

TEST_F(HeadTest, TurnsAStepAFrameTowardsTheTargetButNoFurtherThanTheLimit) {
    head->target(&target);
    const struct {
        float angle;
        int frames;
        float look, tolerance;
    } cases[] = {{0, 20, 0, 0}, {0.5f, 5, 0.25f, 1e-4f}, {0.5f, 30, 0.5f, 0.05f},
                 {-0.3f, 40, -0.3f, 0.05f}, {2.6f, 60, 1.325f, 0.025f}, {-2.6f, 120, -1.325f, 0.025f}};
    for (const auto& c : cases) {
        PutTargetAt(c.angle);
        Run(c.frames);
        EXPECT_NEAR(head->look.y, c.look, c.tolerance) << c.angle;
    }
    EXPECT_LE(furthest, 1.35f + 1e-4f);
    PutTargetAt(0.5f);
    Run(40);
    const Vector3 z = (head->world * head->rest ^ Vector3(0, 0, 1)).Normalized();
    EXPECT_GT(z.Dot((head->worldPos - target.worldPos).Normalized()), 0.99f)
        << "facing the target, the head's z axis points straight away from it";
}

// Pony hair (rigid segments) and ponytails (a mesh dealt out to segments).
Vector3 Direction(const Object& segment) { return (segment.tip - segment.worldPos).Normalized(); }

class HairTest : public ::testing::Test {
protected:
    HairTest() { clock.At(0, 16); }
    ClockGuard clock;
    Ptr<Object> bone = new Object();  // still, at the origin, unless a test turns it
};

TEST_F(HairTest, APonyChainSwingsRoundInOne200MsStepHangingLowerLinkByLinkAndStandsStillWithoutFrameTime) {
    for (const int frameMs : {200, 0}) {
        clock.At(0, 200);
        bone->world.CreateIdentity();
        Ptr<Pony> chain[3];
        for (int i = 0; i < 3; ++i) {
            chain[i] = new Pony(i == 0 ? static_cast<Object*>(bone) : chain[i - 1], {10.0f * i, 0, 0},
                                {10.0f * i + 10, 0, 0}, {0, 0, 1}, {1, 1, 1}, nullptr, nullptr, nullptr, nullptr, i == 0);
        }
        for (int step = 0; step < 6; ++step) chain[step % 3]->Update();
        const Vector3 before = Direction(*chain[2]);
        bone->world.CreateRotateY(1.5707963f);  // the chain swings from +x round to +z
        clock.At(0, frameMs);
        for (Pony* p : chain) p->Update();
        if (frameMs == 0) {
            EXPECT_TRUE(Near(Direction(*chain[2]), before, 1e-6f));
            continue;
        }
        EXPECT_TRUE(Near(Direction(*chain[0]), (bone->world ^ Vector3(1, 0, 0)).Normalized()))
            << "a root follows its bone alone";
        for (int i = 1; i < 3; ++i) {
            const Vector3 d = Direction(*chain[i]);
            EXPECT_TRUE(Near(chain[i]->worldPos, chain[i - 1]->tip) && std::fabs(d.x) < 1e-4 &&
                        d.y < Direction(*chain[i - 1]).y - 0.1f &&
                        std::fabs((chain[i]->tip - chain[i]->worldPos).Length() - 10) < 1e-4) << i;
        }
    }
}

TEST_F(HairTest, ATailSegmentBendsNoMoreThan60DegreesFromItsParent) {
    // With flex 1 only its last direction counts.
    Ptr<PonyBone> loose = new PonyBone(bone, {0, 0, 0}, {10, 0, 0}, {0, 0, 1}, 1, 0, 0, true);
    loose->Update(), loose->Update();
    loose->tip = Vector3(-10, 3, 0);  // well behind the bone
    loose->Update();
    EXPECT_TRUE(Direction(*loose).Dot(Vector3(1, 0, 0)) >= 0.5f - 1e-6f && Direction(*loose).y > 0)
        << "pulled round on the side it was";
    loose->tip = Vector3(-10, 0, 0);  // exactly opposite: no side to pull it round by
    loose->Update();
    EXPECT_TRUE(Near(loose->tip, Vector3(10, 0, 0)));
    Ptr<PonyBone> flat = new PonyBone(bone, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, 1, 0, 0, true);
    Ptr<PonyBone> below = new PonyBone(flat, {0, 0, 0}, {0, -5, 0}, {0, 0, 1}, 1, 0, 0, false);
    for (int step = 0; step < 3; ++step) flat->Update(), below->Update();
    EXPECT_TRUE(std::isfinite(below->tip.x) && std::isfinite(below->tip.y))
        << "a segment hanging from no direction still steps";
}

// Two 10-unit segments hanging straight down from the origin, three
// vertices each: one on the axis at the segment's end, two to the side.
class PonytailTest : public HairTest {
protected:
    PonytailTest() {
        for (Mesh* m : {&mesh, &restMesh}) {
            m->Allocate(6, 2);
            for (int i = 0; i < 6; ++i) m->vertices[i].pos = positions[i], m->faces[i] = i;
        }
    }
    void Build(float flex) {
        flexes[0] = flexes[1] = flex;
        tail = new Ponytail(bone, 2, &mesh, &restMesh, nullptr, counts, joints, ends, hints, flexes);
    }
    const Vector3 positions[6] = {{0, -10, 0}, {1, -5, 0}, {0, -2, 1}, {0, -20, 0}, {1, -15, 0}, {0, -12, -1}};
    Mesh mesh, restMesh;
    int counts[2] = {3, 3};
    Vector3 joints[2] = {{0, 0, 0}, {0, -10, 0}};
    Vector3 ends[2] = {{0, -10, 0}, {0, -20, 0}};
    Vector3 hints[2] = {{0, 0, 1}, {0, 0, 1}};
    float flexes[2] = {0.5f, 0.5f};
    Ptr<Ponytail> tail;
};

TEST_F(PonytailTest, EachSegmentKeepsItsVerticesInItsOwnFrameAndItsBandOfTheTexture) {
    Build(0.5f);
    ASSERT_EQ(tail->bones.count, 2);
    // Segment i spreads over the middle half of the i-th of two bands, top to bottom.
    const float v[6] = {0.375f, -1, 0.125f, 0.875f, -1, 0.625f};
    for (int j : {0, 2, 3, 5}) EXPECT_NEAR(restMesh.vertices[j].v, v[j], 1e-6) << j;
    bone->world.CreateRotateZ(0.5f);  // the bone swings the tail sideways
    tail->Update();
    for (int i = 0; i < 2; ++i) {
        const PonyBone* segment = tail->bones[i];
        EXPECT_TRUE(Near(mesh.vertices[3 * i].pos, segment->tip) &&
                    std::fabs((mesh.vertices[3 * i + 1].pos - segment->worldPos).Length() -
                              restMesh.vertices[3 * i + 1].pos.Length()) < 1e-4) << i;
    }
    EXPECT_NEAR(mesh.vertices[0].normal.Length(), 1, 1e-5) << "normals recomputed";
    int one[1] = {1};
    tail = new Ponytail(bone, 1, &mesh, &restMesh, nullptr, one, joints, ends, hints, flexes);
    EXPECT_FLOAT_EQ(restMesh.vertices[0].v, 0.5f) << "all at one height: the band's middle, not NaN";
}

TEST_F(PonytailTest, ANewTailIgnoresItsPreviousTipForTwoUpdates) {
    Build(0.9f);
    PonyBone* root = tail->bones[0];
    for (int step = 0; step < 3; ++step) {
        root->tip = Vector3(10, 0, 0);  // a last tip straight out to the side
        tail->Update();
        EXPECT_EQ(Direction(*root).x > 0.5f, step == 2) << "from the third update on it trails";
    }
}

// Rows side by side along x, each running down from y = 0 in steps of 5.
Mesh Rows(const std::vector<int>& counts, const std::vector<int>& faces = {}) {
    Mesh mesh;
    for (size_t r = 0; r < counts.size(); ++r) {
        for (int j = 0; j < counts[r]; ++j) mesh.vertices.push_back(Vertex(Vector3(10.0f * r, -5.0f * j, 0), Vector3(0, 0, 1), 0, 0));
    }
    mesh.numVertices = static_cast<int>(mesh.vertices.size());
    mesh.faces = faces;
    mesh.numFaces = static_cast<int>(faces.size() / 3);
    return mesh;
}

class ClothTest : public ::testing::Test {
protected:
    ClothTest() { clock.At(0, 50); }
    // One row of `count` vertices, every link of flexibility `flex`.
    Cloth* Row(Mesh& mesh, int count, float flex) {
        flexes.assign(count, flex);
        rows[0] = flexes.data();
        counts[0] = count;
        return new Cloth(bone, 1, counts, rows, &mesh, nullptr, count);
    }
    ClockGuard clock;
    Ptr<Object> bone = new Object();  // the cloth hangs from it; tests move it through world
    std::vector<float> flexes;
    const float* rows[1] = {};
    int counts[1] = {};
};

TEST_F(ClothTest, TheMeshIsDoubledWithTheTwinsWoundBackwardsAndMappedAcrossTheRows) {
    Mesh quad = Rows({2, 2}, {0, 2, 1, 1, 2, 3});
    const float rigid[1] = {0};
    const float* flex[2] = {rigid, rigid};
    const int two[2] = {2, 2};
    Ptr<Cloth> cloth = new Cloth(bone, 2, two, flex, &quad, nullptr, 2);
    EXPECT_TRUE(quad.numVertices == 8 && quad.faces == (std::vector<int>{0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6}));
    // Rows of 2, 1 and 3 vertices; the single one reads no flexibility.
    Mesh mesh = Rows({2, 1, 3});
    const float row0[1] = {0.5f}, row2[2] = {0.5f, 0.5f};
    const float* uneven[3] = {row0, nullptr, row2};
    const int three[3] = {2, 1, 3};
    cloth = new Cloth(bone, 3, three, uneven, &mesh, nullptr, 3);
    const float e = 2.001f;  // rows (and the longest row) less 0.999
    const float uv[6][2] = {{0, 0}, {0, 1 / e}, {1 / e, 0}, {2 / e, 0}, {2 / e, 1 / e}, {2 / e, 2 / e}};
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(Near(Vector3(mesh.vertices[i].u, mesh.vertices[i].v, 0), Vector3(uv[i][0], uv[i][1], 0), 1e-6f)) << i;
    bone->world.CreateTranslate(0, 0, 7);
    cloth->Update();
    EXPECT_TRUE(Near(mesh.vertices[2].pos, Vector3(10, 0, 7))) << "the single vertex rides the bone";
}

TEST_F(ClothTest, ARowIsAChainOfLinksWithTwinsRigidOnesStayOnTheBoneAndAnyOtherFlexibilityTrailsAsATenth) {
    Mesh rigid = Rows({3}), half = Rows({3}), most = Rows({3});
    Ptr<Cloth> stiff = Row(rigid, 3, 0), a = Row(half, 3, 0.5f), b = Row(most, 3, 0.9f);
    ASSERT_EQ(a->links.count, 2);
    EXPECT_EQ(static_cast<Object*>(a->links[1]->parent), a->links[0]);
    Matrix turn, move;
    turn.CreateRotateY(1.2f);
    move.CreateTranslate(4, 30, -2);
    bone->world = move * turn;
    for (int step = 0; step < 4; ++step) {
        stiff->Update(), a->Update(), b->Update();
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(half.vertices[3 + j].pos, half.vertices[j].pos) << "the twin follows " << j;
            EXPECT_NEAR((half.vertices[j].pos - half.vertices[j > 0 ? j - 1 : 0].pos).Length(), j > 0 ? 5 : 0, 1e-4);
        }
    }
    for (int j = 0; j < 3; ++j) {
        EXPECT_TRUE(Near(rigid.vertices[j].pos, bone->world * Vector3(0, -5.0f * j, 0)) &&
                    Near(half.vertices[j].pos, most.vertices[j].pos, 1e-6f)) << j;
    }
    EXPECT_TRUE(Near(half.vertices[0].pos, rigid.vertices[0].pos)) << "the first vertex rides the bone";
    EXPECT_GT((half.vertices[2].pos - rigid.vertices[2].pos).Length(), 0.1f) << "a loose link lags";
}

TEST_F(ClothTest, ALooseLinkNeverPassesBehindTheSurface) {
    // A link hanging down from the bone, which then moves sideways: in front of
    // the surface it trails towards -x, behind it it stays in place.
    for (const float side : {1.0f, -1.0f}) {
        bone->world.CreateIdentity();
        Ptr<ClothPony> link = new ClothPony(bone, {0, 0, 0}, {0, -10, 0}, true, false, 0.5f);
        bone->world.CreateTranslate(10, 0, 0);
        link->normal = Vector3(side, 0, 0);
        link->Update();
        EXPECT_TRUE(Near(link->tip, Vector3(10, -10, 0)) == (side > 0) && (link->tip.x < 9.9f) == (side < 0));
    }
}

const char* const TORSO = "0 TORSO body.asc skin.mat 0 -1  0 0 0  0 50 0  0 0 1  10 50 10\n";
const char* const WEAPON = "1 WEAPON body.asc skin.mat 0 0  0 40 0  30 40 0  0 0 1  3 30 3\n";
const char* const HEAD = "2 HEAD body.asc skin.mat 0 0  0 50 0  0 65 0  0 0 1  8 15 8\n";

// A fighter "kira" whose every part is one triangle; the body is the test's.
class PersonTest : public ::testing::Test {
protected:
    PersonTest() {
        const std::string triangle = meshtext::OneTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
        WriteFile("characters/kira/meshes/body.asc", triangle);
        WriteFile("characters/kira/3/body.asc", triangle);
        WriteFile("characters/kira/meshes/skirt.asc", meshtext::Sheet(2, 3, 0, 2, 0, 0, 1, {0, 0, 1}));
        WriteFile("characters/kira/materials/skin.mat", ColourMaterial({0.8f, 0.6f, 0.5f}));
        WriteFile("materials/trail.mat", ColourMaterial({1, 1, 1}, {1, 1, 1}));
    }
    static void Body(const std::string& text) { WriteFile("characters/kira/low.bdf", text); }
    RenderScratch scratch;
};

TEST_F(PersonTest, BuildsEveryJointedPartWithItsTrailAndMovesThemWithTheRoot) {
    Body(std::string("3 meshes\n") + TORSO + WEAPON + HEAD);
    WriteFile("characters/kira/tracerlist.txt", "1 materials/trail.mat\n");
    Person kira("kira", 1);
    EXPECT_TRUE(kira.nbones == 3 && kira.ncollide == 3 && kira.tracers.count == 3 && kira.tracerMaterials.count == 1);
    ASSERT_EQ(kira.weapons.count, 1);
    EXPECT_TRUE(kira.weapons[0] == 1 && dynamic_cast<Head*>(static_cast<Object*>(kira.head)) != nullptr);
    kira.SetPosition(Vector3(100, 0, 0));
    kira.Update();
    EXPECT_TRUE(Near(kira.bones[1]->worldPos, Vector3(100, 40, 0), 1e-3f));
    kira.Reset();
    kira.Update();
    EXPECT_TRUE(Near(kira.bones[0]->worldPos, Vector3(), 1e-3f));
}

TEST_F(PersonTest, ClothRowsReadOneFlexibilityPerLinkAndAreNeverStruck) {
    // A folder that ends in a slash gets no second one; a row of one point
    // has no link and so no flexibility: the head after it is read whole.
    Body(std::string("3 meshes/\n") + TORSO + "1 CLOTH skirt.asc skin.mat 0 2  3 0.5 1.5  1\n" + HEAD);
    const Person kira("kira", 1);
    ASSERT_EQ(kira.bones.count, 3);
    EXPECT_TRUE(dynamic_cast<Cloth*>(static_cast<Object*>(kira.bones[1])) && kira.bones[1]->mesh->numVertices > 0);
    EXPECT_EQ(kira.ncollide, 2) << "cloth is never struck";
}

// A body definition that breaks off keeps the parts before the break and
// says on standard error where and why.
TEST_F(PersonTest, ABrokenBodyKeepsThePartsReadBeforeTheBreakAndSaysWhere) {
    const struct {
        std::string text;
        int parts;
        const char* problem;
    } bodies[] = {
        {"1001 meshes\n" + std::string(TORSO), 0,
         "low.bdf:1: expected an entry count from 0 to 1000, found 1001"},
        {std::string("2 meshes\n") + TORSO + "1 WEAPON body.asc skin.mat 0 0  0 50 0  0 fifty -30\n", 1,
         "low.bdf:3: expected a number, found 'fifty'"},
        {std::string("3 meshes\n") + TORSO, 1, "low.bdf:3: expected a whole number, found the end of the file"},
    };
    for (const auto& body : bodies) {
        Body(body.text);
        ::testing::internal::CaptureStderr();
        const Person kira("kira", 1);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(kira.bones.count == body.parts && said.find(std::string("characters/kira/") + body.problem) != std::string::npos)
            << body.text << said;
    }
    EXPECT_EQ(Person("nobody", 1).nbones, 0);
}

using PersonDeathTest = PersonTest;

TEST_F(PersonDeathTest, EntriesOutOfOrderOrHangingFromLaterOnesEndTheProgram) {
    Body(std::string("2 meshes\n") + TORSO + "5 ARM body.asc skin.mat 0 0  0 40 0  30 40 0  0 0 1  3 30 3\n");
    EXPECT_EXIT(Person("kira", 1), ::testing::ExitedWithCode(255),
                "characters/kira/low.bdf:3: entry 1 is numbered 5");
    Body(std::string("3 meshes\n") + TORSO + "1 CLOTH skirt.asc skin.mat 7 1  3 0.5 0.5\n");
    EXPECT_EXIT(Person("kira", 1), ::testing::ExitedWithCode(255),
                "characters/kira/low.bdf:3: entry 1 hangs from entry 7");
}

// A small fighter (bones, a head, a weapon, a ponytail, a cloth, a
// bump-mapped torso) standing in its rest pose on a floor, drawn in every
// pass the frame uses. The pixels read back must show the fighter where it
// stands and a darker shadow on the floor beside it.
const char* const BODY =
    "7 meshes\n"
    "0 TORSO torso.asc bump.mat 0 -1  0 40 0  0 80 0  0 0 1  14 40 9\n"
    "1 WEAPON arm.asc red.mat 0 0  12 75 0  40 75 0  0 1 0  4 28 4\n"
    "2 HEAD head.asc red.mat 0 0  0 80 0  0 96 0  0 0 1  8 16 8\n"
    "3 LEG leg.asc red.mat 0 -1  -6 40 0  -6 0 0  0 0 1  5 40 5\n"
    "4 LEG leg2.asc red.mat 0 -1  6 40 0  6 0 0  0 0 1  5 40 5\n"
    "5 PONYTAIL hair.asc hair.mat 0 2 1  8 0.5  0 92 6  0 70 14  0 0 1\n"
    "6 CLOTH skirt.asc cloth.mat 0 4  3 0.5 0.5  3 0.5 0.5  3 0.5 0.5  3 0.5 0.5\n";

void WriteRig() {
    const std::string rig = "characters/rig/";
    using meshtext::Box;
    const struct {
        const char* file;
        std::string text;
    } meshes[] = {{"torso.asc", Box({-14, 40, -9}, {14, 80, 9})},  {"arm.asc", Box({12, 71, -4}, {40, 79, 4})},
                  {"head.asc", Box({-8, 80, -8}, {8, 96, 8})},     {"leg.asc", Box({-11, 0, -5}, {-1, 40, 5})},
                  {"leg2.asc", Box({1, 0, -5}, {11, 40, 5})},      {"hair.asc", Box({-3, 70, 6}, {3, 92, 14})},
                  {"skirt.asc", meshtext::Sheet(4, 3, -16, 16, -10, 44, 10, {0, 0, -1})}};
    for (const auto& mesh : meshes) {
        WriteFile(rig + "meshes/" + mesh.file, mesh.text);
        WriteFile(rig + "3/" + mesh.file, mesh.text);
    }
    WriteFile(rig + "materials/red.mat", ColourMaterial({0.9f, 0.1f, 0.1f}, {0.2f, 0, 0}));
    WriteFile(rig + "materials/hair.mat", ColourMaterial({0.1f, 0.1f, 0.9f}, {0, 0, 0.2f}));
    WriteFile(rig + "materials/cloth.mat",
              "- 1 1 0 0 CLOTH false false ambi 0 0.3 0 diff 0.1 0.9 0.1 emis 0 0.2 0 "
              "specular 0 0 0 shine 0");
    // An 8-bit height image: stripes of relief for the emboss passes.
    std::vector<std::uint8_t> height(16 * 16);
    for (int i = 0; i < 16 * 16; ++i) height[i] = (i / 16) % 4 < 2 ? 230 : 20;
    WriteBmp("images/relief.bmp", 16, 16, 8, height);
    WriteFile(rig + "materials/bump.mat",
              "BUMP relief.bmp 1 1 ambi 0.4 0.3 0.2 diff 0.8 0.6 0.4 emis 0.2 0.15 0.1 "
              "specular 0 0 0 shine 0");
    WriteFile(rig + "low.bdf", BODY);
    WriteFile("floor.asc", meshtext::Grid(4, 120));
    WriteFile("floor.mat", ColourMaterial({0.7f, 0.7f, 0.7f}));
}

using PersonRenderTest = GLTest;

TEST_F(PersonRenderTest, PlanarShadowsAndStencilShadowVolumesDarkenTheFloorBesideTheFighter) {
    RenderScratch scratch;
    WriteRig();
    // Entry 0 of the registry is what planar shadows are drawn with.
    Material shadowMaterial;
    shadowMaterial.alpha = 0.5f;
    shadowMaterial.blendType = 2;
    scratch.display->materials.Add(&shadowMaterial);
    DirectionalLight sun(Vector3(1, 1, 1), Vector3(-1, -1.2f, 0.2f));
    scratch.display->lights.Add(&sun);
    scratch.display->CreateShadowMatrix();
    Ptr<Person> fighter = new Person("rig", 1);
    fighter->Update();
    // As the arena does in the planar mode, the floor lies a little below
    // the ground the fighters stand on, where their flattened shadows fall.
    Mesh3DS floorMesh("floor.asc", false);  // an object does not own its meshes
    Ptr<Object> floor = Upright(Vector3(), &floorMesh, new Material("floor.mat"));
    floor->SetPosition(Vector3(0, -1.5f, 0));
    floor->Update();
    Camera camera(Vector3(0, 70, -200), Vector3(0, 45, 0), Vector3(0, 1, 0), 0);
    scratch.display->StartScene();
    scratch.display->SetCamera(&camera);
    glDisable(GL_STENCIL_TEST);
    // The floor to the screen's left of the fighter's feet, where the sun, low
    // from the right, throws the shadow, is darker than the same distance to
    // the right, and the fighter itself stays lit.
    const auto shadowBesideTheFighter = [] {
        return ReadPixel(WIDTH / 2 - 14, 16).Sum() < ReadPixel(WIDTH / 2 + 14, 16).Sum() - 30 &&
               ReadPixel(WIDTH / 2, HEIGHT / 2).r > 60;
    };
    floor->Draw();
    fighter->Draw();
    shadowctr = 0;
    fighter->DrawShadow();
    EXPECT_TRUE(shadowBesideTheFighter()) << "planar";
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glDepthFunc(GL_LEQUAL);
    floor->DrawAmbient();
    fighter->DrawAmbient();
    glEnable(GL_STENCIL_TEST);
    glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
    glClear(GL_STENCIL_BUFFER_BIT);
    fighter->DrawShadowVolume();
    glDepthFunc(GL_EQUAL);
    floor->DrawNonAmbient();
    fighter->DrawNonAmbient();
    EXPECT_TRUE(shadowBesideTheFighter()) << "stencil";
}

}  // namespace
