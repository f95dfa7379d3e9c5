#pragma once

// The building blocks of the generated sounds: a seeded noise source, a
// tone whose pitch may glide, a resonant filter whose frequency may move,
// and the usual envelopes. Everything runs at Wave::RATE.

#include <cmath>
#include <cstdint>

#include "content/WavWriter.h"

namespace content {

const float TAU = 6.2831853f;

// White noise in -1 .. 1, the same for the same seed.
class Noise {
public:
    explicit Noise(uint32_t seed) : state(seed * 2654435761u + 1) {}
    float operator()() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state) / 2147483648.0f - 1.0f;
    }

private:
    uint32_t state;
};

// A sine whose frequency is given sample by sample.
class Tone {
public:
    float operator()(float hz) {
        phase += TAU * hz / Wave::RATE;
        if (phase > TAU) phase -= TAU;
        return std::sin(phase);
    }

private:
    float phase = 0;
};

// A two-pole filter (the audio cookbook's biquads) whose corner or centre
// frequency is given sample by sample.
class Filter {
public:
    enum Kind { LOW, HIGH, BAND };
    explicit Filter(Kind kind, float q = 0.707f) : kind(kind), q(q) {}

    float operator()(float x, float hz) {
        const float w = TAU * std::fmin(hz, 0.45f * Wave::RATE) / Wave::RATE;
        const float c = std::cos(w), alpha = std::sin(w) / (2 * q);
        float b0, b1, b2;
        if (kind == LOW) {
            b0 = b2 = (1 - c) / 2;
            b1 = 1 - c;
        } else if (kind == HIGH) {
            b0 = b2 = (1 + c) / 2;
            b1 = -(1 + c);
        } else {
            b0 = alpha;
            b1 = 0;
            b2 = -alpha;
        }
        const float a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
        const float y = (b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2) / a0;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    Kind kind;
    float q;
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// Falls from 1 by e every `tau` seconds.
inline float Decay(float t, float tau) { return std::exp(-t / tau); }
// Rises from 0 to 1 in `attack` seconds, then stays.
inline float Rise(float t, float attack) { return t < attack ? t / attack : 1.0f; }
// From `from` to `to` along an exponential glide with time constant `tau`.
inline float Glide(float t, float from, float to, float tau) { return to + (from - to) * Decay(t, tau); }
// 0 at both ends of a span of `length` seconds, 1 in its middle; `skew` < 1
// brings the top earlier.
inline float Hump(float t, float length, float skew = 1) {
    const float x = std::pow(std::fmin(std::fmax(t / length, 0.0f), 1.0f), skew);
    const float s = std::sin(3.1415927f * x);
    return s * s;
}

}  // namespace content
