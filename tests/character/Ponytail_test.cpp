#include "character/Ponytail.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "character/PonyBone.h"
#include "core/Clock.h"
#include "core/System.h"
#include "math/Ptr.h"
#include "render/Mesh.h"
#include "render/RenderFiles.h"

namespace {

const float PI = 3.14159265358979f;

void ExpectNear(const Vector3& actual, const Vector3& expected, float eps = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
    EXPECT_NEAR(actual.z, expected.z, eps);
}

Vector3 Direction(const Object& segment) { return (segment.tip - segment.worldPos).Normalized(); }

Mesh MakeMesh(const std::vector<Vector3>& positions, const std::vector<int>& faces) {
    Mesh mesh;
    mesh.Allocate(static_cast<int>(positions.size()), static_cast<int>(faces.size() / 3));
    for (size_t i = 0; i < positions.size(); ++i) mesh.vertices[i].pos = positions[i];
    mesh.faces = faces;
    return mesh;
}

// Each test chooses the frame time and clock mode the segments read; the
// clock is put back after.
class PonytailTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock = System::instance()->clock;
        savedDelta = clock->delta;
        savedMode = clock->mode;
        clock->delta = 16;
        clock->mode = 1;
    }
    void TearDown() override {
        clock->delta = savedDelta;
        clock->mode = savedMode;
    }

    // A root segment 10 units out along x from the bone's origin.
    Ptr<PonyBone> Segment(float flex) {
        return new PonyBone(bone, {0, 0, 0}, {10, 0, 0}, {0, 0, 1}, flex, 0, 0, true);
    }

    Clock* clock = nullptr;
    int savedDelta = 0;
    int savedMode = 1;
    Ptr<Object> bone = new Object();  // still, at the origin, unless a test moves it
};

// Where a segment hanging from direction d wants to point.
Vector3 Target(const Vector3& d) { return (d * 0.8f + Vector3(0, -0.2f, 0)).Normalized(); }

// ---------------------------------------------------------------- segments

TEST_F(PonytailTest, AStiffSegmentFollowsItsParentAtOnce) {
    Ptr<PonyBone> root = Segment(0);
    Ptr<PonyBone> next = new PonyBone(root, {10, 0, 0}, {20, 0, 0}, {0, 0, 1}, 0, 0, 0, false);
    for (int step = 0; step < 4; ++step) {
        // A last tip off to the side means nothing to a segment without flex.
        root->tip = Vector3(0, 0, 10);
        next->tip = Vector3(10, 0, -10);
        root->Update();
        next->Update();
        ExpectNear(Direction(*root), Target(Vector3(1, 0, 0)));
        ExpectNear(Direction(*next), Target(Direction(*root)));
        ExpectNear(next->worldPos, root->tip);
        EXPECT_NEAR((next->tip - next->worldPos).Length(), 10, 1e-4);
    }
}

TEST_F(PonytailTest, ASegmentBendsNoMoreThan60DegreesFromItsParent) {
    Ptr<PonyBone> loose = Segment(1);  // with flex 1 only its last direction counts
    loose->Update();
    loose->Update();
    ASSERT_EQ(loose->settle, 0);

    loose->tip = Vector3(-10, 3, 0);  // well behind the bone
    loose->Update();
    EXPECT_GE(Direction(*loose).Dot(Vector3(1, 0, 0)), 0.5f - 1e-6f);
    EXPECT_GT(Direction(*loose).y, 0) << "pulled round on the side it was";

    // Exactly opposite there is no side to pull it round by: it takes the
    // parent's direction rather than loop for ever.
    loose->tip = Vector3(-10, 0, 0);
    loose->Update();
    ExpectNear(loose->tip, Vector3(10, 0, 0));
}

TEST_F(PonytailTest, ASegmentHangingFromNoDirectionStillSteps) {
    Ptr<PonyBone> flat = new PonyBone(bone, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, 1, 0, 0, true);
    Ptr<PonyBone> next = new PonyBone(flat, {0, 0, 0}, {0, -5, 0}, {0, 0, 1}, 1, 0, 0, false);
    for (int step = 0; step < 3; ++step) {
        flat->Update();
        next->Update();
    }
    EXPECT_TRUE(std::isfinite(next->tip.x) && std::isfinite(next->tip.y));
}

