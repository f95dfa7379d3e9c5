#include "frontend/Sound.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Preferences.h"
#include "frontend/GameSounds.h"
#include "support/ScratchDir.h"
#include "support/SoundGuard.h"
#include "support/TraceCapture.h"
#include "support/WavFile.h"

namespace {

// Samples set by hand, kept alive with the sound that plays them.
struct Samples {
    explicit Samples(std::vector<Sint16> v) : values(std::move(v)) {
        sound.data = reinterpret_cast<Uint8*>(values.data());
        sound.length = static_cast<Uint32>(values.size() * sizeof(Sint16));
    }
    std::vector<Sint16> values;
    Sound sound;
};

class SoundTest : public ScratchDirTest {
protected:
    // One call of the mixer, as SDL makes it, over `count` samples.
    // An odd byte more than the samples asked for must come back silent.
    std::vector<Sint16> Mix(size_t count) {
        std::vector<Sint16> out(count + 1, 12345);
        Sound::Manager::callback(manager, reinterpret_cast<Uint8*>(out.data()),
                                 static_cast<int>(count * 2 + 1));
        EXPECT_EQ(reinterpret_cast<const Uint8*>(out.data())[count * 2], 0);
        out.pop_back();
        return out;
    }

    const SoundGuard closed{false};
    Sound::Manager* const manager = closed.manager;
};

TEST_F(SoundTest, OverlappingLoudSoundsClipInsteadOfWrappingAround) {
    Samples a({30000, -30000, 1000}), b({30000, -30000, 2000});
    manager->newSound(&a.sound);
    manager->newSound(&b.sound);
    EXPECT_EQ(Mix(4), (std::vector<Sint16>{32767, -32768, 3000, 0}));
}

TEST_F(SoundTest, ShortSoundsEndInOneCallLongOnesGoOnAtTheNextByteEmptyOnesAreDropped) {
    std::vector<Sint16> ramp(700);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<Sint16>(i + 1);
    Samples three({-7, 9}), longer(ramp), other(std::vector<Sint16>(600, 10));
    three.sound.length = 3;  // the odd byte cannot hold a sample
    Sound empty;
    for (Sound* s : {&three.sound, &longer.sound, &empty, &other.sound}) manager->newSound(s);
    EXPECT_EQ(Mix(512)[0], -7 + 1 + 10);
    EXPECT_TRUE(manager->playing == (std::vector<Sound*>{&longer.sound, &other.sound}) &&
                manager->positions == (std::vector<Uint32>{1024, 1024}));
    const std::vector<Sint16> next = Mix(512);
    EXPECT_TRUE(next[0] == 513 + 10 && next[187] == 700 && next[188] == 0 && manager->playing.empty());
}

TEST_F(SoundTest, EachSoundPlaysAtItsOwnGainTimesTheSquaredVolume) {
    const struct {
        float gain;
        int volume;
        bool muted;
        Sint16 heard;
    } cases[] = {
        {1, 100, false, 8000}, {0.5f, 100, false, 4000}, {1, 50, false, 2000},
        {0, 100, false, 0},    {1, 0, false, 0},         {1, 100, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.gain << ' ' << c.volume << ' ' << c.muted);
        Samples s({8000, 8000});
        s.sound.gain = c.gain, manager->volume = c.volume, manager->muted = c.muted;
        manager->newSound(&s.sound);
        EXPECT_TRUE(Mix(1)[0] == c.heard && manager->positions == std::vector<Uint32>{2}) << "silent or not, it plays on";
    }
}

TEST_F(SoundTest, PlayOnceQueuesOnlyWhileADeviceIsOpenAndUpToTheLimit) {
    Samples s({1});
    s.sound.PlayOnce();
    EXPECT_TRUE(manager->playing.empty()) << "nothing would ever drain the queue";
    manager->deviceOpen = true;
    s.sound.PlayOnce(), s.sound.PlayOnce();
    EXPECT_EQ(manager->playing.size(), 2u) << "one entry per play";
    for (int i = 0; i < 100; ++i) s.sound.PlayOnce();
    EXPECT_EQ(manager->playing.size(), Sound::Manager::MAX_PLAYING);
}

// SDL 1.2 and SDL 2 (under the 1.2 compat library) convert a little
// differently: a sample may be one step off, and a resampled sound a sample
// longer or shorter, with its first samples ramping in.
TEST_F(SoundTest, WavsOfEveryLayoutAreConvertedToTheMixersFormatAndPlay) {
    const struct {
        const char* what;
        wav::Format format;
        std::vector<int> stored;
        size_t samples;  // after conversion
        Sint16 middle;   // the sample half-way through them, as played
    } cases[] = {
        {"8-bit unsigned", {22050, 1, 8}, std::vector<int>(50, 192), 50, 16384},
        {"16-bit signed", {22050, 1, 16}, std::vector<int>(50, -1000), 50, -1000},
        {"stereo", {22050, 2, 16}, std::vector<int>{1000, 3000, 1000, 3000}, 2, 2000},
        {"44100 Hz", {44100, 1, 16}, std::vector<int>(400, 1000), 200, 1000},
        {"11025 Hz", {11025, 1, 16}, std::vector<int>(100, -500), 200, -500},
        {"no samples", {22050, 1, 16}, {}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile("in.wav", wav::Bytes(c.format, c.stored));
        Sound sound;
        ASSERT_TRUE(sound.Load("in.wav"));
        EXPECT_NEAR(sound.length / 2.0, c.samples, 1.0);
        manager->newSound(&sound);
        EXPECT_NEAR(Mix(c.samples + 1)[c.samples / 2], c.middle, 16);
    }
}

// A fighter's moves load the same sounds again and again: within a batch the
// file is read once, and a load after the batch reads it anew.
TEST_F(SoundTest, ABatchReadsEachFileOnceAndOnlyWhileItLasts) {
    WriteFile("in.wav", wav::Bytes({}, std::vector<int>(10, 1000)));
    Sound first, again, after;
    {
        const Sound::Batch batch;
        ASSERT_TRUE(first.Load("in.wav"));
        WriteFile("in.wav", wav::Bytes({}, std::vector<int>(20, -1000)));
        ASSERT_TRUE(again.Load("in.wav"));
    }
    ASSERT_TRUE(after.Load("in.wav"));
    EXPECT_EQ(again.length, first.length);
    EXPECT_EQ(after.length, 40u);
}

TEST_F(SoundTest, FilesThatAreNoUsableWavAreRefusedWithATraceLine) {
    const std::string valid = wav::Bytes({}, std::vector<int>(100, 1000));
    const struct {
        std::string bytes;  // empty: no file at all
        const char* traced;
    } cases[] = {
        {valid.substr(0, 100), "the 'data' chunk claims 200 bytes, 56 follow"},
        {wav::Bytes({}, {1, 2}, 0xFFFFFFF0u), "the 'data' chunk claims 4294967280 bytes"},
        {"version 2\ndamage 12\n", "expected a WAV file"},
        {std::string("RIFF\x0c\0\0\0WAVEdata\0\0\0\0", 20), "expected a 'fmt ' and a 'data' chunk"},
        {wav::Bytes({22050, 1, 24}, {1, 2}), "expected PCM samples of 8 or 16 bits"},
        {"", "cannot be read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.traced);
        std::remove("bad.wav");
        if (!c.bytes.empty()) WriteFile("bad.wav", c.bytes);
        TraceCapture trace;
        Sound sound;
        EXPECT_TRUE(!sound.Load("bad.wav") && sound.length == 0u);
        EXPECT_TRUE(trace.Has(std::string("bad.wav: ") + c.traced)) << trace.str();
    }
}

using GameSoundsTest = ScratchDirTest;

TEST_F(GameSoundsTest, TheVolumeIsHeardAtOnceAndKeptWithThePlayersOptions) {
    const Preferences saved = preferences;
    setenv("XDG_CONFIG_HOME", std::filesystem::current_path().c_str(), 1);
    GameSounds::SetVolume(130);
    Preferences read;
    const bool kept = read.Load(Preferences::Path());
    unsetenv("XDG_CONFIG_HOME");
    const int heard = Sound::Manager::instance()->volume;
    Sound::Manager::instance()->volume = 100;
    preferences = saved;
    EXPECT_TRUE(heard == 100 && kept && read.volume == 100);
}

}  // namespace
