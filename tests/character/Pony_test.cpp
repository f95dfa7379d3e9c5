#include "character/Pony.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/Clock.h"
#include "core/System.h"
#include "math/Ptr.h"
#include "render/Mesh.h"
#include "render/RenderFiles.h"

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected, float eps = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
    EXPECT_NEAR(actual.z, expected.z, eps);
}

Vector3 Direction(const Object& segment) { return (segment.tip - segment.worldPos).Normalized(); }

// Each test chooses the frame time the segments read; the clock is put back after.
class PonyTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock = System::instance()->clock;
        savedDelta = clock->delta;
        savedMode = clock->mode;
    }
    void TearDown() override {
        clock->delta = savedDelta;
        clock->mode = savedMode;
    }

    // Three 10-unit segments straight out along x from a bone at the origin.
    void MakeChain() {
        root = new Pony(bone, {0, 0, 0}, {10, 0, 0}, {0, 0, 1}, {1, 1, 1}, nullptr, nullptr,
                        nullptr, nullptr, true);
        middle = new Pony(root, {10, 0, 0}, {20, 0, 0}, {0, 0, 1}, {1, 1, 1}, nullptr, nullptr,
                          nullptr, nullptr, false);
        last = new Pony(middle, {20, 0, 0}, {30, 0, 0}, {0, 0, 1}, {1, 1, 1}, nullptr, nullptr,
                        nullptr, nullptr, false);
    }
    void UpdateChain() {
        root->Update();
        middle->Update();
        last->Update();
    }

    Clock* clock = nullptr;
    int savedDelta = 0;
    int savedMode = 1;
    Ptr<Object> bone = new Object();  // still, at the origin, unless a test turns it
    Ptr<Pony> root, middle, last;
};

TEST_F(PonyTest, AChainReachesItsRestShapeInOne200MsUpdate) {
    clock->delta = 16;
    MakeChain();
    // The bone turns a quarter: the whole chain has to swing round at once.
    bone->world.CreateRotateZ(1.5707963f);
    clock->delta = 200;
    UpdateChain();

    const Vector3 rootDirection = (bone->world ^ Vector3(1, 0, 0)).Normalized();
    ExpectNear(root->worldPos, Vector3(0, 0, 0));
    ExpectNear(Direction(*root), rootDirection);  // a root follows its bone alone
    const Vector3 middleDirection = (rootDirection * 0.6f + Vector3(0, -0.4f, 0)).Normalized();
    ExpectNear(middle->worldPos, root->tip);
    ExpectNear(Direction(*middle), middleDirection);
    ExpectNear(last->worldPos, middle->tip);
    ExpectNear(Direction(*last), (middleDirection * 0.6f + Vector3(0, -0.4f, 0)).Normalized());
    for (const Ptr<Pony>& p : {root, middle, last}) {
        EXPECT_NEAR((p->tip - p->worldPos).Length(), 10, 1e-4);
    }
}

TEST_F(PonyTest, WithNoFrameTimeEverySegmentKeepsItsDirection) {
    clock->delta = 200;
    MakeChain();
    UpdateChain();
    UpdateChain();
    const Vector3 before[3] = {Direction(*root), Direction(*middle), Direction(*last)};

    bone->world.CreateRotateY(1.0f);  // the joint stays at the origin
    clock->delta = 0;
    UpdateChain();
    ExpectNear(Direction(*root), before[0], 1e-6f);
    ExpectNear(Direction(*middle), before[1], 1e-6f);
    ExpectNear(Direction(*last), before[2], 1e-6f);
}

TEST_F(PonyTest, AtFirstTheTipsStandAtTheRestEnd) {
    clock->delta = 0;
    Ptr<Pony> pony = new Pony(bone, {0, 5, 0}, {10, 5, 0}, {0, 0, 1}, {1, 1, 1}, nullptr,
                              nullptr, nullptr, nullptr, true);
    ExpectNear(pony->tip, Vector3(10, 5, 0));
    pony->Update();
    ExpectNear(pony->prevTip, Vector3(10, 5, 0));
    ExpectNear(pony->tip, Vector3(10, 5, 0));
    EXPECT_FLOAT_EQ(pony->length, 10);
}

TEST_F(PonyTest, TheMeshHangsWhereTheSegmentHangs) {
    clock->delta = 16;
    // A triangle along the second segment: both ends on its axis, one
    // corner 3 units to the side (along restZ, which is z here).
    Mesh mesh;
    mesh.Allocate(3, 1);
    mesh.vertices[0].pos = Vector3(5, 0, 0);
    mesh.vertices[1].pos = Vector3(15, 0, 0);
    mesh.vertices[2].pos = Vector3(10, 0, 3);
    mesh.faces = {0, 1, 2};
    Ptr<Pony> first = new Pony(bone, {0, 0, 0}, {5, 0, 0}, {0, 0, 1}, {1, 1, 1}, nullptr,
                               nullptr, nullptr, nullptr, true);
    Ptr<Pony> second = new Pony(first, {5, 0, 0}, {15, 0, 0}, {0, 0, 1}, {1, 1, 1}, &mesh,
                                nullptr, nullptr, nullptr, false);

    // Stored in the rest pose, with normals pointing away from the axis.
    ExpectNear(mesh.vertices[1].pos, Vector3(15, 0, 0));
    ExpectNear(mesh.vertices[2].pos, Vector3(10, 0, 3));
    ExpectNear(mesh.vertices[2].normal, Vector3(0, 0, 1));

    clock->delta = 200;
    first->Update();
    second->Update();
    ASSERT_LT(Direction(*second).y, -0.5f) << "the second segment sags";
    ExpectNear(second->world * mesh.vertices[0].pos, second->worldPos);
    ExpectNear(second->world * mesh.vertices[1].pos, second->tip);
    const Vector3 side = second->world * mesh.vertices[2].pos;
    EXPECT_NEAR((side - (second->worldPos + Direction(*second) * 5)).Length(), 3, 1e-4);
    // world * rest takes the segment's own frame to where it hangs now, as
    // for every node (the collision test relies on it).
    ExpectNear((second->world * second->rest) * Vector3(0, 10, 0), second->tip);
}

TEST_F(PonyTest, WithoutAParentARootHangsWhereItWasModelled) {
    clock->delta = 200;
    Ptr<Pony> pony = new Pony(nullptr, {0, 5, 0}, {0, 5, 10}, {1, 0, 0}, {1, 1, 1}, nullptr,
                              nullptr, nullptr, nullptr, true);
    pony->Update();
    ExpectNear(pony->worldPos, Vector3(0, 5, 0));
    ExpectNear(pony->tip, Vector3(0, 5, 10));
}

TEST_F(PonyTest, ConstructionLogsWhetherItIsARoot) {
    TraceCapture trace;
    clock->delta = 16;
    MakeChain();
    const std::string log = trace.str();
    const size_t first = log.find("isroot: true\n");
    EXPECT_NE(first, std::string::npos) << log;
    EXPECT_NE(log.find("isroot: false\n", first), std::string::npos) << log;
}

}  // namespace
