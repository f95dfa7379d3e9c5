#include "character/Object.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "render/Material.h"
#include "render/Mesh.h"
#include "render/MeshQuad.h"
#include "scene/DirectionalLight.h"
#include "scene/PointLight.h"
#include "support/DisplayGuard.h"
#include "support/GLContext.h"
#include "support/Near.h"

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

// Puts back the shadow matrices a test replaces.
class ObjectDraw : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        shadows = std::vector<Matrix>(ShadMtx, ShadMtx + SHADOW_MATRICES);
    }
    void TearDown() override {
        std::copy(shadows.begin(), shadows.end(), ShadMtx);
        shadowctr = 0;
        GLTest::TearDown();
    }
    DisplayGuard display;
    std::vector<Matrix> shadows;
};

// Records the first vertex's texture coordinates at every draw of its mesh.
class EmbossProbe : public Object {
public:
    using Object::Object;
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
    EmbossProbe o(nullptr, Vector3(), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1),
                  Vector3(1, 1, 1), &quad, &quad, nullptr, &bumpy);
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
        EmbossProbe b(nullptr, Vector3(), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1),
                      Vector3(1, 1, 1), &back, &back, nullptr, &bumpy);
        DirectionalLight behind(Vector3(1, 1, 1), Vector3(-0.1f * side, 0, 1));
        display->lights[0] = &behind;
        b.DrawNonAmbient();
        ASSERT_EQ(b.seen.size(), 2u);
        EXPECT_NEAR(b.seen[1].first - b.seen[0].first, 0.000507f * side, 1e-5f) << side;
    }
}

TEST_F(ObjectDraw, EachShadowTakesTheNextMatrixUpToTheLast) {
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
}

}  // namespace
