#include "character/Object.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/Display.h"
#include "core/System.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "render/MeshQuad.h"
#include "scene/DirectionalLight.h"
#include "scene/PointLight.h"
#include "render/RenderFiles.h"
#include "support/GLContext.h"
#include "support/Screenshot.h"

namespace {

const float PI = 3.14159265358979f;

void ExpectNear(const Vector3& actual, const Vector3& expected, float eps = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
    EXPECT_NEAR(actual.z, expected.z, eps);
}

void ExpectNear(const Matrix& actual, const Matrix& expected, float eps = 1e-4f) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], eps) << "element " << i;
}

Matrix Translate(const Vector3& t) {
    Matrix m;
    m.CreateTranslate(t);
    return m;
}

Matrix RotateXZY(const Vector3& r) {
    Matrix m;
    m.CreateRotateXZY(r);
    return m;
}

// A display of the test's own, so that registries start empty; the previous
// one comes back afterwards.
class ScratchDisplay {
public:
    ScratchDisplay() : saved(System::instance()->display) {
        System::instance()->display = new Display();
    }
    ~ScratchDisplay() {
        delete System::instance()->display;
        System::instance()->display = saved;
    }
    ScratchDisplay(const ScratchDisplay&) = delete;
    ScratchDisplay& operator=(const ScratchDisplay&) = delete;
    Display* operator->() const { return System::instance()->display; }

private:
    Display* saved;
};

// A root node standing at `at` whose limb runs along world x.
Object* LimbAlongX(const Vector3& at, const Vector3& size, Mesh* mesh = nullptr,
                   Material* material = nullptr, Object* parent = nullptr) {
    return new Object(parent, at, Vector3(0, -1, 0), Vector3(1, 0, 0), Vector3(0, 0, 1), size,
                      mesh, mesh, nullptr, material);
}

Object* Upright(const Vector3& at, Object* parent = nullptr) {
    return new Object(parent, at, Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1),
                      Vector3(1, 1, 1), nullptr, nullptr, nullptr, nullptr);
}

// ------------------------------------------------------------------- pose

TEST(ObjectPose, DefaultNodeStandsAtRestWithUnitAxes) {
    Object o;
    EXPECT_EQ(o.restX, Vector3(1, 0, 0));
    EXPECT_EQ(o.axisZ, Vector3(0, 0, 1));
    EXPECT_EQ(o.size, Vector3(1, 1, 1));
    Matrix identity;
    identity.CreateIdentity();
    ExpectNear(o.world, identity, 0);
    ExpectNear(o.restInverse, identity, 0);
    EXPECT_FALSE(o.rotates || o.translates || o.dirty);
    EXPECT_EQ(o.parent, nullptr);
    EXPECT_EQ(o.collisionMesh, nullptr);
}

TEST(ObjectPose, RootWorldIsTranslationTimesRotationAndStandsAtItsPosition) {
    Ptr<Object> o = Upright(Vector3());
    const Vector3 r(0.3f, -0.7f, 1.1f);
    const Vector3 p(4, -2, 9);
    o->SetRotation(r);
    o->SetPosition(p);
    EXPECT_TRUE(o->dirty);
    o->Update();
    EXPECT_FALSE(o->dirty);
    ExpectNear(o->world, Translate(p) * RotateXZY(r));
    ExpectNear(o->worldPos, p);
}

TEST(ObjectPose, RestFrameIsBuiltFromTheAxesAndTheJoint) {
    Ptr<Object> o = LimbAlongX(Vector3(5, 0, 0), Vector3(4, 20, 6));
    Matrix identity;
    identity.CreateIdentity();
    ExpectNear(o->world, identity);  // at rest the meshes stay where they were modelled
    ExpectNear(o->rest * Vector3(0, 20, 0), Vector3(25, 0, 0));  // node y runs along the limb
    ExpectNear(o->rest * Vector3(1, 0, 0), Vector3(5, -1, 0));
    ExpectNear(o->localOrigin, Vector3());
    ExpectNear(o->localZ, Vector3(0, 0, 1));
    ExpectNear(o->worldPos, Vector3(5, 0, 0));
    EXPECT_TRUE(o->rotates && o->translates);
}

