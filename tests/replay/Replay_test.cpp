// Replays of the default fighters: recorded by two computer players, written,
// read back and played through newly loaded fighters, in the game's order of
// a frame (controllers sample, the clock steps, fighters move, blows land),
// the fighters held still while the round's caption shows, as in the game.
#include "replay/Replay.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <sstream>

#include "ai/ComputerController.h"
#include "match/RoundRules.h"
#include "replay/Playback.h"
#include "replay/Recorder.h"
#include "replay/ReplayReader.h"
#include "support/MatchHarness.h"

namespace {

class ReplayTest : public ContentMatchTest {
protected:
    // Two computer players at `level`s for at most `ms` or until one loses,
    // in frames of 14 to 20 ms.
    Replay Record(int level0, int level1, std::uint64_t seed, int ms) {
        Replay header;
        header.arena = match->arena;
        header.players[0] = header.players[1] = "cpu";
        header.effectsSeed = static_cast<std::uint32_t>(seed);
        header.startTime = 1000 + static_cast<int>(seed % 5000);
        Begin(header);
        const int levels[2] = {level0, level1};
        std::unique_ptr<ComputerController> computer[2];
        for (int i = 0; i < 2; ++i) {
            header.fighters[i] = match->names[i];
            header.computerSeed[i] = seed + i;
            computer[i] = std::make_unique<ComputerController>(i, *match->seq[i], *match->seq[1 - i], levels[i], seed + i);
            match->Play(i, computer[i].get());
        }
        Recorder recorder;
        recorder.Begin(header);
        Random steps(seed);
        while (clock.time - header.startTime < ms && !match->seq[0]->lost && !match->seq[1]->lost) {
            const int step = 14 + steps.Below(7);
            Frame([&] { clock.time += clock.delta = step; });
            recorder.Frame(clock, computer[0]->sampled, computer[1]->sampled, *match->seq[0], *match->seq[1]);
        }
        return recorder.replay();
    }

    // Empty when every check held, else the problem.
    std::string Play(const Replay& replay) {
        match.emplace();
        Begin(replay);
        Playback playback(replay);
        for (int i = 0; i < 2; ++i) match->Play(i, playback.controller(i));
        while (!playback.finished()) {
            playback.Cue();
            Frame([&] { playback.StepClock(clock); });
            if (!playback.Verify(clock.time, *match->seq[0], *match->seq[1])) return playback.problem();
        }
        return "";
    }

    Clock& clock = *System::instance()->clock;

private:
    // As the game begins a match: new fighters at their places.
    void Begin(const Replay& header) {
        match->Start(nullptr, nullptr);
        clock.time = header.startTime;
        clock.mode = 1;
        std::srand(header.effectsSeed);
        for (auto& s : match->seq) s->Reset();
        rules.StartMatch(header.startTime);
    }
    RoundRules rules{1, 0};
    template <class StepClock> void Frame(StepClock step) {
        for (Controller* c : match->controller) c->Update();
        step();
        if (rules.PhaseAt(clock.time) == RoundRules::Phase::INTRO)
            for (Controller* c : match->controller) c->Forget();
        for (auto& s : match->seq) s->Update();
        match->scene->Update();
        for (auto& s : match->seq) s->CheckCollision();
    }
};

TEST_F(ReplayTest, ABoutOfComputerPlayersWithRandomSeedsPlaysBackCheckForCheck) {
    const std::uint64_t seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    const Replay recorded = Record(seed % 7, (seed / 7) % 7, seed, 20000);
    std::stringstream file;
    recorded.Write(file);
    Replay read;
    ReplayReader reader(file, "match.txt");
    ASSERT_TRUE(reader.Read(read)) << reader.problem();
    ASSERT_EQ(read.frames, recorded.frames);
    EXPECT_GE(read.checks.size(), 5u);
    EXPECT_EQ(Play(read), "");
}

TEST_F(ReplayTest, AReplayWhoseInputsWereChangedStopsAtTheFirstCheckThatDiffers) {
    Replay replay = Record(6, 6, 42, 6000);
    ASSERT_GE(replay.checks.size(), 3u);
    for (size_t f = replay.checks[1].frame + 1; f < replay.frames.size(); ++f)
        replay.frames[f].input[1] = Controller::CMD_D | Controller::CMD_K;
    EXPECT_NE(Play(replay).find("differs from its match at frame"), std::string::npos);
}

TEST_F(ReplayTest, AFileThatNoMatchCouldHaveWrittenIsRefusedWithItsLine) {
    std::stringstream written;
    Record(3, 3, 7, 1500).Write(written);
    const std::string good = written.str();
    const size_t framesAt = good.find("frames ");
    const std::string framesLine = good.substr(framesAt, good.find('\n', framesAt) - framesAt);
    auto swap = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        return s.replace(s.find(from), from.size(), to);
    };
    const struct {
        std::string file;
        std::string expected;
    } cases[] = {
        {good.substr(0, good.size() / 2), "expected"},
        {swap("korvanthe-replay 1", "korvanthe-replay 2"), "match.txt:1: expected version 1"},
        {swap(framesLine, "frames 999999999"), "match.txt:9: expected a number from 0 to 1000000"},
        {swap("fighters ", "fighters nobody "), "which is not in characters/"},
        {swap("fighters ", "fighters ../.. "), "expected a fighter's folder name"},
        {swap(framesLine + "\n", framesLine + "\n16 16 1 zz "), "match.txt:10: expected command letters"},
        {swap("checks ", "checks 99999999 "), "expected a number from 0 to"},
    };
    for (const auto& c : cases) {
        std::istringstream file(c.file);
        Replay read;
        ReplayReader reader(file, "match.txt");
        EXPECT_TRUE(!reader.Read(read) && reader.problem().find(c.expected) != std::string::npos) << reader.problem();
    }
}

// Replays recorded by earlier builds keep playing back while the fighters and
// the match behave the same. KORVANTHE_RERECORD=1 records them anew, when a
// change to either is meant.
TEST_F(ReplayTest, TheKeptReplaysOfTheDefaultFightersStillPlayBack) {
    const struct {
        const char* name;
        int level0, level1;
        std::uint64_t seed;
    } kept[] = {{"weak-against-strong", 0, 6, 11}, {"even", 3, 3, 12}, {"strong-pair", 6, 5, 13}};
    for (const auto& k : kept) {
        const std::string path = std::string(KORVANTHE_TEST_DIR) + "/fixtures/replays/" + k.name + ".txt";
        if (std::getenv("KORVANTHE_RERECORD") != nullptr) {
            ASSERT_TRUE(Record(k.level0, k.level1, k.seed, 8000).Save(path));
        }
        Replay replay;
        ReplayReader reader(path);
        ASSERT_TRUE(reader.Read(replay)) << reader.problem();
        EXPECT_GE(replay.checks.size(), 5u) << k.name;
        EXPECT_EQ(Play(replay), "") << k.name;
    }
}

// Kept in the player's data folder, the newest found first, no more than a score.
TEST(RecorderTest, KeepsTheNewestReplaysInThePlayersDataFolder) {
    ScratchDir scratch;
    setenv("XDG_DATA_HOME", std::filesystem::current_path().c_str(), 1);
    Replay replay;
    replay.frames.resize(1);
    std::string last;
    for (int match = 0; match < Recorder::KEPT + 5; ++match) last = Recorder::Keep(replay);
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Recorder::Folder())) kept += entry.is_regular_file();
    EXPECT_TRUE(kept == Recorder::KEPT && Recorder::Latest() == last);
    EXPECT_EQ(Recorder().End(), "");  // a match of no frames is not kept
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
