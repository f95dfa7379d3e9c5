// Pony hair (rigid segments) and ponytails (a mesh dealt out to segments).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "character/Pony.h"
#include "character/PonyBone.h"
#include "character/Ponytail.h"
#include "render/Mesh.h"
#include "support/ClockGuard.h"
#include "support/Near.h"

namespace {

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
            Object* parent = i == 0 ? static_cast<Object*>(bone) : chain[i - 1];
            chain[i] = new Pony(parent, {10.0f * i, 0, 0}, {10.0f * i + 10, 0, 0}, {0, 0, 1}, {1, 1, 1}, nullptr,
                                nullptr, nullptr, nullptr, i == 0);
        }
        for (int step = 0; step < 2; ++step) {
            for (Pony* p : chain) p->Update();
        }
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
    loose->Update();
    loose->Update();
    loose->tip = Vector3(-10, 3, 0);  // well behind the bone
    loose->Update();
    EXPECT_TRUE(Direction(*loose).Dot(Vector3(1, 0, 0)) >= 0.5f - 1e-6f && Direction(*loose).y > 0)
        << "pulled round on the side it was";
    loose->tip = Vector3(-10, 0, 0);  // exactly opposite: no side to pull it round by
    loose->Update();
    EXPECT_TRUE(Near(loose->tip, Vector3(10, 0, 0)));
    Ptr<PonyBone> flat = new PonyBone(bone, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, 1, 0, 0, true);
    Ptr<PonyBone> below = new PonyBone(flat, {0, 0, 0}, {0, -5, 0}, {0, 0, 1}, 1, 0, 0, false);
    for (int step = 0; step < 3; ++step) {
        flat->Update();
        below->Update();
    }
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
            for (int i = 0; i < 6; ++i) {
                m->vertices[i].pos = positions[i];
                m->faces[i] = i;
            }
        }
    }
    void Build(float flex, int n = 2) {
        flexes[0] = flexes[1] = flex;
        tail = new Ponytail(bone, n, &mesh, &restMesh, nullptr, counts, joints, ends, hints, flexes);
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

}  // namespace
