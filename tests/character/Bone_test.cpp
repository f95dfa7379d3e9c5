#include "character/Bone.h"

#include <gtest/gtest.h>

#include <cmath>

#include "character/Head.h"
#include "character/LockBone.h"
#include "support/ClockGuard.h"
#include "support/Near.h"

namespace {

const float PI = 3.14159265358979f;

template <class Part>
Part* Make(Object* parent, const Vector3& joint, const Vector3& end,
           const Vector3& hint = Vector3(0, 0, 1)) {
    return new Part(parent, joint, end, hint, Vector3(2, (end - joint).Length(), 2), nullptr,
                    nullptr, nullptr, nullptr);
}

TEST(Bone, RunsFromItsJointToItsEndAndTurnsAboutTheJoint) {
    // An upper arm held out along x, its hint leaning forward and up.
    Ptr<Bone> arm = Make<Bone>(nullptr, Vector3(10, 140, 0), Vector3(40, 140, 0), Vector3(1, 0, 1));
    EXPECT_TRUE(Near(arm->restY, Vector3(1, 0, 0)) && Near(arm->restX, Vector3(0, -1, 0)) &&
                Near(arm->restZ, Vector3(0, 0, 1)));
    arm->SetRotation(Vector3(0, 0, PI / 2));  // CreateRotateZ takes x onto -y
    arm->Update();
    EXPECT_TRUE(Near(arm->worldPos, Vector3(10, 140, 0)) && Near(arm->tip, Vector3(10, 110, 0)));
    EXPECT_TRUE(Near(arm->prevTip, Vector3(40, 140, 0)));
    Ptr<Bone> point = Make<Bone>(nullptr, Vector3(1, 2, 3), Vector3(1, 2, 3));
    EXPECT_EQ(point->restY, Vector3(0, 1, 0)) << "a zero segment keeps the up axis";
}

TEST(LockBone, MovesWithItsParentWhateverItsAnimationSays) {
    Ptr<Bone> hand = Make<Bone>(nullptr, Vector3(0, 100, 0), Vector3(0, 80, 0));
    Ptr<LockBone> sword = Make<LockBone>(hand, Vector3(0, 80, 0), Vector3(0, 20, 0));
    for (int frame = 1; frame <= 3; ++frame) {
        hand->SetRotation(Vector3(0, 0, frame * 0.4f));
        hand->Update();
        if (frame < 3) sword->SetRotation(Vector3(frame * 1.3f, -0.7f, 2.0f));  // ignored
        sword->Update();
        EXPECT_TRUE(Near(sword->world, hand->world) && Near(sword->worldPos, hand->tip) &&
                    Near(sword->tip - sword->worldPos, (hand->tip - hand->worldPos) * 3)) << frame;
    }
}

class HeadTest : public ::testing::Test {
protected:
    // The target 200 away where the head faces it at yaw `angle`: the head's
    // z axis at yaw a is (-sin a, 0, cos a) and points away from what it sees.
    void PutTargetAt(float angle) {
        target.worldPos = head->worldPos - Vector3(-std::sin(angle), 0, std::cos(angle)) * 200;
    }
    // Runs `frames` updates, none of which may turn more than a step.
    void Run(int frames) {
        for (int i = 0; i < frames; ++i) {
            const float before = head->look.y;
            head->Update();
            ASSERT_LE(std::fabs(head->look.y - before), 0.05f + 1e-5f) << "frame " << i;
            furthest = std::fmax(furthest, std::fabs(head->look.y));
        }
    }
    ClockGuard clock;
    Ptr<Bone> neck = Make<Bone>(nullptr, Vector3(0, 130, 0), Vector3(0, 150, 0));
    Ptr<Head> head = Make<Head>(neck, Vector3(0, 150, 0), Vector3(0, 175, 0));
    Object target;
    float furthest = 0;
};

TEST_F(HeadTest, WithoutATargetItFollowsTheNeckAndIgnoresItsAnimation) {
    neck->SetRotation(Vector3(0, 0, PI / 2));
    neck->Update();
    head->SetRotation(Vector3(1, 1, 1));
    head->Update();
    EXPECT_TRUE(Near(head->worldPos, neck->tip) && Near(head->tip, Vector3(45, 130, 0)));
}

TEST_F(HeadTest, TurnsAStepAFrameTowardsTheTargetButNoFurtherThanTheLimit) {
    head->target(&target);
    const struct {
        float angle;
        int frames;
        float look, tolerance;
    } cases[] = {{0, 20, 0, 0}, {0.5f, 5, 0.25f, 1e-4f}, {0.5f, 30, 0.5f, 0.05f},
                 {-0.3f, 40, -0.3f, 0.05f}, {2.6f, 60, 1.325f, 0.025f}, {-2.6f, 120, -1.325f, 0.025f}};
    for (const auto& c : cases) {
        PutTargetAt(c.angle);
        Run(c.frames);
        EXPECT_NEAR(head->look.y, c.look, c.tolerance) << c.angle;
    }
    EXPECT_LE(furthest, 1.35f + 1e-4f);
    PutTargetAt(0.5f);
    Run(40);
    const Vector3 z = (head->world * head->rest ^ Vector3(0, 0, 1)).Normalized();
    EXPECT_GT(z.Dot((head->worldPos - target.worldPos).Normalized()), 0.99f)
        << "facing the target, the head's z axis points straight away from it";
}

}  // namespace