TEST(ObjectPose, AxisRotationTurnsTheUnitAxesOntoTheGivenOnes) {
    Object o;
    const Vector3 x(0, 0, -1), y(0, 1, 0), z(1, 0, 0);
    o.SetRotation(x, y, z);
    EXPECT_EQ(o.axisX, x);
    EXPECT_EQ(o.axisZ, z);
    EXPECT_TRUE(o.dirty);
    ExpectNear(o.rotation ^ Vector3(1, 0, 0), x);
    ExpectNear(o.rotation ^ Vector3(0, 0, 1), z);
    // The angle form leaves the recorded axes alone.
    o.SetRotation(Vector3(0, 1, 0));
    EXPECT_EQ(o.axisX, x);
}

TEST(ObjectPose, ChildFollowsItsParentsTurn) {
    Ptr<Object> parent = Upright(Vector3(0, 0, 0));
    // The child's own rest frame is turned, so that only the chain of rest
    // matrices can put it back in place.
    Ptr<Object> child = LimbAlongX(Vector3(0, 10, 0), Vector3(1, 1, 1), nullptr, nullptr, parent);
    EXPECT_EQ(child->parent, parent);
    EXPECT_EQ(parent->references, 2);

    parent->SetRotation(Vector3(0, PI / 2, 0));
    parent->SetPosition(Vector3(3, 0, 0));
    parent->Update();
    child->Update();
    ExpectNear(child->world, parent->world);
    ExpectNear(child->worldPos, parent->world * Vector3(0, 10, 0));

    // Its own turn swings its limb about the joint, which stays put.
    child->SetRotation(Vector3(0, 0, PI / 2));
    child->Update();
    ExpectNear(child->worldPos, parent->world * Vector3(0, 10, 0));
    const Vector3 limbEnd = child->world * Vector3(10, 10, 0);  // the rest-pose end, 10 along x
    ExpectNear(limbEnd - child->worldPos, parent->world ^ Vector3(0, -10, 0));
}

TEST(ObjectPose, UpdateWithAMatrixAppliesItLast) {
    Ptr<Object> o = Upright(Vector3(0, 5, 0));
    o->SetRotation(Vector3(0.2f, 0, 0));
    const Matrix m = Translate(Vector3(0, 0, 7));
    o->Update(m);
    Ptr<Object> plain = Upright(Vector3(0, 5, 0));
    plain->SetRotation(Vector3(0.2f, 0, 0));
    plain->Update();
    ExpectNear(o->world, m * plain->world);
}

// ----------------------------------------------------------------- meshes

TEST(ObjectMeshes, WithoutACollisionMeshAnEllipsoidIsBuiltHalfwayAlongTheLimb) {
    Ptr<Object> o = LimbAlongX(Vector3(5, 0, 0), Vector3(4, 20, 6));
    ASSERT_NE(o->collisionMesh, nullptr);
    const Mesh& sphere = *o->collisionMesh;
    EXPECT_EQ(sphere.numVertices, 17);
    // The last two vertices are the poles, on the limb at 1.1 times the half length.
    ExpectNear(sphere.vertices[15].pos, Vector3(26, 0, 0));
    ExpectNear(sphere.vertices[16].pos, Vector3(4, 0, 0));
    for (const Vertex& v : sphere.vertices) {
        const Vector3 d = v.pos - Vector3(15, 0, 0);
        // Across the limb: 1.1 × 4 along restX (world y), 1.1 × 6 along restZ.
        const float e = d.x * d.x / (11 * 11) + d.y * d.y / (4.4f * 4.4f) + d.z * d.z / (6.6f * 6.6f);
        EXPECT_NEAR(e, 1, 1e-3f);
    }
}

TEST(ObjectMeshes, MeshesStayInRestPoseWorldCoordinatesAndAreMappedInTheNodeFrame) {
    ScratchDisplay display;
    // A strip along world x from 5 to 25, 2 high: along the node's y axis.
    // It is given as both the drawn and the shadow mesh, and still mapped in
    // the node's frame.
    MeshQuad quad(Vector3(5, -1, 0), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(20, 2, 0));
    const std::vector<Vertex> before = quad.vertices;
    Material material;
    material.mapType = "PLANARX";  // u from node z, v down node y
    material.fileName = "materials/strip.mat";
    Ptr<Object> o = LimbAlongX(Vector3(5, 0, 0), Vector3(2, 20, 2), &quad, &material);
    for (int i = 0; i < quad.numVertices; ++i) {
        ExpectNear(quad.vertices[i].pos, before[i].pos);
        ExpectNear(quad.vertices[i].normal, before[i].normal);
    }
    // v runs from 0 at the far end of the limb (largest node y) to 1 at the joint.
    EXPECT_NEAR(quad.vertices[0].v, 1, 1e-5f);  // at x = 5
    EXPECT_NEAR(quad.vertices[2].v, 0, 1e-5f);  // at x = 25
}

