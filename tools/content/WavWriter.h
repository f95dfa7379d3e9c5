#pragma once

// Sounds as the generator writes them: 16-bit mono PCM WAV files at the
// game's own mixing rate, so that the game converts nothing when it loads
// them.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace content {

struct Wave {
    static constexpr int RATE = 22050;

    explicit Wave(float seconds) : samples(static_cast<size_t>(seconds * RATE), 0.0f) {}

    size_t Samples() const { return samples.size(); }
    static float Time(size_t i) { return static_cast<float>(i) / RATE; }

    // Ready to be heard: no DC left (a gentle high-pass), the ends faded so
    // that the sound starts and stops without a click, and scaled so that
    // its loudest sample is `peak` (below 1: never clipped).
    void Finish(float peak) {
        float previousIn = 0, previousOut = 0;
        for (float& s : samples) {
            const float out = s - previousIn + 0.995f * previousOut;
            previousIn = s;
            previousOut = out;
            s = out;
        }
        const size_t fade = std::min(samples.size() / 2, static_cast<size_t>(0.004f * RATE));
        for (size_t i = 0; i < fade; ++i) {
            const float k = static_cast<float>(i) / fade;
            samples[i] *= k;
            samples[samples.size() - 1 - i] *= k;
        }
        float loudest = 0;
        for (float s : samples) loudest = std::max(loudest, std::fabs(s));
        if (loudest > 0)
            for (float& s : samples) s *= peak / loudest;
    }

    bool Write(const std::string& path) const {
        std::ofstream out(path, std::ios::binary);
        if (!out) return false;
        const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
        out.write("RIFF", 4);
        Put32(out, 36 + bytes);
        out.write("WAVEfmt ", 8);
        Put32(out, 16);
        Put16(out, 1);  // PCM
        Put16(out, 1);  // mono
        Put32(out, RATE);
        Put32(out, RATE * 2);
        Put16(out, 2);
        Put16(out, 16);
        out.write("data", 4);
        Put32(out, bytes);
        for (float s : samples) {
            const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
            Put16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
        }
        return static_cast<bool>(out);
    }

    std::vector<float> samples;  // -1 .. 1

private:
    static void Put16(std::ofstream& out, uint16_t v) {
        const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
        out.write(b, 2);
    }
    static void Put32(std::ofstream& out, uint32_t v) {
        Put16(out, static_cast<uint16_t>(v & 0xFFFF));
        Put16(out, static_cast<uint16_t>(v >> 16));
    }
};

}  // namespace content
