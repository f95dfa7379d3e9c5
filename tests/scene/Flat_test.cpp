#include "scene/Flat.h"

#include <gtest/gtest.h>

#include <string>

#include "core/Display.h"
#include "core/System.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "scene/SceneryFiles.h"

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected, float eps = 1e-3f) {
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
    EXPECT_NEAR(actual.z, expected.z, eps);
}

class FlatTest : public ::testing::Test {
protected:
    void SetUp() override { System::instance()->display->camera = &camera; }

    SceneryScratch scratch;
    // Off to one side and above: no axis of the world faces it.
    Camera camera{Vector3(100, 50, -80), Vector3(10, 0, 5), Vector3(0, 1, 0), 0};
    const Vector3 forward = (camera.at - camera.from).Normalized();
};

TEST_F(FlatTest, EffectSquareIsCentredOnItsPointAndFacesPlusZ) {
    Flat flat(Vector3(0, 0, 0), 10, nullptr);
    for (const Mesh* m : {flat.mesh, flat.shadowMesh}) {
        ASSERT_EQ(m->numVertices, 4);
        EXPECT_EQ(m->numFaces, 2);
        EXPECT_EQ(m->vertices[0].pos, Vector3(-5, -5, 0));
        EXPECT_EQ(m->vertices[3].pos, Vector3(5, 5, 0));
        EXPECT_EQ(m->vertices[0].normal, Vector3(0, 0, 1));
    }
    EXPECT_NE(flat.mesh, flat.shadowMesh);
    EXPECT_EQ(flat.material, nullptr);
}

TEST_F(FlatTest, TurnsToFaceTheCamera) {
    Flat flat(Vector3(0, 0, 0), 10, nullptr);
    const Vector3 p(30, 4, -12);
    flat.SetPosition(p);
    flat.Update();

    ExpectNear(flat.world * Vector3(0, 0, 0), p);
    ExpectNear((flat.world ^ Vector3(0, 0, 1)).Normalized(), forward);
    // Every corner stays in the plane through p across the line of sight.
    for (const Vertex& v : flat.mesh->vertices) {
        const Vector3 corner = flat.world * v.pos;
        EXPECT_NEAR((corner - p).Dot(forward), 0, 1e-3);
        EXPECT_NEAR((corner - p).Length(), std::sqrt(50.0f), 1e-3);
    }
    // The quad's up edge points up on the screen, not down.
    EXPECT_GT((flat.world ^ Vector3(0, 1, 0)).y, 0);

    // It follows the camera round.
    camera.SetFrom(Vector3(-100, 0, 0));
    flat.Update();
    ExpectNear((flat.world ^ Vector3(0, 0, 1)).Normalized(),
               (camera.at - camera.from).Normalized());
}

TEST_F(FlatTest, OffsetSquareIsDrawnNearerTheCamera) {
    // The square lies 20 units along -z from the point it marks.
    Flat flat(Vector3(0, 0, -20), 30, nullptr);
    EXPECT_EQ(flat.world * Vector3(), Vector3(0, 0, -20)) << "before the first update";
    const Vector3 p(-7, 12, 3);
    flat.SetPosition(p);
    flat.Update();
    ExpectNear(flat.world * Vector3(0, 0, -20), p - forward * 20);
}

TEST_F(FlatTest, WithoutACameraItKeepsItsOwnOrientation) {
    System::instance()->display->camera = nullptr;
    Flat flat(Vector3(0, 0, 0), 10, nullptr);
    flat.SetPosition(Vector3(1, 2, 3));
    flat.Update();
    EXPECT_EQ(flat.world ^ Vector3(0, 0, 1), Vector3(0, 0, 1));
    EXPECT_EQ(flat.world * Vector3(), Vector3(1, 2, 3));
}

TEST_F(FlatTest, RecordFlipGivesOppositeWindingAndNormals) {
    Record plain("grid.asc 0 stone.mat 0 50 0");
    Record inside("grid.asc -1 stone.mat 0 50 0");
    const Flat a(*plain, SCENE_DIR);
    const Flat b(*inside, SCENE_DIR);
    ASSERT_EQ(a.mesh->numFaces, b.mesh->numFaces);
    for (int f = 0; f < a.mesh->numFaces; ++f) {
        const int* x = &a.mesh->faces[3 * f];
        const int* y = &b.mesh->faces[3 * f];
        EXPECT_EQ(x[0], y[2]);
        EXPECT_EQ(x[1], y[1]);
        EXPECT_EQ(x[2], y[0]);
    }
    for (int i = 0; i < a.mesh->numVertices; ++i) {
        EXPECT_EQ(a.mesh->vertices[i].pos, b.mesh->vertices[i].pos);
        ExpectNear(a.mesh->vertices[i].normal, -b.mesh->vertices[i].normal);
    }
    EXPECT_EQ(a.world * Vector3(), Vector3(0, 50, 0));
}

}  // namespace