class ObjectMaterials : public ::testing::Test {
protected:
    // Counts its own destructions so that a test can tell whether SetMesh let go.
    class Counted : public Material {
    public:
        explicit Counted(const std::string& file) { fileName = file; }
        ~Counted() override { ++destroyed; }
        static inline int destroyed = 0;
    };

    void SetUp() override { Counted::destroyed = 0; }

    Object* Node(Material* material) {
        return new Object(nullptr, Vector3(), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1),
                          Vector3(1, 1, 1), nullptr, nullptr, nullptr, material);
    }

    ScratchDisplay display;
};

TEST_F(ObjectMaterials, FirstMaterialOfAFileIsRegisteredAndLaterOnesShareIt) {
    Counted* skin = new Counted("materials/skin.mat");
    Ptr<Object> a = Node(skin);
    EXPECT_EQ(a->material, skin);
    ASSERT_EQ(display->materials.count, 1);
    EXPECT_EQ(display->materials[0], skin);

    // A second load of the same file is thrown away in favour of the first.
    Counted* again = new Counted("materials/skin.mat");
    std::ostringstream given, kept;
    given << "pre-Mat:" << static_cast<void*>(again) << "\n";
    kept << ":Mat:" << static_cast<void*>(skin) << "\n";
    TraceCapture trace;
    Ptr<Object> b = Node(again);
    EXPECT_NE(trace.str().find(given.str() + kept.str()), std::string::npos) << trace.str();
    EXPECT_EQ(b->material, skin);
    EXPECT_EQ(Counted::destroyed, 1);
    EXPECT_EQ(display->materials.count, 1);
    EXPECT_EQ(display->materials.cursor, display->materials.count)
        << "the search leaves the cursor at the end";

    // Another file is a material of its own.
    Counted* cloth = new Counted("materials/cloth.mat");
    Ptr<Object> c = Node(cloth);
    EXPECT_EQ(c->material, cloth);
    EXPECT_EQ(display->materials.count, 2);

    // Giving the registered material again neither deletes nor repeats it.
    Ptr<Object> d = Node(skin);
    EXPECT_EQ(d->material, skin);
    EXPECT_EQ(display->materials.count, 2);
    EXPECT_EQ(Counted::destroyed, 1);
    delete skin;
    delete cloth;
}

TEST_F(ObjectMaterials, AMaterialSomeoneStillHoldsIsNotDeleted) {
    Counted* skin = new Counted("materials/skin.mat");
    Ptr<Object> a = Node(skin);
    {
        Ptr<Material> held = new Counted("materials/skin.mat");
        Ptr<Object> b = Node(held);
        EXPECT_EQ(b->material, skin);
        EXPECT_EQ(Counted::destroyed, 0);
        EXPECT_EQ(held->fileName, "materials/skin.mat");  // still alive
    }
    EXPECT_EQ(Counted::destroyed, 1) << "its holder let it go";
    delete skin;
}

TEST_F(ObjectMaterials, MaterialsWithoutAFileAreNeverMistakenForEachOther) {
    Material red, blue;
    red.diffuse = Vector3(1, 0, 0);
    blue.diffuse = Vector3(0, 0, 1);
    Ptr<Object> a = Node(&red);
    Ptr<Object> b = Node(&blue);
    EXPECT_EQ(a->material, &red);
    EXPECT_EQ(b->material, &blue);
    EXPECT_EQ(display->materials.count, 2);
}

// -------------------------------------------------------------- collision

class ObjectCollision : public ::testing::Test {
protected:
    // The defender's ellipsoid: centre (15, 0, 0), semi-axes 10 along x, 4
    // along y and 6 along z; its node frame has y along world x and x along −y.
    Ptr<Object> defender = LimbAlongX(Vector3(5, 0, 0), Vector3(4, 20, 6));
    Object blade;

