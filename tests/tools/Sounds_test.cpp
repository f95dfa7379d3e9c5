// The sounds the generator wrote into the build's data folder, as the game
// loads them: every game event has its file, and every file is short, peaks
// below clipping and carries no DC offset.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "frontend/GameSounds.h"
#include "frontend/Sound.h"

namespace {

TEST(GeneratedSounds, AreShortUnclippedAndCentred) {
    const std::filesystem::path dir = std::filesystem::path(KORVANTHE_DATA_DIR) / "sounds";
    for (int e = 0; e < GameSounds::EVENTS; ++e) {
        const char* file = GameSounds::File(static_cast<GameSounds::Event>(e));
        EXPECT_TRUE(std::filesystem::exists(dir / file)) << file;
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        SCOPED_TRACE(entry.path().filename().string());
        Sound sound;
        ASSERT_TRUE(sound.Load(entry.path().c_str()));
        const Sint16* samples = reinterpret_cast<const Sint16*>(sound.data);
        const size_t count = sound.length / 2;
        int peak = 0;
        double sum = 0;
        for (size_t i = 0; i < count; ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
            sum += samples[i];
        }
        EXPECT_LT(peak, 0.95 * 32767);
        EXPECT_GT(peak, 0.3 * 32767) << "loud enough to be heard over the others";
        EXPECT_LT(std::abs(sum / static_cast<double>(count)), 0.005 * 32767);
        EXPECT_LE(count, 1.2 * Sound::Manager::RATE);
        ++files;
    }
    EXPECT_GE(files, 15);
}

}  // namespace
