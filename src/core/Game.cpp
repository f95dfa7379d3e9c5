#include "core/Game.h"

#include <SDL.h>

#include <cstdint>
#include <random>

#include "ai/ComputerController.h"

#include "anim/MoveTree.h"
#include "character/Person.h"
#include "core/Clock.h"
#include "core/Display.h"
#include "core/MatchRunner.h"
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
#include "frontend/ReplayList.h"
#include "frontend/ResultsScreen.h"
#include "frontend/TitleScreen.h"
#include "input/Joystick.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"
#include "match/GameSeq.h"
#include "match/Match.h"
#include "render/Material.h"
#include "replay/Recorder.h"
#include "scene/Scene.h"

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

    delete ::options;  // a game made before this one read its own
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
    replays = std::make_unique<ReplayList>(*captions, backdrop);
    runner = std::make_unique<MatchRunner>(fighters, arena);
    NewMatch();
    // The match the menu stands over is not played: only those after it are kept.
    runner->KeepMatches();
    debug << "Init Done" << std::endl;
    debug << "Num Textures loaded: " << display->textures.count << std::endl;
    Show(title.get());
    if (!replay.empty()) WatchReplay(replay);
}

Game::~Game() = default;

void Game::NewMatch() {
    runner->Close();  // the match before: kept if it was played, its training let go
    Person* first = roster.Fighter(fighters[0], 0);
    Person* second = roster.Fighter(fighters[1], 1);
    Scene* scene = roster.Arena(arena);
    scene->stencilShadows = preferences.stencilShadows != 0;
    System* system = System::instance();
    for (auto& computer : computers) computer.reset();  // they watch the old match's sequencers
    match.reset();  // its sequencers let go of the fighters first
    const bool trains = players == Screen::TRAINING && !runner->watching();
    int rounds = 0;
    int timer = 0;
    runner->Rules(trains, rounds, timer);
    match = std::make_unique<Match>(first, second, scene, system->controller[0], system->controller[1],
                                    rounds, timer);
    std::random_device entropy;
    const std::uint64_t seed = (static_cast<std::uint64_t>(entropy()) << 32) | entropy();
    ComputerController* sides[2] = {};
    for (int i = 0; i < 2 && !runner->watching(); ++i) {
        if (!ComputerSide(i)) continue;
        computers[i] = std::make_unique<ComputerController>(i, *match->seqs[i], *match->seqs[1 - i],
                                                            preferences.skill, seed + i);
        computers[i]->Restart(seed + i);
        match->SetController(i, computers[i].get());
        sides[i] = computers[i].get();
    }
    runner->Begin(*match, trains, sides, seed);
    System::instance()->mouse->ModeRel();
}

bool Game::WatchReplay(const std::string& path) {
    if (!runner->Watch(path)) {
        Show(title.get());  // where the refusal is said
        return false;
    }
    NewMatch();
    showing = nullptr;
    return true;
}

void Game::EndMatch() { runner->End(); }

bool Game::Leave() {
    const bool demoEnds = players == Screen::DEMO && !runner->watching() && AnyPress();
    if (!demoEnds && !runner->Over(AnyPress(false))) return false;
    debug << "back to the menu" << std::endl;
    match->Pause();
    EndMatch();
    Show(title.get());
    return true;
}

void Game::Show(Screen* screen) {
    if (screen == controls.get()) backTo = showing;
    showing = screen;
    if (screen == title.get()) title->Notice(runner->TakeNotice());
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
    system->display->StartScene(backdrop.Held());
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
    runner->Keys(*system->keyboard, system->clock->time);
    if (Leave()) return;
    if (PauseScreen::PausePressed()) {
        Pause();
        return;
    }
    Display* display = system->display;
    for (auto& computer : computers) {
        if (computer != nullptr) computer->Update();
    }
    if (runner->Due(*system->keyboard)) {
        match->Update();
    } else {
        match->Hold();
    }
    display->StartScene();
    match->Draw();
    runner->Draw();
    if (match->over && !runner->watching() && players == Screen::DEMO) {
        NewMatch();  // the demo plays on
    } else if (match->over && !runner->watching()) {
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
    if (opening && !backdrop.Held()) {
        // The fighters take their places, and the first menu frame is drawn
        // straight over them: the still is taken in the next frame, so that
        // the first comes sooner.
        match->Update();
        display->StartScene();
        match->DrawScene();
        backdrop.Hold();
        return;
    }
    if (!backdrop.Taken()) {
        display->StartScene();
        if (opening) {
            match->DrawScene();
        } else {
            match->Draw();
            hud->Draw(*match);
        }
        backdrop.Capture();
        // The main menu stands over the fighters, not over the arena alone:
        // that still waits for the next frame.
        if (opening) return;
    }
    display->StartScene();
    match->DrawScene(false);
    arenaStill.Capture();
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
            if (showing == replays.get()) {
                WatchReplay(replays->chosen);
                return;
            }
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
        case Screen::WATCH_REPLAY:
            replays->SetReplays(Recorder::Kept());
            Show(replays.get());
            return;
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
