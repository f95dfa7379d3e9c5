#include "core/Game.h"

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
#include "render/Material.h"
#include "scene/Scene.h"

Game* game = nullptr;

namespace {

// A key or a joystick button went down this frame: the end of a demo.
bool AnyPress() {
    const System* system = System::instance();
    for (int key = 0; key < Keyboard::KEY_COUNT; ++key) {
        if (system->keyboard->Pressed(key)) return true;
    }
    for (const Joystick* stick : system->joystick) {
        if (stick != nullptr && (stick->buttons & ~stick->oldButtons) != 0) return true;
    }
    return false;
}

}  // namespace

Game::Game() {
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
    debug << "Init Done" << std::endl;
    debug << "Num Textures loaded: " << display->textures.count << std::endl;
    Show(title.get());
}

Game::~Game() = default;

void Game::NewMatch() {
    Person* first = roster.Fighter(fighters[0], 0);
    Person* second = roster.Fighter(fighters[1], 1);
    Scene* scene = roster.Arena(arena);
    scene->stencilShadows = preferences.stencilShadows != 0;
    System* system = System::instance();
    for (auto& computer : computers) computer.reset();  // they watch the old match's sequencers
    match.reset();  // its sequencers let go of the fighters first
    match = std::make_unique<Match>(first, second, scene, system->controller[0], system->controller[1],
                                    preferences.rounds, preferences.timer);
    std::random_device entropy;
    const std::uint64_t seed = (static_cast<std::uint64_t>(entropy()) << 32) | entropy();
    for (int i = 0; i < 2; ++i) {
        if (!ComputerSide(i)) continue;
        computers[i] = std::make_unique<ComputerController>(i, *match->seqs[i], *match->seqs[1 - i],
                                                            preferences.skill, seed + i);
        computers[i]->Restart(seed + i);
        match->SetController(i, computers[i].get());
    }
    match->Start();
    System::instance()->mouse->ModeRel();
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
    return players == Screen::DEMO || (players == Screen::ONE_PLAYER && player == 1) ||
           System::instance()->computer[player];
}

void Game::Play() {
    if (players == Screen::DEMO && AnyPress()) {
        debug << "back to the menu" << std::endl;
        match->Pause();
        Show(title.get());
        return;
    }
    if (PauseScreen::PausePressed()) {
        Pause();
        return;
    }
    Display* display = System::instance()->display;
    for (auto& computer : computers) {
        if (computer != nullptr) computer->Update();
    }
    match->Update();
    display->StartScene();
    match->Draw();
    if (match->over && players == Screen::DEMO) {
        NewMatch();  // the demo plays on
    } else if (match->over) {
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
        case Screen::MAIN_MENU: Show(title.get()); return;
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
