#include "core/Game.h"

#include <SDL.h>

#include <iostream>
#include <random>

#include "ai/ComputerController.h"

#include "anim/MoveTree.h"
#include "character/Person.h"
#include "core/Clock.h"
#include "core/Display.h"
#include "core/Options.h"
#include "core/Preferences.h"
#include "core/Settings.h"
#include "core/System.h"
#include "core/Trace.h"
#include "core/UserDirs.h"
#include "frontend/ArenaSelect.h"
#include "frontend/CaptionView.h"
#include "frontend/ControlsScreen.h"
#include "frontend/FighterSelect.h"
#include "frontend/MatchHud.h"
#include "frontend/OptionsScreen.h"
#include "frontend/PauseScreen.h"
#include "frontend/ResultsScreen.h"
#include "frontend/TitleScreen.h"
#include "input/Joystick.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"
#include "match/GameSeq.h"
#include "match/Match.h"
#include "input/JoyController.h"
#include "render/Material.h"
#include "replay/Playback.h"
#include "replay/Recorder.h"
#include "replay/ReplayReader.h"
#include "scene/Scene.h"
#include "training/TrainingMode.h"

Game* game = nullptr;

namespace {

// A key or a joystick button went down this frame: the end of a demo. The
// function keys, which work in a replay as in play, do not end one.
bool AnyPress(bool functionKeys = true) {
    const System* system = System::instance();
    for (int key = 0; key < Keyboard::KEY_COUNT; ++key) {
        if (!functionKeys && key >= SDLK_F1 && key <= SDLK_F15) continue;
        if (system->keyboard->Pressed(key)) return true;
    }
    for (const Joystick* stick : system->joystick) {
        if (stick != nullptr && (stick->buttons & ~stick->oldButtons) != 0) return true;
    }
    return false;
}

}  // namespace

Game::Game(const std::string& replay) {
    Display* display = System::instance()->display;

    // Planar shadows are drawn with the first material of the registry.
    Material* shadow = new Material();
    shadow->ambient = shadow->diffuse = shadow->specular = shadow->emission = Vector3(0, 0, 0);
    shadow->alpha = 0.5f;
    shadow->blendType = 2;
    display->materials.Add(shadow);

    ::options = new Options("options.txt");

    // The first match is the one settings.txt names: a scene and two fighters, each after its label.
    Settings settings;
    settings.Load(UserDirs::Own("settings.txt"));
    arena = settings.scene;
    fighters[0] = settings.fighters[0];
    fighters[1] = settings.fighters[1];
    debug << "trying person constructors" << std::endl;
    roster.Fighter(fighters[0], 0);
    roster.Fighter(fighters[1], 1);
    roster.Arena(arena);
    world.CreateIdentity();
    display->SetWorld(world);

    captions = std::make_unique<CaptionView>();
    hud = std::make_unique<MatchHud>(*captions);
    title = std::make_unique<TitleScreen>(*captions, backdrop);
    fighterSelect = std::make_unique<FighterSelect>(*captions, arenaStill, roster);
    arenaSelect = std::make_unique<ArenaSelect>(*captions, backdrop, roster);
    optionsScreen = std::make_unique<OptionsScreen>(*captions, backdrop);
    controls = std::make_unique<ControlsScreen>(*captions, backdrop);
    pause = std::make_unique<PauseScreen>(*captions, backdrop);
    results = std::make_unique<ResultsScreen>(*captions, backdrop);
    NewMatch();
    // The match the menu stands over is not played: only those after it are kept.
    recorder = std::make_unique<Recorder>();
    debug << "Init Done" << std::endl;
    debug << "Num Textures loaded: " << display->textures.count << std::endl;
    Show(title.get());
    if (!replay.empty()) WatchReplay(replay);
}

Game::~Game() = default;