TEST_F(PonytailTest, SegmentsStandStillWhileTheClockIsFrozen) {
    Ptr<PonyBone> segment = Segment(0.5f);
    segment->Update();
    const Vector3 tip = segment->tip;
    const Matrix world = segment->world;
    clock->mode = 0;
    bone->world.CreateTranslate(0, 40, 0);
    segment->Update();
    EXPECT_EQ(segment->tip, tip);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(segment->world.m[i], world.m[i]);
}

// ---------------------------------------------------------------- the tail

// Two 10-unit segments hanging straight down from the origin, three
// vertices each: one on the axis at the segment's end, two to the side.
class PonytailBuilt : public PonytailTest {
protected:
    void Build(float flex) {
        flexes[0] = flexes[1] = flex;
        tail = new Ponytail(bone, 2, &mesh, &restMesh, nullptr, counts, joints, ends, hints,
                            flexes);
    }

    std::vector<Vector3> positions = {{0, -10, 0}, {1, -5, 0},  {0, -2, 1},
                                      {0, -20, 0}, {1, -15, 0}, {0, -12, -1}};
    Mesh mesh = MakeMesh(positions, {0, 1, 2, 3, 4, 5});
    Mesh restMesh = MakeMesh(positions, {0, 1, 2, 3, 4, 5});
    int counts[2] = {3, 3};
    Vector3 joints[2] = {{0, 0, 0}, {0, -10, 0}};
    Vector3 ends[2] = {{0, -10, 0}, {0, -20, 0}};
    Vector3 hints[2] = {{0, 0, 1}, {0, 0, 1}};
    float flexes[2] = {0.5f, 0.5f};
    Ptr<Ponytail> tail;
};

TEST_F(PonytailBuilt, EachSegmentKeepsItsVerticesInItsOwnFrameAndBand) {
    TraceCapture trace;
    Build(0.5f);
    ASSERT_EQ(tail->bones.count, 2);
    EXPECT_EQ(tail->nsegments, 2);
    EXPECT_EQ(tail->bones[0]->start, 0);
    EXPECT_EQ(tail->bones[1]->start, 3);
    EXPECT_EQ(tail->bones[1]->count, 3);
    EXPECT_TRUE(tail->bones[0]->isRoot);
    EXPECT_FALSE(tail->bones[1]->isRoot);
    EXPECT_EQ(static_cast<Object*>(tail->bones[1]->parent), tail->bones[0]);

    for (int j = 0; j < 6; ++j) {
        const PonyBone* segment = tail->bones[j / 3];
        const Vector3 local = segment->restInverse * positions[j];
        ExpectNear(restMesh.vertices[j].pos, local);
        EXPECT_EQ(mesh.vertices[j].pos, restMesh.vertices[j].pos);
        float u = std::atan2(local.x, -local.z) / (2 * PI) + 0.5f;
        if (u >= 1) u = 0;
        EXPECT_NEAR(restMesh.vertices[j].u, u, 1e-5);
    }
    ExpectNear(restMesh.vertices[3].pos, Vector3(0, 10, 0));  // along the segment
    // Segment i spreads over the middle half of the i-th of two bands.
    EXPECT_NEAR(restMesh.vertices[0].v, 0.75f / 2, 1e-6);  // highest local y of segment 0
    EXPECT_NEAR(restMesh.vertices[2].v, 0.25f / 2, 1e-6);  // lowest
    EXPECT_NEAR(restMesh.vertices[3].v, 1.75f / 2, 1e-6);
    EXPECT_NEAR(restMesh.vertices[5].v, 1.25f / 2, 1e-6);
    EXPECT_NE(trace.str().find("maxy: 10\tminy: 2\n"), std::string::npos) << trace.str();
}

