#include "character/Bone.h"

#include <gtest/gtest.h>

#include <cmath>

#include "character/Head.h"
#include "character/LockBone.h"
#include "core/Clock.h"
#include "core/System.h"
#include "render/Mesh.h"

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

template <class Part>
Part* Make(Object* parent, const Vector3& joint, const Vector3& end,
           const Vector3& hint = Vector3(0, 0, 1)) {
    return new Part(parent, joint, end, hint, Vector3(2, (end - joint).Length(), 2), nullptr,
                    nullptr, nullptr, nullptr);
}

// ------------------------------------------------------------------ bones

TEST(Bone, RestFrameRunsFromTheJointToTheEnd) {
    Ptr<Bone> bone = Make<Bone>(nullptr, Vector3(), Vector3(0, 10, 0));
    EXPECT_EQ(bone->restX, Vector3(1, 0, 0));
    EXPECT_EQ(bone->restY, Vector3(0, 1, 0));
    EXPECT_EQ(bone->restZ, Vector3(0, 0, 1));
    EXPECT_FLOAT_EQ(bone->length, 10);
    ExpectNear(bone->tipOffset, Vector3(0, 10, 0));
    ExpectNear(bone->worldPos, Vector3(0, 0, 0));
    ExpectNear(bone->tip, Vector3(0, 10, 0));
    EXPECT_TRUE(bone->rotates);
    EXPECT_FALSE(bone->translates);
    EXPECT_EQ(bone->collisionMesh->numVertices, 17);

    // The animation turns it about its joint: CreateRotateZ takes y onto x.
    bone->SetRotation(Vector3(0, 0, PI / 2));
    bone->Update();
    ExpectNear(bone->worldPos, Vector3(0, 0, 0));
    ExpectNear(bone->tip, Vector3(10, 0, 0));
    ExpectNear(bone->prevTip, Vector3(0, 10, 0));
}

TEST(Bone, HintNeedNotBePerpendicularAndAZeroSegmentKeepsTheUpAxis) {
    // An upper arm held out along x, its hint leaning forward and up.
    Ptr<Bone> arm = Make<Bone>(nullptr, Vector3(10, 140, 0), Vector3(40, 140, 0), Vector3(1, 0, 1));
    ExpectNear(arm->restY, Vector3(1, 0, 0));
    ExpectNear(arm->restX, Vector3(0, -1, 0));
    ExpectNear(arm->restZ, Vector3(0, 0, 1));
    ExpectNear(arm->tipOffset, Vector3(0, 30, 0));
    ExpectNear(arm->worldPos, Vector3(10, 140, 0));
    ExpectNear(arm->tip, Vector3(40, 140, 0));

    Ptr<Bone> point = Make<Bone>(nullptr, Vector3(1, 2, 3), Vector3(1, 2, 3));
    EXPECT_EQ(point->restY, Vector3(0, 1, 0));
    EXPECT_EQ(point->length, 0);
    ExpectNear(point->tip, Vector3(1, 2, 3));
}

TEST(Bone, AChainCarriesTheForearmWithTheUpperArm) {
    Ptr<Bone> upper = Make<Bone>(nullptr, Vector3(0, 100, 0), Vector3(0, 70, 0));
    Ptr<Bone> fore = Make<Bone>(upper, Vector3(0, 70, 0), Vector3(0, 40, 0));
    ExpectNear(fore->tip, Vector3(0, 40, 0));

    // The shoulder swings the arm forward a quarter turn; the elbow bends on.
    upper->SetRotation(Vector3(PI / 2, 0, 0));
    fore->SetRotation(Vector3(PI / 2, 0, 0));
    upper->Update();
    fore->Update();
    ExpectNear(fore->worldPos, upper->tip);
    const Vector3 upperDir = (upper->tip - upper->worldPos) / 30;
    const Vector3 foreDir = (fore->tip - fore->worldPos) / 30;
    EXPECT_NEAR(upperDir.Length(), 1, 1e-4f);
    EXPECT_NEAR(foreDir.Length(), 1, 1e-4f);
    EXPECT_NEAR(upperDir.Dot(foreDir), 0, 1e-4f) << "the elbow is bent at a right angle";
    EXPECT_NEAR(upperDir.y, 0, 1e-4f) << "the upper arm is level";

    // The previous update's joint and tip make the far side of the swept quad.
    ExpectNear(fore->prevPos, Vector3(0, 70, 0));
    ExpectNear(fore->prevTip, Vector3(0, 40, 0));
}

