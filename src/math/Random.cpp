#include "math/Random.h"

std::uint32_t Random::Next() {
    state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

float Random::Uniform() {
    // 24 bits: every value is a float exactly, and 1 is never reached.
    return static_cast<float>(Next() >> 8) * (1.0f / 16777216.0f);
}

float Random::Between(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

int Random::Below(int n) {
    if (n < 1) return 0;
    return static_cast<int>((static_cast<std::uint64_t>(Next()) * static_cast<std::uint32_t>(n)) >> 32);
}

bool Random::Chance(float p) { return Uniform() < p; }
