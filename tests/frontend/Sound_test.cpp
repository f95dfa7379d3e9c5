#include "frontend/Sound.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "support/ScratchDir.h"
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

// The manager is a singleton: each test starts and leaves it with an empty
// queue, no device, the game's format and full volume.
class SoundTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        Reset();
    }
    void TearDown() override {
        manager->Close();
        Reset();
        ScratchDirTest::TearDown();
    }
    void Reset() {
        manager->deviceOpen = false;
        manager->SetFormat(Sound::Manager::RATE, Sound::Manager::CHANNELS);
        manager->volume = 100;
        manager->muted = false;
    }

    // One call of the mixer over a buffer of `count` samples.
    std::vector<Sint16> Mix(size_t count) {
        std::vector<Sint16> out(count, 12345);
        manager->callback(reinterpret_cast<Uint8*>(out.data()), static_cast<int>(count * 2));
        return out;
    }

    Sound::Manager* manager = Sound::Manager::instance();
};

// ------------------------------------------------------------ mixing

TEST_F(SoundTest, OverlappingLoudSoundsClipInsteadOfWrappingAround) {
    Samples a({30000, -30000, 1000}), b({30000, -30000, 2000});
    manager->newSound(&a.sound);
    manager->newSound(&b.sound);
    EXPECT_EQ(Mix(4), (std::vector<Sint16>{32767, -32768, 3000, 0}));
}

TEST_F(SoundTest, ASoundOfThreeBytesIsFinishedAndDroppedInOneCall) {
    Samples whole({1000, 2000});
    Sound& sound = whole.sound;
    sound.length = 3;  // the odd byte cannot hold a sample
    manager->newSound(&sound);
    EXPECT_EQ(Mix(512)[0], 1000);
    EXPECT_EQ(Mix(512)[0], 0) << "the stray byte is never played";
    EXPECT_TRUE(manager->playing.empty());
    EXPECT_TRUE(manager->positions.empty());
}

TEST_F(SoundTest, ALongSoundContinuesAtTheNextByte) {
    std::vector<Sint16> ramp(700);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<Sint16>(i + 1);
    Samples long_(ramp);
    manager->newSound(&long_.sound);
    Mix(512);
    ASSERT_EQ(manager->positions, std::vector<Uint32>{1024});
    const std::vector<Sint16> next = Mix(512);
    EXPECT_EQ(next[0], 513);
    EXPECT_EQ(next[187], 700);
    EXPECT_EQ(next[188], 0);
    EXPECT_TRUE(manager->playing.empty());
}

TEST_F(SoundTest, AnEmptySoundIsDroppedAndTheOthersKeepTheirOrder) {
    Samples first(std::vector<Sint16>(600, 100)), last(std::vector<Sint16>(600, 10));
    Sound empty;
    manager->newSound(&first.sound);
    manager->newSound(&empty);
    manager->newSound(&last.sound);
    std::vector<Sint16> out(8);
    Sound::Manager::callback(manager, reinterpret_cast<Uint8*>(out.data()), 16);  // as SDL calls it
    EXPECT_EQ(out[0], 110);
    EXPECT_EQ(manager->playing, (std::vector<Sound*>{&first.sound, &last.sound}));
    EXPECT_EQ(manager->positions, (std::vector<Uint32>{16, 16}));
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
        SCOPED_TRACE(testing::Message() << c.gain << " at volume " << c.volume << (c.muted ? " muted" : ""));
        Samples s({8000, 8000});
        s.sound.gain = c.gain;
        manager->volume = c.volume;
        manager->muted = c.muted;
        manager->newSound(&s.sound);
        EXPECT_EQ(Mix(1)[0], c.heard);
        EXPECT_EQ(manager->positions, std::vector<Uint32>{2}) << "silent or not, the sound plays on";
        manager->SetFormat(Sound::Manager::RATE, Sound::Manager::CHANNELS);
    }
}

TEST_F(SoundTest, PlayOnceQueuesOnlyWhileADeviceIsOpenAndUpToTheLimit) {
    Samples s({1});
    for (int i = 0; i < 100; ++i) s.sound.PlayOnce();
    EXPECT_TRUE(manager->playing.empty()) << "nothing would ever drain the queue";

    manager->deviceOpen = true;
    s.sound.PlayOnce();
    EXPECT_EQ(manager->playing.size(), 1u);
    s.sound.PlayOnce();
    EXPECT_EQ(manager->playing.size(), 2u) << "each play is an entry of its own";
    for (int i = 0; i < 100; ++i) s.sound.PlayOnce();
    EXPECT_EQ(manager->playing.size(), Sound::Manager::MAX_PLAYING);
}