TEST(LockBone, MovesWithItsParentWhateverItsAnimationSays) {
    Ptr<Bone> hand = Make<Bone>(nullptr, Vector3(0, 100, 0), Vector3(0, 80, 0));
    Ptr<LockBone> sword = Make<LockBone>(hand, Vector3(0, 80, 0), Vector3(0, 20, 0));
    ExpectNear(sword->worldPos, Vector3(0, 80, 0));
    ExpectNear(sword->tip, Vector3(0, 20, 0));

    for (int frame = 1; frame <= 3; ++frame) {
        hand->SetRotation(Vector3(0, 0, frame * 0.4f));
        hand->Update();
        sword->SetRotation(Vector3(frame * 1.3f, -0.7f, 2.0f));  // ignored
        sword->Update();
        ExpectNear(sword->world, hand->world);
        ExpectNear(sword->worldPos, hand->tip);
        ExpectNear(sword->tip, hand->world * Vector3(0, 20, 0));
        ExpectNear(sword->tip - sword->worldPos, (hand->tip - hand->worldPos) * 3);
    }

    // Nobody posed it this frame, yet it still follows the hand.
    hand->SetRotation(Vector3(0, 0, -1));
    hand->Update();
    sword->Update();
    ExpectNear(sword->worldPos, hand->tip);
    ExpectNear(sword->tip - sword->worldPos, (hand->tip - hand->worldPos) * 3);
}

// ------------------------------------------------------------------- head

class HeadTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock = System::instance()->clock;
        savedMode = clock->mode;
        clock->mode = 1;
    }
    void TearDown() override { clock->mode = savedMode; }

    // Places the target 200 away so that the head would face it exactly at
    // yaw `angle`: the head's z axis at yaw a is (−sin a, 0, cos a) and points
    // away from what it looks at.
    void PutTargetAt(float angle) {
        target.worldPos = head->worldPos - Vector3(-std::sin(angle), 0, std::cos(angle)) * 200;
    }

    // Runs `frames` updates and checks that no update turns more than a step.
    void Run(int frames) {
        for (int i = 0; i < frames; ++i) {
            const float before = head->look.y;
            head->Update();
            ASSERT_LE(std::fabs(head->look.y - before), 0.05f + 1e-5f) << "frame " << i;
            extreme = std::fmax(extreme, std::fabs(head->look.y));
        }
    }

    Clock* clock = nullptr;
    int savedMode = 1;
    Ptr<Bone> neck = Make<Bone>(nullptr, Vector3(0, 130, 0), Vector3(0, 150, 0));
    Ptr<Head> head = Make<Head>(neck, Vector3(0, 150, 0), Vector3(0, 175, 0));
    Object target;
    float extreme = 0;
};

TEST_F(HeadTest, WithoutATargetItFollowsTheNeckAndIgnoresItsAnimation) {
    EXPECT_EQ(head->targetObject, nullptr);
    EXPECT_EQ(head->look, Vector3());
    ExpectNear(head->worldPos, Vector3(0, 150, 0));
    ExpectNear(head->tip, Vector3(0, 175, 0));
    neck->SetRotation(Vector3(0, 0, PI / 2));
    neck->Update();
    head->SetRotation(Vector3(1, 1, 1));
    head->Update();
    ExpectNear(head->worldPos, neck->tip);
    ExpectNear(head->tip, Vector3(25 + 20, 130, 0));
}

TEST_F(HeadTest, TargetStraightAheadKeepsTheHeadStill) {
    head->target(&target);
    PutTargetAt(0);
    Run(20);
    EXPECT_EQ(head->look.y, 0);
    ExpectNear(head->worldPos, Vector3(0, 150, 0));
    ExpectNear(head->world * head->rest ^ Vector3(0, 0, 1), Vector3(0, 0, 1));
}

TEST_F(HeadTest, TurnsAStepAFrameUntilItFacesTheTarget) {
    head->target(&target);
    PutTargetAt(0.5f);
    Run(5);
    EXPECT_NEAR(head->look.y, 0.25f, 1e-4f);
    Run(30);
    EXPECT_NEAR(head->look.y, 0.5f, 0.05f);
    // Facing the target, the head's z axis points straight away from it.
    const Vector3 z = (head->world * head->rest ^ Vector3(0, 0, 1)).Normalized();
    EXPECT_GT(z.Dot((head->worldPos - target.worldPos).Normalized()), 0.99f);

    PutTargetAt(-0.3f);
    Run(40);
    EXPECT_NEAR(head->look.y, -0.3f, 0.05f);
}

TEST_F(HeadTest, ATargetFarToOneSideTurnsTheHeadNoFurtherThanTheLimit) {
    head->target(&target);
    PutTargetAt(2.6f);
    Run(60);
    EXPECT_GE(head->look.y, 1.3f);
    EXPECT_LE(extreme, 1.35f + 1e-4f);

    PutTargetAt(-2.6f);
    Run(120);
    EXPECT_LE(head->look.y, -1.3f);
    EXPECT_LE(extreme, 1.35f + 1e-4f);
}

TEST_F(HeadTest, FrozenTimeFreezesTheHead) {
    head->target(&target);
    PutTargetAt(1.0f);
    Run(3);
    const Vector3 look = head->look;
    const Matrix world = head->world;
    const Vector3 prevTip = head->prevTip;
    clock->mode = 0;
    neck->SetRotation(Vector3(0, 0, 1));
    neck->Update();
    Run(5);
    EXPECT_EQ(head->look, look);
    ExpectNear(head->world, world, 0);
    EXPECT_EQ(head->prevTip, prevTip);
    clock->mode = 1;
    Run(1);
    EXPECT_NE(head->look, look);
}

}  // namespace
