#include "match/ExplCyl.h"

#include <gtest/gtest.h>

#include "match/EffectScene.h"
#include "render/Mesh.h"

namespace {

class ExplCylTest : public ::testing::Test {
protected:
    // Grows for `ms` of real time in one frame.
    void Grow(ExplCyl& ring, int ms) {
        scene.At(scene.clock.time + ms, ms);
        ring.Update();
    }

    EffectScene scene;
};

TEST_F(ExplCylTest, AUnitRingThirtyUnitsAboveItsOrigin) {
    ExplCyl ring(Vector3(5, 0, 7), 100, 50, EffectScene::NewMaterial());
    ASSERT_NE(ring.mesh, nullptr);
    EXPECT_EQ(ring.shadowMesh, ring.mesh);
    EXPECT_EQ(ring.collisionMesh, ring.mesh);
    EXPECT_NE(ring.material, nullptr);
    EXPECT_EQ(ring.mesh->numVertices, 30);  // 14 segments, the first pair repeated
    EXPECT_EQ(ring.mesh->numFaces, 56);     // double-sided
    for (const Vertex& v : ring.mesh->vertices) {
        EXPECT_FLOAT_EQ(v.pos.y, 30);
        const float r = std::hypot(v.pos.x, v.pos.z);
        EXPECT_TRUE(std::fabs(r - 0.5f) < 1e-5 || std::fabs(r - 1) < 1e-5) << r;
    }
    EXPECT_TRUE(ring.translates);
    EXPECT_FALSE(ring.rotates);
    EXPECT_EQ(ring.position, Vector3(5, 0, 7));
    EXPECT_EQ(ring.radius, 0);
    EXPECT_FALSE(ring.done);
    EXPECT_FALSE(ring.hit);
    Matrix identity;
    identity.CreateIdentity();
    for (int i = 0; i < 16; ++i) EXPECT_EQ(ring.scale.m[i], identity.m[i]);
}

TEST_F(ExplCylTest, WidensInXAndZUntilItPassesItsLargestRadius) {
    ExplCyl ring(Vector3(5, 0, 7), 100, 50, EffectScene::NewMaterial());
    Grow(ring, 200);
    EXPECT_NEAR(ring.radius, 20, 1e-4);
    // An outer vertex in the x direction lands 20 units out, still 30 up.
    ExpectNear(ring.world * Vector3(1, 30, 0), Vector3(25, 30, 7));
    ExpectNear(ring.world * Vector3(0, 30, -1), Vector3(5, 30, -13));

    for (int i = 0; i < 3; ++i) Grow(ring, 100);
    EXPECT_NEAR(ring.radius, 50, 1e-4);
    EXPECT_FALSE(ring.done) << "reaching the largest radius is not passing it";
    const Matrix last = ring.world;

    Grow(ring, 20);
    EXPECT_TRUE(ring.done);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(ring.world.m[i], last.m[i]) << "keeps its last matrix";

    const float radius = ring.radius;
    Grow(ring, 500);
    EXPECT_EQ(ring.radius, radius) << "a finished ring grows no more";
}

TEST_F(ExplCylTest, ReportsAnObjectFromTheUpdateThatReachesIt) {
    ExplCyl ring(Vector3(0, 0, 0), 100, 50, EffectScene::NewMaterial());
    Ptr<Object> fighter = new Object();
    fighter->SetPosition(Vector3(18, 0, 24));  // 30 units away
    Ptr<Object> farther = new Object();
    farther->SetPosition(Vector3(0, 0, -30.5f));
    // Steps of 100 ms give radii of exactly 10, 20, 30, ...
    Grow(ring, 100);
    Grow(ring, 100);
    EXPECT_FALSE(ring.Collision(fighter));
    EXPECT_FALSE(ring.hit);
    Grow(ring, 100);
    EXPECT_EQ(ring.radius, 30);
    EXPECT_FALSE(ring.Collision(farther));
    EXPECT_TRUE(ring.Collision(fighter));
    // Once swept over, always reported, wherever the object goes.
    fighter->SetPosition(Vector3(1000, 0, 0));
    EXPECT_TRUE(ring.Collision(fighter));
}

TEST_F(ExplCylTest, TheDistanceIsMeasuredInThreeDimensions) {
    ExplCyl ring(Vector3(0, 0, 0), 100, 50, EffectScene::NewMaterial());
    Ptr<Object> jumper = new Object();
    jumper->SetPosition(Vector3(0, 40, 0));  // straight above the centre
    Grow(ring, 300);
    EXPECT_FALSE(ring.Collision(jumper));
    Grow(ring, 100);
    EXPECT_TRUE(ring.Collision(jumper));
}

}  // namespace
