// The mixing callback, measured: one buffer of the device's size with eight
// sounds playing at once, each at a gain of its own.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "frontend/Sound.h"

namespace {

const int PLAYING = 8;

void BM_MixOneBufferOfEightSounds(benchmark::State& state) {
    Sound::Manager* manager = Sound::Manager::instance();
    manager->SetFormat(Sound::Manager::RATE, Sound::Manager::CHANNELS);
    manager->volume = 80;

    std::vector<Sint16> samples(Sound::Manager::RATE);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<Sint16>(20000 * std::sin(0.05 * static_cast<double>(i)));
    }
    Sound sounds[PLAYING];
    for (int i = 0; i < PLAYING; ++i) {
        sounds[i].data = reinterpret_cast<Uint8*>(samples.data());
        sounds[i].length = static_cast<Uint32>(samples.size() * sizeof(Sint16));
        sounds[i].gain = 0.5f + 0.05f * static_cast<float>(i);
        manager->newSound(&sounds[i]);
    }
    std::vector<Uint8> buffer(manager->spec.size);
    for (auto _ : state) {
        // Every run mixes the same stretch of the sounds.
        for (Uint32& position : manager->positions) position = 0;
        manager->callback(buffer.data(), static_cast<int>(buffer.size()));
        benchmark::DoNotOptimize(buffer.data());
    }
    manager->SetFormat(Sound::Manager::RATE, Sound::Manager::CHANNELS);
}
BENCHMARK(BM_MixOneBufferOfEightSounds)->Unit(benchmark::kMicrosecond);

}  // namespace
