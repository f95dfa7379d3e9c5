#include "character/Cloth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "character/ClothPony.h"
#include "render/Mesh.h"
#include "support/ClockGuard.h"
#include "support/Near.h"

namespace {

// Rows side by side along x, each running down from y = 0 in steps of 5.
Mesh Rows(const std::vector<int>& counts, const std::vector<int>& faces = {}) {
    Mesh mesh;
    int n = 0;
    for (int count : counts) n += count;
    mesh.Allocate(n, static_cast<int>(faces.size() / 3));
    int i = 0;
    for (size_t r = 0; r < counts.size(); ++r) {
        for (int j = 0; j < counts[r]; ++j) {
            mesh.vertices[i++] = Vertex(Vector3(10.0f * r, -5.0f * j, 0), Vector3(0, 0, 1), 0, 0);
        }
    }
    mesh.faces = faces;
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

TEST_F(ClothTest, ARowIsAChainOfLinksWhoseVerticesAndTwinsFollowTheBone) {
    Mesh mesh = Rows({4});
    Ptr<Cloth> cloth = Row(mesh, 4, 0.5f);
    ASSERT_EQ(cloth->links.count, 3);
    EXPECT_EQ(static_cast<Object*>(cloth->links[2]->parent), cloth->links[1]);
    bone->world.CreateTranslate(3, 50, 0);
    for (int step = 0; step < 3; ++step) {
        cloth->Update();
        EXPECT_TRUE(Near(mesh.vertices[0].pos, Vector3(3, 50, 0)));
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(mesh.vertices[4 + j].pos, mesh.vertices[j].pos) << "the twin follows " << j;
            if (j > 0) { EXPECT_NEAR((mesh.vertices[j].pos - mesh.vertices[j - 1].pos).Length(), 5, 1e-4); }
        }
    }
}

TEST_F(ClothTest, TheMeshIsDoubledWithTheTwinsWoundBackwardsAndMappedAcrossTheRows) {
    Mesh quad = Rows({2, 2}, {0, 2, 1, 1, 2, 3});
    const float rigid[1] = {0};
    const float* flex[2] = {rigid, rigid};
    const int two[2] = {2, 2};
    Ptr<Cloth> cloth = new Cloth(bone, 2, two, flex, &quad, nullptr, 2);
    EXPECT_EQ(quad.numVertices, 8);
    EXPECT_EQ(quad.faces, (std::vector<int>{0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6}));
    // Rows of 2, 1 and 3 vertices; the single one reads no flexibility.
    Mesh mesh = Rows({2, 1, 3});
    const float row0[1] = {0.5f}, row2[2] = {0.5f, 0.5f};
    const float* uneven[3] = {row0, nullptr, row2};
    const int three[3] = {2, 1, 3};
    cloth = new Cloth(bone, 3, three, uneven, &mesh, nullptr, 3);
    const float e = 2.001f;  // rows (and the longest row) less 0.999
    const float uv[6][2] = {{0, 0}, {0, 1 / e}, {1 / e, 0}, {2 / e, 0}, {2 / e, 1 / e}, {2 / e, 2 / e}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(std::fabs(mesh.vertices[i].u - uv[i][0]) < 1e-6f && std::fabs(mesh.vertices[i].v - uv[i][1]) < 1e-6f) << i;
    }
    bone->world.CreateTranslate(0, 0, 7);
    cloth->Update();
    EXPECT_TRUE(Near(mesh.vertices[2].pos, Vector3(10, 0, 7))) << "the single vertex rides the bone";
}

TEST_F(ClothTest, RigidLinksStayOnTheBoneAndAnyOtherFlexibilityTrailsAsATenth) {
    Mesh rigid = Rows({3}), half = Rows({3}), most = Rows({3});
    Ptr<Cloth> stiff = Row(rigid, 3, 0);
    Ptr<Cloth> a = Row(half, 3, 0.5f);
    Ptr<Cloth> b = Row(most, 3, 0.9f);
    Matrix turn, move;
    turn.CreateRotateY(1.2f);
    move.CreateTranslate(4, 30, -2);
    bone->world = move * turn;
    for (int step = 0; step < 4; ++step) {
        for (Cloth* c : {&*stiff, &*a, &*b}) c->Update();
    }
    for (int j = 0; j < 3; ++j) {
        EXPECT_TRUE(Near(rigid.vertices[j].pos, bone->world * Vector3(0, -5.0f * j, 0)) &&
                    Near(half.vertices[j].pos, most.vertices[j].pos, 1e-6f)) << j;
    }
    EXPECT_GT((half.vertices[2].pos - rigid.vertices[2].pos).Length(), 0.1f) << "a loose link lags";
}

TEST_F(ClothTest, ALooseLinkNeverPassesBehindTheSurface) {
    // A link hanging down from the bone, which then moves sideways: the link
    // trails towards -x, which the normal allows on one side only.
    for (const float side : {1.0f, -1.0f}) {
        bone->world.CreateIdentity();
        Ptr<ClothPony> link = new ClothPony(bone, {0, 0, 0}, {0, -10, 0}, true, false, 0.5f);
        bone->world.CreateTranslate(10, 0, 0);
        link->normal = Vector3(side, 0, 0);
        link->Update();
        EXPECT_EQ(Near(link->tip, Vector3(10, -10, 0)), side > 0) << "behind the surface it stays in place";
        EXPECT_EQ(link->tip.x < 9.9f, side < 0) << "in front of it it trails";
    }
}

}  // namespace