    void Sweep(const Vector3& prevPos, const Vector3& prevTip, const Vector3& pos,
               const Vector3& tip) {
        blade.prevPos = prevPos;
        blade.prevTip = prevTip;
        blade.worldPos = pos;
        blade.tip = tip;
    }

    // How deep a point of the defender's node frame lies: below 1 inside.
    float Depth(const Vector3& p) const {
        const Vector3 s = defender->size;
        return Vector3(p.x / s.x, (p.y - s.y / 2) / (s.y / 2), p.z / s.z).Length();
    }
};

TEST_F(ObjectCollision, ATipInsideHitsAndReportsItInTheDefendersFrame) {
    const Vector3 tip(17, 1, 2);
    Sweep(Vector3(-10, 0, 0), tip, Vector3(-10, 0, 0), tip);
    ASSERT_TRUE(blade.Collision(defender));
    ExpectNear(blade.contact, Vector3(-1, 12, 2));

    // Turned a quarter about its joint and moved, the defender is struck at
    // the same place of its own body by a tip that followed it.
    defender->SetRotation(Vector3(0, PI / 2, 0));
    defender->SetPosition(Vector3(0, 0, 30));
    defender->Update();
    const Vector3 followed = defender->world * tip;
    Sweep(followed, followed, Vector3(-100, 0, 0), followed);
    blade.contact = Vector3();
    ASSERT_TRUE(blade.Collision(defender));
    ExpectNear(blade.contact, Vector3(-1, 12, 2));
}

TEST_F(ObjectCollision, ASegmentTwoSizeUnitsAwayMisses) {
    // 8 above the axis is twice the half-width of 4.
    Sweep(Vector3(-5, 8, 0), Vector3(35, 8, 0), Vector3(-5, 8, 0), Vector3(35, 8, 0));
    blade.contact = Vector3(7, 7, 7);
    EXPECT_FALSE(blade.Collision(defender));
    EXPECT_EQ(blade.contact, Vector3(7, 7, 7)) << "a miss leaves the contact alone";

    // Swept past beside the ellipsoid, just outside its side.
    Sweep(Vector3(-40, 0, 6.5f), Vector3(-40, 0, 9), Vector3(60, 0, 6.5f), Vector3(60, 0, 9));
    EXPECT_FALSE(blade.Collision(defender));
}

TEST_F(ObjectCollision, AFastBlowThatPassesThroughBetweenTwoUpdatesIsCaught) {
    // A long blade whose root end crosses the ellipsoid: before and after the
    // update both of its ends are far outside, and so is every point a first
    // look at the swept quad tests, so only quartering towards the right
    // corner finds the way through. Swept either way and held either way
    // round, the hit lies in each quarter in turn.
    const Vector3 near(10, 0, -60), far(10, 0, 25), across(0, 30, 0);
    const struct {
        Vector3 before, after, blade;
    } sweeps[] = {{near, far, across},
                  {far, near, across},
                  {near + across, far + across, -across},
                  {far + across, near + across, -across}};
    for (const auto& sweep : sweeps) {
        const Vector3 q[4] = {sweep.after, sweep.after + sweep.blade, sweep.before,
                              sweep.before + sweep.blade};
        const Vector3 tested[9] = {q[0], q[1], q[2], q[3], (q[0] + q[1]) / 2, (q[2] + q[3]) / 2,
                                   (q[0] + q[2]) / 2, (q[1] + q[3]) / 2,
                                   (q[0] + q[1] + q[2] + q[3]) / 4};
        for (const Vector3& p : tested) EXPECT_GT(Depth(defender->restInverse * p), 1.2f);

        Sweep(sweep.before, sweep.before + sweep.blade, sweep.after, sweep.after + sweep.blade);
        ASSERT_TRUE(blade.Collision(defender)) << "from " << sweep.before << "to " << sweep.after;
        EXPECT_LT(Depth(blade.contact), 1);
    }
}

// ------------------------------------------------------------------- draws

// Writes the window for a person to look at when E2E_SHOTS names a folder.
void Shot(const std::string& name) { SaveShot(name, GLTest::WIDTH, GLTest::HEIGHT); }