void Game::NewMatch() {
    // The match before is over: kept if it was played, its training let go.
    training.reset();
    if (recorder != nullptr && recorder->recording()) recorder->End();
    Person* first = roster.Fighter(fighters[0], 0);
    Person* second = roster.Fighter(fighters[1], 1);
    Scene* scene = roster.Arena(arena);
    scene->stencilShadows = preferences.stencilShadows != 0;
    System* system = System::instance();
    for (auto& computer : computers) computer.reset();  // they watch the old match's sequencers
    match.reset();  // its sequencers let go of the fighters first
    // Training has no rounds and no timer; a replay has those of its match.
    const bool trains = players == Screen::TRAINING && playback == nullptr;
    const int rounds = playback ? playback->replay().rounds : trains ? 1 : preferences.rounds;
    const int timer = playback ? playback->replay().timer : trains ? 0 : preferences.timer;
    match = std::make_unique<Match>(first, second, scene, system->controller[0], system->controller[1],
                                    rounds, timer);
    match->afterBlows = [this] { Observe(); };
    std::random_device entropy;
    const std::uint64_t seed = (static_cast<std::uint64_t>(entropy()) << 32) | entropy();
    for (int i = 0; i < 2 && playback == nullptr; ++i) {
        if (!ComputerSide(i)) continue;
        computers[i] = std::make_unique<ComputerController>(i, *match->seqs[i], *match->seqs[1 - i],
                                                            preferences.skill, seed + i);
        computers[i]->Restart(seed + i);
        match->SetController(i, computers[i].get());
    }
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
    const unsigned effectsSeed = entropy();
    if (playback == nullptr) std::srand(effectsSeed);
    match->Start();
    if (training != nullptr) training->Begin(system->clock->time);
    if (recorder != nullptr && playback == nullptr && training == nullptr) Record(seed, effectsSeed);
    System::instance()->mouse->ModeRel();
}

void Game::Record(std::uint64_t seed, unsigned effectsSeed) {
    Replay header;
    header.arena = arena;
    header.skill = preferences.skill;
    header.rounds = match->rules.bestOf;
    header.timer = match->rules.timerMs / 1000;
    header.effectsSeed = effectsSeed;
    header.startTime = System::instance()->clock->time;
    for (int i = 0; i < 2; ++i) {
        header.fighters[i] = fighters[i];
        const Controller* controller = match->controllers[i];
        const bool computer = computers[i] != nullptr;
        header.players[i] = computer ? "cpu"
                            : dynamic_cast<const JoyController*>(controller) != nullptr ? "joystick"
                                                                                        : "keyboard";
        header.computerSeed[i] = computer ? seed + i : 0;
    }
    recorder->Begin(header);
}

void Game::Observe() {
    const Clock& clock = *System::instance()->clock;
    const int sampled[2] = {match->controllers[0]->sampled, match->controllers[1]->sampled};
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
        } else {
            std::cerr << watched << ": " << playback->problem() << std::endl;
            replayStopped = true;
        }
    } else {
        recorder->Frame(clock, sampled[0], sampled[1], *match->seqs[0], *match->seqs[1]);
    }
}

bool Game::WatchReplay(const std::string& path) {
    if (path.empty()) {
        std::cerr << "No replay to watch: " << Recorder::Folder() << " holds none" << std::endl;
        return false;
    }
    Replay replay;
    ReplayReader reader(path);
    if (!reader.Read(replay)) {
        std::cerr << reader.problem() << std::endl;
        return false;
    }
    EndMatch();
    debug << "watching " << path << std::endl;
    chosen[0] = fighters[0];
    chosen[1] = fighters[1];
    chosen[2] = arena;
    fighters[0] = replay.fighters[0];
    fighters[1] = replay.fighters[1];
    arena = replay.arena;
    playback = std::make_unique<Playback>(std::move(replay));
    watched = path;
    replayStopped = false;
    NewMatch();
    showing = nullptr;
    return true;
}

void Game::EndMatch() {
    training.reset();
    if (recorder != nullptr && recorder->recording()) recorder->End();
    if (playback == nullptr) return;
    playback.reset();
    fighters[0] = chosen[0];
    fighters[1] = chosen[1];
    arena = chosen[2];
}

bool Game::Leave() {
    const bool demoEnds = players == Screen::DEMO && playback == nullptr && AnyPress();
    const bool replayEnds =
        playback != nullptr && (playback->finished() || replayStopped || AnyPress(false));
    const bool trainingEnds = training != nullptr && training->leave;
    if (!demoEnds && !replayEnds && !trainingEnds) return false;
    debug << "back to the menu" << std::endl;
    match->Pause();
    EndMatch();
    Show(title.get());
    return true;
}

void Game::Show(Screen* screen) {
    if (screen == controls.get()) backTo = showing;
    showing = screen;
    screen->Open();
    debug << "screen: " << screen->Name() << std::endl;
}

void Game::RenderFrame() {
    debug << "--------begin" << std::endl;
    if (showing == nullptr) {
        Play();
        return;
    }
    System* system = System::instance();
    // The clock keeps up with real time, so that a match resumed or begun
    // takes a normal step; frozen under the pause menu, it does not move.
    system->clock->Update();
    // The main menu stands over the first match's arena and fighters, the
    // fighter select over the arena alone; a new GL context has lost the
    // stills, of the match paused or ended among them.
    if (!backdrop.Taken() || !arenaStill.Taken()) Stills();
    system->display->StartScene();
    Screen* screen = showing;
    const Screen::Event event = screen->Update();
    screen->Draw();
    system->mouse->Draw();
    system->display->EndScene();
    Act(event);
}

