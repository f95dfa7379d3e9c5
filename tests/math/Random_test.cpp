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

TEST(Random, BelowCoversItsRangeEvenly) {
    Random random(1);
    int seen[6] = {};
    for (int i = 0; i < 6000; ++i) ++seen[random.Below(6)];  // out of range would overrun
    for (int count : seen) EXPECT_NEAR(count, 1000, 150);
    EXPECT_EQ(random.Below(0), 0);
}

}  // namespace
