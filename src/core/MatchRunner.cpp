#include "core/MatchRunner.h"

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>

#include "ai/ComputerController.h"
#include "core/Clock.h"
#include "core/Preferences.h"
#include "core/System.h"
#include "core/Trace.h"
#include "input/JoyController.h"
#include "input/Keyboard.h"
#include "match/Match.h"
#include "replay/Playback.h"
#include "replay/Recorder.h"
#include "replay/ReplayReader.h"
#include "training/TrainingMode.h"

MatchRunner::MatchRunner(std::string (&fighters_)[2], std::string& arena_)
    : fighters(fighters_), arena(arena_) {}

MatchRunner::~MatchRunner() = default;

void MatchRunner::KeepMatches() { recorder = std::make_unique<Recorder>(); }

void MatchRunner::Refuse(const char* heading, const std::string& why, const std::string& shown) {
    std::cerr << why << std::endl;
    // On screen the file goes by its name alone: the folder is the player's own.
    notice = heading + (shown.empty() ? why : shown);
    const size_t at = notice.find(watched);
    if (!watched.empty() && at != std::string::npos) {
        notice.replace(at, watched.size(), std::filesystem::path(watched).filename().string());
    }
}

bool MatchRunner::Watch(const std::string& path) {
    watched = path;
    Replay replay;
    ReplayReader reader(path);
    if (!reader.Read(replay)) {
        Refuse("Replay refused: ", reader.problem());
        return false;
    }
    End();
    debug << "watching " << path << std::endl;
    watched = path;
    chosen[0] = fighters[0];
    chosen[1] = fighters[1];
    chosen[2] = arena;
    fighters[0] = replay.fighters[0];
    fighters[1] = replay.fighters[1];
    arena = replay.arena;
    playback = std::make_unique<Playback>(std::move(replay));
    stopped = false;
    return true;
}

void MatchRunner::Rules(bool trains, int& rounds, int& timer) const {
    rounds = playback ? playback->replay().rounds : trains ? 1 : preferences.rounds;
    timer = playback ? playback->replay().timer : trains ? 0 : preferences.timer;
}

void MatchRunner::Begin(Match& begun, bool trains, ComputerController* const computers[2],
                        std::uint64_t seed) {
    match = &begun;
    match->afterBlows = [this] { Frame(); };
    System* system = System::instance();
    if (playback != nullptr) {
        // The clock stands where the match began and takes the recorded steps.
        system->clock->Reset(playback->replay().startTime);
        match->stepClock = [this](Clock& clock) { playback->StepClock(clock); };
        for (int i = 0; i < 2; ++i) match->SetController(i, playback->controller(i));
        std::srand(playback->replay().effectsSeed);
        playback->Cue();
    } else if (trains) {
        training = std::make_unique<TrainingMode>(*match->seqs[0], *match->seqs[1],
                                                  *system->controller[0], *computers[1]);
        for (int i = 0; i < 2; ++i) match->SetController(i, training->SideController(i));
    }
    // The sparks' and particles' rand() is seeded, so that a replay throws them alike.
    const unsigned effectsSeed = std::random_device()();
    if (playback == nullptr) std::srand(effectsSeed);
    match->Start();
    if (training != nullptr) training->Begin(system->clock->time);
    if (recorder != nullptr && playback == nullptr && training == nullptr) {
        Record(seed, effectsSeed, computers);
    }
}

void MatchRunner::Record(std::uint64_t seed, unsigned effectsSeed,
                         ComputerController* const computers[2]) {
    Replay header;
    header.arena = arena;
    header.skill = preferences.skill;
    header.rounds = match->rules.bestOf;
    header.timer = match->rules.timerMs / 1000;
    header.effectsSeed = effectsSeed;
    header.startTime = System::instance()->clock->time;
    for (int i = 0; i < 2; ++i) {
        header.fighters[i] = fighters[i];
        const bool computer = computers[i] != nullptr;
        const bool joystick = dynamic_cast<const JoyController*>(match->controllers[i]) != nullptr;
        header.players[i] = computer ? "cpu" : joystick ? "joystick" : "keyboard";
        header.computerSeed[i] = computer ? seed + i : 0;
    }
    recorder->Begin(header);
}

void MatchRunner::Frame() {
    const Clock& clock = *System::instance()->clock;
    // A replay that has ended leaves its match without controllers.
    int sampled[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        if (match->controllers[i] != nullptr) sampled[i] = match->controllers[i]->sampled;
    }
    if (training != nullptr) {
        training->Frame(clock.time, sampled[0], sampled[1]);
        // Recording on the dummy's side hands the sides to other controllers.
        for (int i = 0; i < 2; ++i) {
            Controller* wanted = training->SideController(i);
            if (wanted == match->controllers[i]) continue;
            wanted->Forget();
            match->SetController(i, wanted);
        }
    } else if (playback != nullptr) {
        if (playback->Verify(clock.time, *match->seqs[0], *match->seqs[1])) {
            playback->Cue();
        } else if (!stopped) {
            Refuse("Replay stopped: ", watched + ": " + playback->problem(), playback->problem());
            stopped = true;
        }
    } else if (recorder != nullptr) {
        recorder->Frame(clock, sampled[0], sampled[1], *match->seqs[0], *match->seqs[1]);
    }
}

void MatchRunner::Keys(const Keyboard& keys, int now) {
    if (training != nullptr) training->Keys(keys, now);
}

bool MatchRunner::Due(const Keyboard& keys) {
    if (playback == nullptr) return true;
    if (keys.Pressed(SDLK_F5)) {
        playback->slow = !playback->slow;
        debug << "replay: " << (playback->slow ? "slowed" : "at its speed") << std::endl;
    }
    playback->paused = match->clockMode == 0;
    for (int i = 0; i < 2; ++i) playback->controller(i)->Update();
    return playback->Due(Clock::tickSource());
}

void MatchRunner::Draw() const {
    if (training != nullptr) training->Draw();
}

bool MatchRunner::Over(bool pressed) const {
    if (training != nullptr) return training->leave;
    return playback != nullptr && (playback->finished() || stopped || pressed);
}

void MatchRunner::Close() {
    training.reset();
    if (recorder != nullptr && recorder->recording()) recorder->End();
}

void MatchRunner::End() {
    Close();
    if (playback == nullptr) return;
    // The replay's match stays on screen under the menu, and may yet be
    // updated there: from now on by real time.
    match->stepClock = nullptr;
    // Its controllers go with the playback: the fighters stand without commands.
    for (int i = 0; i < 2; ++i) match->SetController(i, nullptr);
    playback.reset();
    fighters[0] = chosen[0];
    fighters[1] = chosen[1];
    arena = chosen[2];
}

std::string MatchRunner::TakeNotice() {
    std::string taken;
    taken.swap(notice);
    return taken;
}