TEST_F(SoundTest, AVolumeOutsideItsRangeIsBroughtIntoIt) {
    TraceCapture trace;
    manager->SetVolume(150);
    EXPECT_EQ(manager->volume, 100);
    manager->SetVolume(-5);
    EXPECT_EQ(manager->volume, 0);
    EXPECT_TRUE(trace.Has("volume -5 is outside 0..100; 0 is used"));
}

// ------------------------------------------------------------ loading

TEST_F(SoundTest, WavsOfEveryLayoutAreConvertedToTheMixersFormatAndPlay) {
    const struct {
        const char* what;
        wav::Format format;
        std::vector<int> stored;
        size_t samples;  // after conversion
        Sint16 first;    // ... and the first of them
    } cases[] = {
        {"8-bit unsigned", {22050, 1, 8}, {255, 0, 192}, 3, 32512},
        {"16-bit signed", {22050, 1, 16}, {-1000, 1000, 7}, 3, -1000},
        {"stereo", {22050, 2, 16}, {1000, 3000, -2000, -4000}, 2, 2000},
        {"44100 Hz", {44100, 1, 16}, std::vector<int>(400, 1000), 200, 1000},
        {"11025 Hz", {11025, 1, 16}, std::vector<int>(100, -500), 200, -500},
        {"no samples", {22050, 1, 16}, {}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Write("sounds/in.wav", wav::Bytes(c.format, c.stored));
        Sound sound;
        ASSERT_TRUE(sound.Load("sounds/in.wav"));
        EXPECT_EQ(sound.length, c.samples * 2);
        manager->newSound(&sound);
        EXPECT_EQ(Mix(1)[0], c.first);
        manager->Forget(&sound);
    }
}

TEST_F(SoundTest, FilesThatAreNoUsableWavAreRefusedWithATraceLine) {
    const std::string valid = wav::Bytes({}, std::vector<int>(100, 1000));
    const struct {
        const char* what;
        std::string bytes;  // empty: no file at all
        const char* traced;
    } cases[] = {
        {"truncated", valid.substr(0, 100), "the 'data' chunk claims 200 bytes, 56 follow"},
        {"a huge claimed size", wav::Bytes({}, {1, 2}, 0xFFFFFFF0u),
         "the 'data' chunk claims 4294967280 bytes"},
        {"no WAV", "version 2\ndamage 12\n", "expected a WAV file"},
        {"24 bits", wav::Bytes({22050, 1, 24}, {1, 2}), "expected PCM samples of 8 or 16 bits"},
        {"missing", "", "cannot be read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove("sounds/bad.wav");
        if (!c.bytes.empty()) Write("sounds/bad.wav", c.bytes);
        TraceCapture trace;
        Sound sound;
        EXPECT_FALSE(sound.Load("sounds/bad.wav"));
        EXPECT_TRUE(trace.Has(std::string("sounds/bad.wav: ") + c.traced)) << trace.str();
        EXPECT_EQ(sound.data, nullptr);
        EXPECT_EQ(sound.length, 0u);
    }
}

// ------------------------------------------------------------ the device

TEST_F(SoundTest, TheDummyDriverCountsAsNoDevice) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TraceCapture trace;
    EXPECT_FALSE(manager->Open());
    unsetenv("SDL_AUDIODRIVER");
    EXPECT_FALSE(manager->deviceOpen);
    EXPECT_TRUE(trace.Has("sound: the dummy audio driver plays nothing; the game is silent"));
}

TEST_F(SoundTest, AnOpenDeviceDrainsTheQueueIntoWhatItPlays) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "out.raw", 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    const bool open = manager->Open();
    unsetenv("SDL_AUDIODRIVER");
    ASSERT_TRUE(open);
    EXPECT_EQ(manager->spec.freq, Sound::Manager::RATE);
    EXPECT_EQ(manager->spec.samples, Sound::Manager::BUFFER_SAMPLES);

    const std::vector<Sint16> marker = {12345, -23456, 32000, -32000};
    Samples s(marker);
    s.sound.PlayOnce();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    bool drained = false;
    while (!drained && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        SDL_LockAudio();
        drained = manager->playing.empty();
        SDL_UnlockAudio();
    }
    manager->Close();  // flushes the file
    ASSERT_TRUE(drained);
    std::ifstream in("out.raw", std::ios::binary);
    const std::string played((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string expected(reinterpret_cast<const char*>(marker.data()), marker.size() * 2);
    EXPECT_NE(played.find(expected), std::string::npos);
}

}  // namespace