class ObjectDraw : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        glViewport(0, 0, WIDTH, HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_LIGHTING);
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        savedCounter = shadowctr;
        for (int i = 0; i < SHADOW_MATRICES; ++i) savedShadows[i] = ShadMtx[i];
    }
    void TearDown() override {
        shadowctr = savedCounter;
        for (int i = 0; i < SHADOW_MATRICES; ++i) ShadMtx[i] = savedShadows[i];
        glDisable(GL_LIGHTING);
    }

    // An unlit material that shows exactly its emission colour.
    static Material* Glowing(const Vector3& colour) {
        Material* m = new Material();
        m->emission = colour;
        return m;
    }

    ScratchDisplay display;
    int savedCounter = 0;
    Matrix savedShadows[SHADOW_MATRICES];
};

// Counts the passes a draw goes through.
class Probe : public Object {
public:
    using Object::Object;
    void Draw() override {
        ++draws;
        Object::Draw();
    }
    void DrawBumpMapped() override { ++bumps; }
    int draws = 0;
    int bumps = 0;
};

TEST_F(ObjectDraw, DrawShowsTheMaterialsColourOverTheMesh) {
    // The left half of the window.
    MeshQuad quad(Vector3(-1, -1, 0), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(1, 2, 0));
    Material* green = Glowing(Vector3(0, 1, 0));
    Ptr<Object> o = new Object(nullptr, Vector3(), Vector3(1, 0, 0), Vector3(0, 1, 0),
                               Vector3(0, 0, 1), Vector3(1, 1, 1), &quad, &quad, nullptr, green);
    o->Draw();
    Shot("object_draw");
    const Pixel inside = ReadPixel(16, 32);
    EXPECT_EQ(inside.r, 0);
    EXPECT_EQ(inside.g, 255);
    EXPECT_EQ(inside.b, 0);
    const Pixel outside = ReadPixel(48, 32);
    EXPECT_EQ(outside.r, 255);
    EXPECT_EQ(display->currentMaterial, green);

    // Moved by its pose, the quad covers the other half instead.
    glClear(GL_COLOR_BUFFER_BIT);
    o->SetPosition(Vector3(1, 0, 0));
    o->Update();
    o->DrawMesh();
    EXPECT_EQ(ReadPixel(16, 32).r, 255);
    EXPECT_EQ(ReadPixel(48, 32).g, 255);
    EXPECT_EQ(ReadPixel(48, 32).r, 0);
    delete green;
}

TEST_F(ObjectDraw, BumpMaterialsAreDrawnThroughEmbossInEveryColourPass) {
    Material bumpy;
    bumpy.bump = true;
    bumpy.fileName = "materials/bumpy.mat";
    MeshQuad quad(Vector3(-1, -1, 0), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(2, 2, 0));
    Probe probe(nullptr, Vector3(), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1),
                Vector3(1, 1, 1), &quad, &quad, nullptr, &bumpy);
    probe.DrawNonAmbient();
    EXPECT_EQ(probe.draws, 1);
    EXPECT_EQ(probe.bumps, 1);
    probe.DrawAmbient();  // the ambient pass leaves bump materials to the lit pass
    EXPECT_EQ(probe.bumps, 1);

    Material plain;
    Probe flat(nullptr, Vector3(), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1),
               Vector3(1, 1, 1), &quad, &quad, nullptr, &plain);
    flat.DrawNonAmbient();
    EXPECT_EQ(flat.draws, 0);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
}

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

