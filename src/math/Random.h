#pragma once

#include <cstdint>

// A small, fast random generator whose whole sequence follows from its seed
// (SplitMix64), so that whatever draws from it can be played again exactly.
// Each user keeps its own: nothing else advances it.
class Random {
public:
    explicit Random(std::uint64_t seed = 0) : state(seed), origin(seed) {}

    void Seed(std::uint64_t seed) { state = origin = seed; }
    std::uint64_t seed() const { return origin; }  // the seed it started from

    std::uint32_t Next();            // 32 random bits
    float Uniform();                 // in [0, 1)
    float Between(float lo, float hi);  // in [lo, hi)
    int Below(int n);                // 0 .. n-1; 0 when n < 1
    bool Chance(float p);            // true with probability p

private:
    std::uint64_t state;
    std::uint64_t origin;
};