bool Game::ComputerSide(int player) const {
    return players == Screen::DEMO ||
           ((players == Screen::ONE_PLAYER || players == Screen::TRAINING) && player == 1) ||
           System::instance()->computer[player];
}

void Game::Play() {
    System* system = System::instance();
    if (training != nullptr) training->Keys(*system->keyboard, system->clock->time);
    if (Leave()) return;
    if (PauseScreen::PausePressed()) {
        Pause();
        return;
    }
    Display* display = system->display;
    for (auto& computer : computers) {
        if (computer != nullptr) computer->Update();
    }
    if (playback != nullptr) {
        if (system->keyboard->Pressed(SDLK_F5)) playback->slow = !playback->slow;
        playback->paused = match->clockMode == 0;
        for (int i = 0; i < 2; ++i) playback->controller(i)->Update();
    }
    if (playback == nullptr || playback->Due(Clock::tickSource())) {
        match->Update();
    } else {
        match->Hold();
    }
    display->StartScene();
    match->Draw();
    if (training != nullptr) training->Draw();
    if (match->over && playback == nullptr && players == Screen::DEMO) {
        NewMatch();  // the demo plays on
    } else if (match->over && playback == nullptr) {
        EndMatch();
        backdrop.Capture();  // the last moment, without the captions the results repeat
        const int winner = match->rules.wins[0] > match->rules.wins[1] ? 0 : 1;
        results->SetResult(fighters[winner], match->rules.wins[winner], match->rules.wins[1 - winner]);
        Show(results.get());
    }
    hud->Draw(*match);
    display->EndScene();
}

void Game::Pause() {
    match->Pause();
    System::instance()->display->StartScene();
    match->Draw();
    hud->Draw(*match);
    backdrop.Capture();
    Show(pause.get());
}

void Game::Stills() {
    Display* display = System::instance()->display;
    const bool opening = !backdrop.Taken() && showing == title.get();
    if (opening) match->Update();  // the fighters take their places
    display->StartScene();
    match->DrawScene(false);
    arenaStill.Capture();
    if (backdrop.Taken()) return;
    display->StartScene();
    if (opening) {
        match->DrawScene();
    } else {
        match->Draw();
        hud->Draw(*match);
    }
    backdrop.Capture();
}

void Game::Act(Screen::Event event) {
    switch (event) {
        case Screen::NONE: return;
        case Screen::QUIT: quit = true; return;
        case Screen::ONE_PLAYER:
        case Screen::TWO_PLAYERS:
            players = event;
            [[fallthrough]];
        case Screen::CHOOSE_FIGHTERS: ChooseFighters(); return;
        case Screen::DEMO:
            players = event;
            NewMatch();
            showing = nullptr;
            return;
        case Screen::OPTIONS: Show(optionsScreen.get()); return;
        case Screen::CONTROLS: {
            const MTNode* const roots[2] = {match->seqs[0]->moveTree->nodes[0], match->seqs[1]->moveTree->nodes[0]};
            controls->SetFighters(fighters, roots);
            Show(controls.get());
            return;
        }
        case Screen::BACK: Back(); return;
        case Screen::DONE:
            if (showing == fighterSelect.get()) {
                arenaSelect->pick = arena;
                Show(arenaSelect.get());
                return;
            }
            fighters[0] = fighterSelect->picks[0];
            fighters[1] = fighterSelect->picks[1];
            arena = arenaSelect->pick;
            NewMatch();
            showing = nullptr;
            return;
        case Screen::RESTART_ROUND:
            match->RestartRound();
            [[fallthrough]];
        case Screen::RESUME:
            match->Resume();
            System::instance()->mouse->ModeRel();
            showing = nullptr;
            return;
        case Screen::MAIN_MENU:
            EndMatch();
            Show(title.get());
            return;
        case Screen::TRAINING:
            players = event;
            NewMatch();
            showing = nullptr;
            return;
        case Screen::WATCH_REPLAY: WatchReplay(Recorder::Latest()); return;
        case Screen::REMATCH:
            NewMatch();
            showing = nullptr;
            return;
    }
}

void Game::ChooseFighters() {
    for (int i = 0; i < 2; ++i) {
        fighterSelect->picks[i] = fighters[i];
        fighterSelect->computer[i] = ComputerSide(i);
    }
    Show(fighterSelect.get());
}

// Controls go back to the options or the pause menu that opened them; the
// other screens to the one before them in the way to a match.
void Game::Back() {
    if (showing == arenaSelect.get()) {
        Show(fighterSelect.get());
    } else if (showing == controls.get() && backTo != nullptr) {
        Show(backTo);
    } else {
        Show(title.get());
    }
}
