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

// Where a segment hanging from direction d settles after one long step: the
// parent's direction pulled down.
Vector3 Sagging(const Vector3& d, float pull) {
    return (d * (1 - pull) + Vector3(0, -pull, 0)).Normalized();
}

Mesh MakeMesh(const std::vector<Vector3>& positions) {
    Mesh mesh;
    mesh.Allocate(static_cast<int>(positions.size()), static_cast<int>(positions.size() / 3));
    for (size_t i = 0; i < positions.size(); ++i) {
        mesh.vertices[i].pos = positions[i];
        mesh.faces[i] = static_cast<int>(i);
    }
    return mesh;
}

class HairTest : public ::testing::Test {
protected:
    HairTest() { clock.At(0, 16); }

    Pony* PonyAlongX(Object* parent, float from, bool isRoot, Mesh* mesh = nullptr) {
        return new Pony(parent, {from, 0, 0}, {from + 10, 0, 0}, {0, 0, 1}, {1, 1, 1}, mesh,
                        nullptr, nullptr, nullptr, isRoot);
    }

    ClockGuard clock;
    Ptr<Object> bone = new Object();  // still, at the origin, unless a test turns it
};

TEST_F(HairTest, APonyChainSettlesInOne200MsStepAndStandsStillWithoutFrameTime) {
    for (const int frameMs : {200, 0}) {
        clock.At(0, 0);
        bone->world.CreateIdentity();
        Ptr<Pony> root = PonyAlongX(bone, 0, true);
        Ptr<Pony> middle = PonyAlongX(root, 10, false);
        Ptr<Pony> last = PonyAlongX(middle, 20, false);
        EXPECT_TRUE(Near(last->tip, Vector3(30, 0, 0))) << "at first the tips stand at the rest end";
        clock.At(0, 200);
        for (int step = 0; step < 2; ++step) {
            for (Pony* p : {&*root, &*middle, &*last}) p->Update();
        }
        const Vector3 before[3] = {Direction(*root), Direction(*middle), Direction(*last)};
        // The whole chain has to swing round at once, or not at all.
        bone->world.CreateRotateZ(1.5707963f);
        clock.At(0, frameMs);
        for (Pony* p : {&*root, &*middle, &*last}) p->Update();
        if (frameMs == 0) {
            EXPECT_TRUE(Near(Direction(*last), before[2], 1e-6f));
            EXPECT_TRUE(Near(Direction(*root), before[0], 1e-6f));
            continue;
        }
        const Vector3 along = (bone->world ^ Vector3(1, 0, 0)).Normalized();
        EXPECT_TRUE(Near(Direction(*root), along)) << "a root follows its bone alone";
        EXPECT_TRUE(Near(middle->worldPos, root->tip));
        EXPECT_TRUE(Near(Direction(*middle), Sagging(along, 0.4f)));
        EXPECT_TRUE(Near(Direction(*last), Sagging(Sagging(along, 0.4f), 0.4f)));
        EXPECT_NEAR((last->tip - last->worldPos).Length(), 10, 1e-4);
    }
}

// A ponytail root segment 10 units out along x from the bone.
PonyBone* Segment(Object* parent, float flex) {
    return new PonyBone(parent, {0, 0, 0}, {10, 0, 0}, {0, 0, 1}, flex, 0, 0, true);
}

TEST_F(HairTest, ATailSegmentBendsNoMoreThan60DegreesFromItsParent) {
    Ptr<PonyBone> loose = Segment(bone, 1);  // with flex 1 only its last direction counts
    loose->Update();
    loose->Update();
    loose->tip = Vector3(-10, 3, 0);  // well behind the bone
    loose->Update();
    EXPECT_GE(Direction(*loose).Dot(Vector3(1, 0, 0)), 0.5f - 1e-6f);
    EXPECT_GT(Direction(*loose).y, 0) << "pulled round on the side it was";
    // Exactly opposite there is no side to pull it round by.
    loose->tip = Vector3(-10, 0, 0);
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
    void Build(float flex, int n = 2) {
        flexes[0] = flexes[1] = flex;
        tail = new Ponytail(bone, n, &mesh, &restMesh, nullptr, counts, joints, ends, hints,
                            flexes);
    }

    std::vector<Vector3> positions = {{0, -10, 0}, {1, -5, 0},  {0, -2, 1},
                                      {0, -20, 0}, {1, -15, 0}, {0, -12, -1}};
    Mesh mesh = MakeMesh(positions);
    Mesh restMesh = MakeMesh(positions);
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
    EXPECT_EQ(tail->bones[1]->start, 3);
    EXPECT_TRUE(Near(restMesh.vertices[3].pos, Vector3(0, 10, 0))) << "along its segment";
    // Segment i spreads over the middle half of the i-th of two bands, top to bottom.
    const float v[6] = {0.375f, -1, 0.125f, 0.875f, -1, 0.625f};
    for (int j : {0, 2, 3, 5}) EXPECT_NEAR(restMesh.vertices[j].v, v[j], 1e-6) << j;

    bone->world.CreateRotateZ(0.5f);  // the bone swings the tail sideways
    tail->Update();
    for (int i = 0; i < 2; ++i) {
        const PonyBone* segment = tail->bones[i];
        EXPECT_TRUE(Near(mesh.vertices[3 * i].pos, segment->tip));
        EXPECT_NEAR((mesh.vertices[3 * i + 1].pos - segment->worldPos).Length(),
                    restMesh.vertices[3 * i + 1].pos.Length(), 1e-4);
    }
    EXPECT_NEAR(mesh.vertices[0].normal.Length(), 1, 1e-5) << "normals recomputed";

    int one[1] = {1};
    tail = new Ponytail(bone, 1, &mesh, &restMesh, nullptr, one, joints, ends, hints, flexes);
    EXPECT_FLOAT_EQ(restMesh.vertices[0].v, 0.5f) << "all at one height: the band's middle";
}

TEST_F(PonytailTest, ANewTailIgnoresItsPreviousTipForTwoUpdates) {
    Build(0.9f);
    PonyBone* root = tail->bones[0];
    for (int step = 0; step < 3; ++step) {
        root->tip = Vector3(10, 0, 0);  // a last tip straight out to the side
        tail->Update();
        if (step < 2) {
            EXPECT_TRUE(Near(Direction(*root), Sagging(Vector3(0, -1, 0), 0.2f))) << step;
        } else {
            EXPECT_GT(Direction(*root).x, 0.5f) << "from the third update on it trails";
        }
    }
}

}  // namespace
