// The value types of 3D arithmetic, the camera built from them, the containers
// and the seeded random source.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "math/Array.h"
#include "math/CSpline.h"
#include "math/Camera.h"
#include "math/DArray.h"
#include "math/Matrix.h"
#include "math/Ptr.h"
#include "math/PtrInterface.h"
#include "math/Random.h"
#include "math/SArray.h"
#include "support/ClockGuard.h"
#include "support/Near.h"
#include "support/TraceCapture.h"

namespace {

const float PI = 3.14159265358979f;

Matrix Rotate(char axis, float a) {
    Matrix r;
    if (axis == 'x') r.CreateRotateX(a);
    if (axis == 'y') r.CreateRotateY(a);
    if (axis == 'z') r.CreateRotateZ(a);
    return r;
}

TEST(Vectors, NormalisingZeroAndTheTextFormWithNoiseAsZero) {
    EXPECT_TRUE(Vector3().Normalized() == Vector3() && Vector3(Vector4(2, 4, -6, 2)) == Vector3(1, 2, -3))
        << "zero stays zero, not NaN; divided by w";
    std::stringstream text;
    // The float nearest 0.00001 lies just below it: noise too. The next one up is kept.
    text << Vector3(0.00001f, -2.5f, 0.0000101f);
    Vector3 back;
    EXPECT_EQ(text.str(), "\t0\t-2.5\t1.01e-05\t");
    EXPECT_EQ((text >> back, back), Vector3(0, -2.5f, 0.0000101f));
}

TEST(Vectors, MatricesTurnMoveInvertAndCombineRightFirst) {
    const struct {
        char axis;
        Vector3 from, to;
    } quarterTurns[] = {{'y', {1, 0, 0}, {0, 0, 1}}, {'x', {0, 1, 0}, {0, 0, -1}},
                        {'z', {1, 0, 0}, {0, -1, 0}}};
    for (const auto& t : quarterTurns) EXPECT_TRUE(Near(Rotate(t.axis, PI / 2) * t.from, t.to));
    const Vector3 r(0.3f, -1.2f, 2.1f);
    Matrix euler, move, identity;
    euler.CreateRotateXZY(r);
    EXPECT_TRUE(Near(euler, Rotate('x', r.x) * Rotate('z', r.z) * Rotate('y', r.y)));
    move.CreateTranslate(1, -2, 3);
    EXPECT_EQ(move ^ Vector3(0.5f, 4, -6), Vector3(0.5f, 4, -6)) << "directions are not moved";
    identity.CreateIdentity();
    Matrix swapped;  // the leading element is zero: only row swaps find the pivots
    const Vector4 rows[4] = {{0, 1, 0, 0}, {0, 0, 2, 0}, {4, 0, 0, 0}, {1, 2, 3, 1}};
    for (int i = 0; i < 4; ++i) swapped.ReplaceRow(i, rows[i]);
    for (const Matrix& m : {move * euler, swapped}) {
        Matrix inverse = m;
        inverse.Inverse();
        EXPECT_TRUE(Near(m * inverse, identity));
    }
    Matrix singular = euler;
    singular.ReplaceRow(1, Vector4(0, 0, 0, 0));
    singular.Inverse();
    EXPECT_TRUE(Near(singular, identity, 0));
}

TEST(Camera, BillboardsTurnWithoutStretchingAndCopiesKeepTheViewButNotTheShake) {
    const Camera standard;  // from above and behind, looking down 45 degrees
    const float h = std::sqrt(0.5f);
    EXPECT_TRUE(Near(standard.flat ^ Vector3(0, 0, 1), Vector3(0, -h, h)) &&
                std::fabs((standard.flat ^ Vector3(1, 0, 0)).Length() - 1) < 1e-5f &&
                std::fabs((standard.flat ^ Vector3(0, 1, 0)).Length() - 1) < 1e-5f) << "a sprite keeps its size";
    ClockGuard time;
    time.At(10000);
    Camera camera(Vector3(1, 2, 3), Vector3(), Vector3(0, 1, 0), 0);
    camera.StartShake(500);
    const Camera copied(camera);
    Camera assigned;
    assigned = camera;
    for (const Camera* copy : {&copied, static_cast<const Camera*>(&assigned)})
        EXPECT_TRUE(Near(copy->view, camera.view) && Near(copy->flat, camera.flat) && copy->shakeEnd == 0) << "no shake";
    // The shake bobs both points alike, and is over when its time is up.
    for (const int ms : {10000, 10047, 10500}) {
        time.At(ms);
        camera.SetFrom(Vector3(1, 2, 3));
        camera.SetAt(Vector3());
        const float offset = camera.at.y;
        EXPECT_TRUE((std::fabs(offset) > 5) == (ms == 10047) && Near(camera.from, Vector3(1, 2 + offset, 3)) &&
                    camera.target == Vector3()) << ms << ": the target is kept unshaken";
    }
}

// Counts its own destructions so that a test can see a double delete.
struct Counted : PtrInterface<Counted> {
    explicit Counted(int* deaths_) : deaths(deaths_) {}
    ~Counted() override { ++*deaths; }
    int* deaths;
};

std::string Contents(DArray<std::string>& list) {
    std::string text, x;
    for (list.Head(); list.Next(x);) text += x;
    return text;
}

TEST(ArraysDeathTest, BadIndexOrCreationEndsTheProgram) {
    SArray<int, 4> fixed;
    Array<int> heap;
    heap.Create(3);
    DArray<int> list;
    list.Add(1);
    volatile int index = 0;
    const std::function<void()> bad[] = {[&] { fixed[index = 4] = 1; }, [&] { fixed[index = -1] = 1; },
                                         [&] { heap[index = 3] = 1; }, [&] { heap.Create(3); },
                                         [&] { list[index = 1] = 1; }};  // inside the block, past the count
    for (const auto& use : bad) EXPECT_EXIT((TraceToStderr(), use()), testing::ExitedWithCode(255), "Assertion failed!");
}

TEST(DArray, GrowsKeepingOrderAndInsertsAtTheCursor) {
    DArray<int> numbers;
    for (int i = 0; i < 21; ++i) numbers.Add(i * 3);
    for (int i = 0; i < 21; ++i) EXPECT_EQ(numbers[i], i * 3);
    DArray<std::string> words;
    for (const char* s : {"a", "b", "c"}) words.Add(s);
    std::string last = "left over";
    EXPECT_TRUE(Contents(words) == "abc" && !words.Next(last) && last.empty()) << "the end gives the null value";
    words.Head();
    words.Next(last);
    words.Add("x");
    EXPECT_EQ(Contents(words), "axbc");
    words.Add("d");  // a finished iteration leaves the cursor at the end
    EXPECT_EQ(Contents(words), "axbcd");
}

TEST(Ptr, TheLastReferenceDeletesOnceWhereverItIsHeld) {
    int deaths = 0;
    {
        Ptr<Counted> a(new Counted(&deaths));
        Ptr<Counted>& same = a;
        a = same;
        DArray<Ptr<Counted>> list;
        for (int i = 0; i < 20; ++i) list.Add(a);  // grows through the copies
        a = Ptr<Counted>(new Counted(&deaths));
        EXPECT_EQ(deaths, 0) << "the list still holds the first";
    }
    EXPECT_EQ(deaths, 2);
    Ptr<Counted> original(new Counted(&deaths));
    Ptr<Counted> copy(new Counted(*original));
    copy = nullptr;
    EXPECT_TRUE(deaths == 3 && original->references == 1) << "a copied object starts unowned";
}

std::vector<std::uint32_t> Draws(std::uint64_t seed, int n) {
    Random random(seed);
    std::vector<std::uint32_t> out;
    for (int i = 0; i < n; ++i) out.push_back(random.Next());
    return out;
}

TEST(Random, TheSeedDecidesTheWholeSequenceAndBelowCoversItsRangeEvenly) {
    EXPECT_TRUE(Draws(42, 100) == Draws(42, 100) && Draws(42, 100) != Draws(43, 100));
    Random random(7);
    random.Next();
    random.Seed(42);
    EXPECT_EQ(random.Next(), Draws(42, 1)[0]) << "seeding again starts over";
    int seen[6] = {};
    for (int i = 0; i < 6000; ++i) ++seen[random.Below(6)];  // out of range would overrun
    for (int count : seen) EXPECT_NEAR(count, 1000, 150);
    EXPECT_EQ(random.Below(0), 0);
}

// A key point: rotation only when it has no position.
struct Key {
    float t;
    Vector3 rot, pos, vel;
    bool hasPos = true, hasVel = false;
};
Key At(float t, Vector3 rot, Vector3 pos) { return {t, rot, pos, {}}; }
Key Moving(float t, Vector3 rot, Vector3 pos, Vector3 vel) { return {t, rot, pos, vel, true, true}; }

// Drives a spline the way the match sequencer does each frame: set the
// time, then feed keys while the spline asks for them, setting the time
// again after each so that keys already behind the clock are consumed.
struct Feeder {
    explicit Feeder(std::vector<Key> keys_) : keys(std::move(keys_)) {}
    void Frame(float now) {
        spline.SetTime(now);
        while (spline.NeedPoint() && next < keys.size()) {
            const Key& k = keys[next++];
            if (k.hasVel) spline.AddPoint(k.t, k.rot, k.pos, k.vel);
            else if (k.hasPos) spline.AddPoint(k.t, k.rot, k.pos);
            else spline.AddPoint(k.t, k.rot);
            spline.SetTime(now);
        }
    }
    std::vector<Key> keys;
    size_t next = 0;
    CSpline spline;
};

const std::vector<Key> WALK = {
    At(0, {0, 0, 0}, {0, 0, 0}),
    At(0.1f, {0.5f, 0, 0}, {10, 5, 0}),
    Moving(0.25f, {0.2f, 1, 0}, {30, 5, -4}, {100, 0, 0}),
    At(0.4f, {-0.3f, 1.5f, 0.2f}, {35, 0, -10}),
    Moving(0.7f, {0, 3, 0}, {20, 0, 0}, {0, 0, 0}),
    At(1, {0, 0, 0}, {0, 0, 0}),
    At(1.2f, {0, 0, 0}, {-5, 0, 0}),
};

TEST(CSpline, PassesThroughEveryKeyWithContinuousVelocity) {
    Feeder feeder(WALK);
    EXPECT_EQ(feeder.spline.EvalPos(), Vector3()) << "a new spline rests at zero";
    for (size_t i = 0; i + 1 < WALK.size(); ++i) {
        const Key& k = WALK[i];
        SCOPED_TRACE(k.t);
        feeder.Frame(k.t - 1e-4f);
        feeder.spline.EvalPos();
        const Vector3 velocityBefore = feeder.spline.curVel;
        feeder.Frame(k.t);
        EXPECT_TRUE(Near(feeder.spline.EvalPos(), k.pos) && Near(feeder.spline.EvalRot(), k.rot, 1e-5f));
        if (k.hasVel) { EXPECT_TRUE(Near(feeder.spline.curVel, k.vel)); }
        if (i > 0) { EXPECT_TRUE(Near(feeder.spline.curVel, velocityBefore, 1.0f)); }
    }
}

TEST(CSpline, EqualTimesGiveAZeroSegmentAndZeroTangents) {
    const Vector3 b(3, 4, 5), bRot(0.5f, 0, 0);
    Feeder feeder({At(0, {}, {1, 1, 1}), At(0.5f, bRot, b), At(0.5f, {}, {9, 9, 9})});
    feeder.Frame(0);
    CSpline& spline = feeder.spline;
    spline.SetTime(0.5f);  // slots 1 and 2 now share the time 0.5
    spline.SetTime(0.7f);
    EXPECT_TRUE(spline.EvalPos() == b && spline.curVel == Vector3() && spline.EvalRot() == bRot);
    spline.AddPoint(0.5f, {}, {20, 0, 0});
    EXPECT_EQ(spline.vel[2], Vector3()) << "no time span to take a tangent over";
}

TEST(CSpline, AKeyWithoutPositionFliesUnderGravity) {
    Feeder feeder({Moving(0, {}, {5, 100, 0}, {0, 0, 0}), Key{0.5f, {0, 1, 0}, {}, {}, false},
                   At(1, {}, {0, 0, 0})});
    // Hermite interpolation between ballistic end points is the parabola itself.
    feeder.Frame(0), feeder.Frame(0.25f);
    EXPECT_TRUE(Near(feeder.spline.EvalPos(), Vector3(5, 100 - 18.0856f, 0), 1e-3f));
    feeder.Frame(0.5f);
    EXPECT_TRUE(Near(feeder.spline.EvalPos(), Vector3(5, 100 - 72.34253f, 0), 1e-3f) &&
                Near(feeder.spline.curVel, Vector3(0, -289.3701f, 0), 1e-3f));
}

TEST(CSpline, ResetToCurrentContinuesFromThePresentState) {
    Feeder feeder(WALK);
    for (float now : {0.0f, 0.1f, 0.2f, 0.33f}) feeder.Frame(now);
    const Vector3 pos = feeder.spline.EvalPos(), vel = feeder.spline.curVel;
    feeder.spline.ResetToCurrent();
    feeder.keys = {At(0.5f, {1, 1, 1}, {-20, 0, 8}), At(0.8f, {}, {}), At(1, {}, {})};
    feeder.next = 0;
    feeder.Frame(0.33f);
    EXPECT_TRUE(Near(feeder.spline.EvalPos(), pos) && Near(feeder.spline.curVel, vel, 1e-3f))
        << "no jerk where the new keys take over";
}

TEST(CSplineDeathTest, AddingToAFullWindowEndsTheProgram) {
    CSpline spline;  // a new spline is full
    EXPECT_EXIT((TraceToStderr(), spline.AddPoint(1, {}, {1, 0, 0})),
                testing::ExitedWithCode(255), "Assertion failed!");
}

}  // namespace