TEST_F(PonytailBuilt, UpdateMovesTheVerticesWithTheirSegments) {
    Build(0.5f);
    bone->world.CreateRotateZ(0.5f);  // the bone swings the tail sideways
    tail->Update();
    for (int i = 0; i < 2; ++i) {
        const PonyBone* segment = tail->bones[i];
        ExpectNear(mesh.vertices[3 * i].pos, segment->tip);
        EXPECT_NEAR((mesh.vertices[3 * i + 1].pos - segment->worldPos).Length(),
                    restMesh.vertices[3 * i + 1].pos.Length(), 1e-4);
    }
    ExpectNear(restMesh.vertices[0].pos, Vector3(0, 10, 0));  // the rest copy stays
    EXPECT_NEAR(mesh.vertices[0].normal.Length(), 1, 1e-5) << "normals recomputed";
    EXPECT_EQ(tail->shadowMesh, &mesh);
}

TEST_F(PonytailBuilt, ANewTailIgnoresItsPreviousTipForTwoUpdates) {
    Build(0.9f);
    PonyBone* root = tail->bones[0];
    EXPECT_EQ(root->settle, 2);
    const Vector3 target = Target(Vector3(0, -1, 0));
    for (int step = 0; step < 3; ++step) {
        root->tip = Vector3(10, 0, 0);  // a last tip straight out to the side
        tail->Update();
        if (step < 2) {
            ExpectNear(Direction(*root), target);
        } else {
            EXPECT_GT(Direction(*root).x, 0.5f) << "from the third update on it trails";
        }
    }
}

TEST_F(PonytailBuilt, CountsBeyondTheMeshAreCutToWhatIsThere) {
    TraceCapture trace;
    int tooMany[3] = {4, 5, -2};
    Vector3 joints3[3] = {{0, 0, 0}, {0, -10, 0}, {0, -20, 0}};
    Vector3 ends3[3] = {{0, -10, 0}, {0, -20, 0}, {0, -30, 0}};
    Vector3 hints3[3] = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    float flex3[3] = {0.5f, 0.5f, 0.5f};
    tail = new Ponytail(bone, 3, &mesh, &restMesh, nullptr, tooMany, joints3, ends3, hints3,
                        flex3);
    ASSERT_EQ(tail->bones.count, 3);
    EXPECT_EQ(tail->bones[1]->start, 4);
    EXPECT_EQ(tail->bones[1]->count, 2);
    EXPECT_EQ(tail->bones[2]->count, 0);
    EXPECT_NE(trace.str().find("ponytail segment 1 claims 5 vertices; the mesh has 2 left"),
              std::string::npos)
        << trace.str();
    tail->Update();
    EXPECT_EQ(mesh.vertices.size(), 6u);

    // A rest copy shorter than the mesh limits both.
    Mesh shortRest = MakeMesh({{0, -1, 0}, {0, -2, 0}}, {});
    int three[1] = {3};
    tail = new Ponytail(bone, 1, &mesh, &shortRest, nullptr, three, joints, ends, hints, flexes);
    EXPECT_EQ(tail->bones[0]->count, 2);

    // No mesh, or no segments at all, is a tail with nothing to move.
    tail = new Ponytail(bone, 1, nullptr, nullptr, nullptr, three, joints, ends, hints, flexes);
    EXPECT_EQ(tail->bones[0]->count, 0);
    tail->Update();
    tail = new Ponytail(bone, -1, &mesh, &restMesh, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr);
    EXPECT_EQ(tail->bones.count, 0);
    EXPECT_EQ(tail->nsegments, 0);
}

TEST_F(PonytailBuilt, ASegmentAllAtOneHeightTakesTheMiddleOfItsBand) {
    int one[1] = {1};
    tail = new Ponytail(bone, 1, &mesh, &restMesh, nullptr, one, joints, ends, hints, flexes);
    EXPECT_FLOAT_EQ(restMesh.vertices[0].v, 0.5f);
}

TEST_F(PonytailBuilt, ATailFreesItsSegments) {
    Build(0.5f);
    EXPECT_EQ(bone->references, 3);  // the test, the tail and its first segment
    tail = nullptr;
    EXPECT_EQ(bone->references, 1);
}

}  // namespace
