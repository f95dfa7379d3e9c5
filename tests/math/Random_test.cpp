#include "math/Random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::uint32_t> Draws(std::uint64_t seed, int n) {
    Random random(seed);
    std::vector<std::uint32_t> out;
    for (int i = 0; i < n; ++i) out.push_back(random.Next());
    return out;
}

TEST(Random, TheSeedDecidesTheWholeSequence) {
    EXPECT_EQ(Draws(42, 100), Draws(42, 100));
    EXPECT_NE(Draws(42, 100), Draws(43, 100));
    Random random(7);
    random.Next();
    random.Seed(42);
    EXPECT_EQ(random.Next(), Draws(42, 1)[0]) << "seeding again starts over";
}

TEST(Random, DrawsStayInTheirRangesAndCoverThem) {
    Random random(1);
    int seen[6] = {};
    float lowest = 1, highest = 0;
    for (int i = 0; i < 6000; ++i) {
        const int below = random.Below(6);
        ASSERT_GE(below, 0);
        ASSERT_LT(below, 6);
        ++seen[below];
        const float u = random.Uniform();
        lowest = std::min(lowest, u);
        highest = std::max(highest, u);
    }
    for (int count : seen) EXPECT_NEAR(count, 1000, 150);
    EXPECT_GE(lowest, 0.0f);
    EXPECT_LT(highest, 1.0f);
    EXPECT_LT(lowest, 0.01f);
    EXPECT_GT(highest, 0.99f);
    EXPECT_EQ(random.Below(0), 0);
}

}  // namespace
