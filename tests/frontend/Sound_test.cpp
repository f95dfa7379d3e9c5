#include "frontend/Sound.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The manager is a singleton: each test starts and leaves it with an empty
// queue and no device.
class SoundTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        Sound::Manager* manager = Sound::Manager::instance();
        manager->playing.clear();
        manager->positions.clear();
        manager->deviceOpen = false;
        manager->spec.silence = 128;
    }

    // A sound over samples that the test keeps alive.
    static Sound Over(std::vector<Uint8>& samples) {
        Sound sound;
        sound.data = samples.data();
        sound.length = static_cast<Uint32>(samples.size());
        return sound;
    }

    Sound::Manager* manager = Sound::Manager::instance();
};

TEST_F(SoundTest, LoadSucceedsWithoutReadingAnything) {
    Sound sound;
    EXPECT_TRUE(sound.Load("sounds/whoosh"));
    EXPECT_EQ(sound.data, nullptr);
    EXPECT_EQ(sound.length, 0u);
}

TEST_F(SoundTest, PlayOnceQueuesNothingWithoutADevice) {
    Sound sound;
    for (int i = 0; i < 100; ++i) sound.PlayOnce();
    EXPECT_TRUE(manager->playing.empty()) << "nothing would ever drain the queue";
    EXPECT_TRUE(manager->positions.empty());

    manager->deviceOpen = true;
    sound.PlayOnce();
    sound.PlayOnce();
    ASSERT_EQ(manager->playing.size(), 2u) << "each play is an entry of its own";
    EXPECT_EQ(manager->playing[1], &sound);
    EXPECT_EQ(manager->positions, (std::vector<Uint32>{0, 0}));
}

TEST_F(SoundTest, TwoSoundsAreEachHalved) {
    std::vector<Uint8> loud = {100, 200, 255};
    std::vector<Uint8> soft = {50};
    Sound a = Over(loud), b = Over(soft);
    manager->newSound(&a);
    manager->newSound(&b);
    std::vector<Uint8> stream(8, 0);
    manager->callback(stream.data(), static_cast<int>(stream.size()));
    EXPECT_EQ(stream, (std::vector<Uint8>{128 + 50 + 25, 128 + 100, 128 + 127, 128, 128, 128, 128,
                                          128}));
    EXPECT_TRUE(manager->playing.empty()) << "both finished within the buffer";

    // Sums wrap around in eight bits.
    std::vector<Uint8> high = {200};
    Sound c = Over(high);
    manager->newSound(&c);
    manager->callback(stream.data(), 1);
    EXPECT_EQ(stream[0], static_cast<Uint8>(128 + 200));
}

TEST_F(SoundTest, ShortSoundIsDroppedAfterOneCall) {
    std::vector<Uint8> samples = {1, 2, 3};
    Sound sound = Over(samples);
    manager->newSound(&sound);
    std::vector<Uint8> stream(1024);
    manager->callback(stream.data(), 1024);
    EXPECT_EQ(stream[2], 131);
    EXPECT_EQ(stream[3], 128);
    EXPECT_TRUE(manager->playing.empty());
    EXPECT_TRUE(manager->positions.empty());
}

TEST_F(SoundTest, LongSoundContinuesInTheNextCall) {
    std::vector<Uint8> samples(1500);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<Uint8>(i % 100);
    Sound sound = Over(samples);
    manager->newSound(&sound);
    std::vector<Uint8> stream(1024);
    manager->callback(stream.data(), 1024);
    ASSERT_EQ(manager->playing.size(), 1u);
    EXPECT_EQ(manager->positions[0], 1024u);
    EXPECT_EQ(stream[1023], 128 + 1023 % 100);

    manager->callback(stream.data(), 1024);
    EXPECT_EQ(stream[0], 128 + 1024 % 100) << "the next buffer starts at the next byte";
    EXPECT_EQ(stream[475], 128 + 1499 % 100);
    EXPECT_EQ(stream[476], 128);
    EXPECT_TRUE(manager->playing.empty());
}

TEST_F(SoundTest, EmptySoundIsDroppedWithoutWriting) {
    Sound empty;
    std::vector<Uint8> samples(2000, 2);
    Sound first = Over(samples), last = Over(samples);
    manager->newSound(&first);
    manager->newSound(&empty);
    manager->newSound(&last);
    std::vector<Uint8> stream(16, 0);
    Sound::Manager::callback(manager, stream.data(), 16);  // as SDL would call it
    EXPECT_EQ(stream[0], 128) << "three queued: 2 / 3 adds nothing";
    EXPECT_EQ(manager->playing, (std::vector<Sound*>{&first, &last})) << "the others keep their order";
    EXPECT_EQ(manager->positions, (std::vector<Uint32>{16, 16}));

    manager->playing = {&empty};
    manager->positions = {0};
    manager->callback(stream.data(), 16);
    EXPECT_EQ(stream, std::vector<Uint8>(16, 128));
    EXPECT_TRUE(manager->playing.empty());
}

}  // namespace