TEST_F(ObjectDraw, EmbossSlidesTheSecondPassTowardsTheLightAndPutsEverythingBack) {
    Material bumpy;
    bumpy.bump = true;
    // Facing +z, with its first vertex at texture coordinates (0, 0).
    MeshQuad quad(Vector3(-1, -1, 0), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(2, 2, 0));
    EmbossProbe o(nullptr, Vector3(), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1),
                  Vector3(1, 1, 1), &quad, &quad, nullptr, &bumpy);
    const std::vector<Vertex> before = quad.vertices;

    // The sun to the side, shining along −x: a quarter turn of azimuth.
    DirectionalLight sun(Vector3(1, 1, 1), Vector3(-1, 0, 0));
    display->lights.Add(&sun);
    glDepthFunc(GL_GREATER);
    o.Draw();
    ASSERT_EQ(o.seen.size(), 2u);
    EXPECT_EQ(o.seen[0].first, 0);
    EXPECT_NEAR(o.seen[1].first, -0.004f, 1e-6f);
    EXPECT_NEAR(o.seen[1].second, 0, 1e-6f);
    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_GREATER);
    for (int i = 0; i < quad.numVertices; ++i) {
        EXPECT_EQ(quad.vertices[i].u, before[i].u);
        EXPECT_EQ(quad.vertices[i].v, before[i].v);
    }

    // A lamp straight above the node, wherever the node has moved: a quarter
    // turn of elevation.
    o.SetPosition(Vector3(30, 0, 0));
    o.Update();
    PointLight lamp(Vector3(1, 1, 1), Vector3(30, 10, 0));
    display->lights[0] = &lamp;
    o.seen.clear();
    o.Draw();
    ASSERT_EQ(o.seen.size(), 2u);
    EXPECT_NEAR(o.seen[1].first, 0, 1e-6f);
    EXPECT_NEAR(o.seen[1].second, 0.004f, 1e-6f);
    glDepthFunc(GL_LESS);
}

TEST_F(ObjectDraw, ShadowsTakeTheNextMatrixUpToTheLast) {
    display->materials.Add(Glowing(Vector3()));
    for (int i = 0; i < SHADOW_MATRICES; ++i) ShadMtx[i] = Translate(Vector3(float(i), 0, 0));
    MeshQuad quad(Vector3(), Vector3(1, 0, 0), Vector3(0, 0, 1), Vector3(1, 1, 0));
    Ptr<Object> o = new Object(nullptr, Vector3(), Vector3(1, 0, 0), Vector3(0, 1, 0),
                               Vector3(0, 0, 1), Vector3(1, 1, 1), &quad, &quad, nullptr, nullptr);
    shadowctr = 0;
    for (int call = 0; call < 45; ++call) {
        o->DrawShadow();
        float modelView[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
        EXPECT_EQ(modelView[12], call < 40 ? call : 39) << "call " << call;
    }
    EXPECT_EQ(shadowctr, 39);

    // Without a shadow mesh nothing is drawn, but the counter still moves.
    Ptr<Object> bare = new Object();
    shadowctr = 3;
    bare->DrawShadow();
    EXPECT_EQ(shadowctr, 4);
    delete display->materials[0];
}

TEST_F(ObjectDraw, PlanarShadowFallsWhereTheLightFlattensTheMovedMesh) {
    // Seen from above: window x is world x, window y is −z, all within ±10.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10, 10, -10, 10, -10, 10);
    glRotatef(90, 1, 0, 0);
    DirectionalLight sun(Vector3(1, 1, 1), Vector3(1, -1, 0));
    display->lights.Add(&sun);
    display->CreateShadowMatrix();
    display->materials.Add(Glowing(Vector3()));

    // A 2x2 tile held 3 above the floor at x from −6 to −4, then lifted 2 more
    // by its pose: the light slides its shadow 5 along x, to −1 .. 1.
    MeshQuad tile(Vector3(-6, 3, -1), Vector3(1, 0, 0), Vector3(0, 0, 1), Vector3(2, 2, 0));
    Ptr<Object> o = new Object(nullptr, Vector3(-5, 3, 0), Vector3(1, 0, 0), Vector3(0, 1, 0),
                               Vector3(0, 0, 1), Vector3(1, 1, 1), &tile, &tile, nullptr, nullptr);
    o->SetPosition(Vector3(0, 2, 0));
    o->Update();
    shadowctr = 0;
    o->DrawShadow();
    Shot("object_shadow");

    const Pixel shadow = ReadPixel(32, 32);
    EXPECT_LT(shadow.r + shadow.g + shadow.b, 60);
    const Pixel underTile = ReadPixel(16, 32);  // straight below the tile: lit
    EXPECT_EQ(underTile.r + underTile.g + underTile.b, 3 * 255);
    const Pixel beside = ReadPixel(50, 32);
    EXPECT_EQ(beside.r + beside.g + beside.b, 3 * 255);
    delete display->materials[0];
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
}

}  // namespace
