#include "core/Game.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <random>
#include <cmath>
#include <string>

#include "ai/ComputerController.h"
#include "ai/Skill.h"
#include "character/Person.h"
#include "core/Clock.h"
#include "core/Display.h"
#include "core/Options.h"
#include "core/Preferences.h"
#include "core/Settings.h"
#include "core/System.h"
#include "core/Trace.h"
#include "core/UserDirs.h"
#include "frontend/GameSounds.h"
#include "frontend/MainMenu.h"
#include "frontend/String3D.h"
#include "input/Controller.h"
#include "input/Joystick.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"
#include "match/GameSeq.h"
#include "render/Material.h"
#include "scene/DirectionalLight.h"
#include "scene/Scene.h"

Game* game = nullptr;

namespace {

const float DEGREES = 0.017453277f;  // radians in one degree
const float QUARTER_TURN = 0.7853982f;
const Vector3 CHEST(0, 45, 0);       // the cameras look at the fighters' chests
const int CAPTION_MS = 500;          // game time the winner's caption shows

Vector3 Side(const Vector3& p0, const Vector3& p1) {
    return (p0 - p1).Cross(Vector3(0, 1, 0)).Normalized();
}

// A camera up to 900 above the fight rises freely; beyond, ever slower.
float SoftCeiling(float h) {
    if (h <= 900) return h;
    const float over = h - 900;
    return 900 + over / (0.001f * over * over + 1);
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

    options = new Options("options.txt");

    Settings settings;
    settings.Load(UserDirs::Own("settings.txt"));

    Timer& timer = System::instance()->timer;
    debug << "trying person constructors" << std::endl;
    timer.Start();
    persons[0] = new Person(settings.fighters[0], 1);
    persons[1] = new Person(settings.fighters[1], 1);
    timer.End("game, fighters: ");
    timer.Start();
    scene = new Scene(settings.scene);
    timer.End("game, scene: ");

    display->CreateShadowMatrix();
    mainCamera = Camera(Vector3(-120, 150, -220), Vector3(0, 40, 0), Vector3(0, 1, 0), 0, 1, 5000,
                        QUARTER_TURN);
    world.CreateIdentity();
    display->SetWorld(world);
    display->SetCamera(&mainCamera);

    System* system = System::instance();
    system->mouse->SetLimits(0, 0, display->width - 1, display->height - 1);
    debug << "done creating kbdctrlrs" << std::endl;
    timer.Start();
    seqs[0] = new GameSeq(persons[0], persons[1], system->controller[0], 0, scene);
    seqs[1] = new GameSeq(persons[1], persons[0], system->controller[1], 1, scene);
    timer.End("game, moves and animations: ");
    debug << "done creating gameseqs" << std::endl;
    // The computer can play either side; controllers.txt may give it one for good.
    for (int i = 0; i < 2; ++i) {
        computers[i] = new ComputerController(i, *seqs[i], *seqs[1 - i], preferences.skill, 0);
        devices[i] = system->computer[i] ? computers[i] : system->controller[i];
        system->controller[i] = seqs[i]->controller = devices[i];
    }
    debug << "Init Done" << std::endl;
    debug << "Num Textures loaded: " << display->textures.count << std::endl;

    timer.Start();
    captionCamera = Camera(Vector3(320, 240, -820), Vector3(320, 240, 0), Vector3(0, 1, 0), 0, 1,
                           5000, QUARTER_TURN);
    winnerCaption = new String3D("WINNER", 2);
    playerOneCaption = new String3D("player one", 1.3f);
    playerTwoCaption = new String3D("player two", 1.3f);
    captionMaterial = new Material("materials/strmat.mat");
    String3D::Map(captionMaterial);

    captionLight = new DirectionalLight(Vector3(1, 1, 1), Vector3(-1, -1, 1));
    captionLight->index(0);
    menu = new MainMenu();
    ChangeSkill(0);
    timer.End("game, captions and menu: ");

    // The game opens on its menu.
    display->SetCamera(&captionCamera);
    system->mouse->SetPos(320, 200);
}

void Game::RenderFrame() {
    debug << "--------begin" << std::endl;
    if (menuActive) {
        RunMenu();
        return;
    }
    System* system = System::instance();
    if (demo && AnyPress()) {
        ShowMenu();
        return;
    }
    system->clock->Update();

    seqs[0]->Update();
    seqs[1]->Update();
    scene->Update();
    seqs[0]->CheckCollision();
    seqs[1]->CheckCollision();

    options->Update();
    UpdateCamera();

    // Controllers mirror left and right by which side of the camera each
    // fighter stands on.
    const Camera* camera = system->display->camera;
    const bool flip = (camera->from - camera->at).Dot(Side(FighterPoint(0), FighterPoint(1))) > 0;
    for (Controller* controller : system->controller) controller->SetFlip(flip);

    const Mouse* mouse = system->mouse;
    if (mouse->LButton()) {
        orbitAzimuth += mouse->dx * 0.5f;
        orbitElevation = std::clamp(orbitElevation + mouse->dy * 0.5f, -90.0f, 90.0f);
    }
    if (mouse->RButton()) orbitDistance = std::max(orbitDistance + mouse->dy, 1.0f);

    if (system->keyboard->Pressed(SDLK_F2)) scene->stencilShadows = !scene->stencilShadows;

    system->display->StartScene();
    DrawPasses();
    seqs[0]->Draw();
    seqs[1]->Draw();
    glDepthFunc(GL_LEQUAL);
    EndOfBout();
    system->display->EndScene();
}

void Game::RunMenu() {
    System* system = System::instance();
    const Keyboard* keyboard = system->keyboard;
    if (menu->selection == MainMenu::SKILL) {
        if (keyboard->Pressed(SDLK_LEFT)) ChangeSkill(-1);
        if (keyboard->Pressed(SDLK_RIGHT)) ChangeSkill(1);
    }
    system->display->StartScene();
    menu->Update();
    menu->Draw();
    system->mouse->Draw();
    system->display->EndScene();
    if (!menu->activated) return;

    menu->activated = false;
    switch (menu->selection) {
        case MainMenu::QUIT: quit = true; return;
        case MainMenu::SKILL: ChangeSkill(1); return;
        case MainMenu::ONE_PLAYER: StartMatch(Players::ONE); break;
        case MainMenu::DEMO: StartMatch(Players::DEMO); break;
        default: StartMatch(Players::TWO); break;
    }
    menuActive = false;
    GameSounds::Play(GameSounds::BELL);
    system->clock->SkipRealTime();
    captionLight->enabled = false;
    system->mouse->ModeRel();
}

void Game::StartMatch(Players players) {
    System* system = System::instance();
    std::random_device entropy;
    const std::uint64_t seed = (static_cast<std::uint64_t>(entropy()) << 32) | entropy();
    demo = players == Players::DEMO;
    for (int i = 0; i < 2; ++i) {
        // In one player, player 1 keeps their own controller and the computer takes player 2.
        const bool computer = demo || (players == Players::ONE && i == 1) || devices[i] == computers[i];
        Controller* controller = computer ? computers[i] : devices[i];
        if (computer) {
            computers[i]->SetLevel(preferences.skill);
            computers[i]->Restart(seed + i);
        }
        // The keys that worked the menu must not reach the fighters as
        // commands (Down would start player 2 crouching).
        controller->Forget();
        system->controller[i] = seqs[i]->controller = controller;
    }
    cameraMode = 0;
    winner = winnerTime = -1;
    options->slowMotion = 0;
    captionDepth = -1000;
    seqs[0]->Reset();
    seqs[1]->Reset();
}

void Game::ShowMenu() {
    System* system = System::instance();
    debug << "back to the menu" << std::endl;
    menuActive = true;
    captionLight->enabled = true;
    captionLight->index(0);
    system->display->SetCamera(&captionCamera);
    system->mouse->SetPos(320, 200);
}

void Game::ChangeSkill(int step) {
    preferences.skill = (preferences.skill + step + Skill::LEVELS) % Skill::LEVELS;
    if (step != 0 && UserDirs::Make(UserDirs::Config())) preferences.Save(Preferences::Path());
    const std::string text = std::string("skill ") + Skill::Level(preferences.skill).name;
    if (auto* main = dynamic_cast<MainMenu*>(menu)) main->SetSkill(text.c_str());
}

bool Game::AnyPress() const {
    const System* system = System::instance();
    for (int key = 0; key < Keyboard::KEY_COUNT; ++key) {
        if (system->keyboard->Pressed(key)) return true;
    }
    for (const Joystick* stick : system->joystick) {
        if ((stick->buttons & ~stick->oldButtons) != 0) return true;
    }
    return false;
}

void Game::DrawPasses() {
    Object* const drawn[] = {scene, persons[0], persons[1]};
    if (!scene->stencilShadows) {
        scene->DrawReflection();
        scene->DrawReflectionAlpha();
        glDepthFunc(GL_LEQUAL);
        for (Object* o : drawn) o->Draw();
        glDepthFunc(GL_LESS);
        // Each fighter's shadows start again from the highest matrix.
        shadowctr = 0;
        persons[0]->DrawShadow();
        shadowctr = 0;
        persons[1]->DrawShadow();
    } else {
        glDepthFunc(GL_LEQUAL);
        scene->DrawReflection();
        scene->DrawReflectionAlpha();
        glDepthFunc(GL_LEQUAL);
        for (Object* o : drawn) o->DrawAmbient();
        glClearStencil(0);
        glStencilMask(0);
        glEnable(GL_STENCIL_TEST);
        glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
        glStencilMask(0xff);
        glClear(GL_STENCIL_BUFFER_BIT);
        persons[0]->DrawShadowVolume();
        persons[1]->DrawShadowVolume();
        glDepthFunc(GL_EQUAL);
        for (Object* o : drawn) o->DrawNonAmbient();
        glDepthFunc(GL_LESS);
    }
    for (Object* o : drawn) o->DrawAlpha();
}

void Game::EndOfBout() {
    const int now = System::instance()->clock->time;
    if (winner == -1) {
        if (seqs[0]->lost) {
            seqs[1]->won = true;
            winner = 1;
        }
        if (seqs[1]->lost) {
            seqs[0]->won = true;
            winner = 0;
        }
        if (winner != -1) {
            debug << "bout won by " << (winner == 0 ? "player one" : "player two") << std::endl;
            GameSounds::Play(GameSounds::WINNER);
            cameraMode = 4;
            options->slowMotion = 2;
            winnerTime = now;
        }
    } else if (now - winnerTime <= CAPTION_MS) {
        DrawCaptions();
    } else {
        cameraMode = 0;
        winnerTime = -1;
        winner = -1;
        seqs[0]->Reset();
        seqs[1]->Reset();
        options->slowMotion = 0;
        captionDepth = -1000;
        GameSounds::Play(GameSounds::BELL);
    }
}

void Game::DrawCaptions() {
    Display* display = System::instance()->display;
    captionDepth = std::min(captionDepth + 50, 0.0f);
    captionLight->enabled = true;
    captionLight->index(0);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    display->SetCamera(&captionCamera);
    captionMaterial->current(true);

    winnerCaption->SetPosition(Vector3(170, 240, captionDepth));
    winnerCaption->Update();
    winnerCaption->Draw();
    String3D* name = winner == 0 ? playerOneCaption : playerTwoCaption;
    name->SetPosition(Vector3(150, 160, captionDepth));
    name->Update();
    name->Draw();

    captionLight->enabled = false;
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    display->SetCamera(&mainCamera);
}

Vector3 Game::FighterPoint(int i) const { return persons[i]->worldPos + CHEST; }

void Game::AutoCamera(float d, float t, float& r, float& h) {
    r = std::clamp(1.8f * d + 150 + 0.05f * t, 100.0f, 1000.0f);
    const float e = d >= 200 ? d - 200 : 0;
    h = SoftCeiling(0.015f * e * e + 0.1f * e + 0.1f * t);
}

void Game::UpdateCamera() {
    System* system = System::instance();
    const Vector3 p0 = FighterPoint(0), p1 = FighterPoint(1);
    const Vector3 middle = (p0 + p1) * 0.5f;
    const float d = std::max((p1 - p0).Length(), 40.0f);
    const Vector3 n = Side(p0, p1);
    const float cE = std::cos(orbitElevation * DEGREES), sE = std::sin(orbitElevation * DEGREES);

    if (system->keyboard->Pressed(SDLK_F3)) {
        clockMode = 1 - clockMode;
        system->clock->SetMode(clockMode);
        captionDepth = -1000;
    }
    if (system->keyboard->Pressed(SDLK_F12)) cameraMode = (cameraMode + 1) % 4;

    if (cameraMode == 0 || cameraMode == 4) {
        const float t = cameraMode == 4 ? static_cast<float>(system->clock->time - winnerTime) : 0;
        float r = 0, h = 0;
        AutoCamera(d, t, r, h);
        mainCamera.SetAt(middle);
        mainCamera.SetFrom(middle + n * r + Vector3(0, h + 30, 0));
    } else {
        const Vector3 centre = cameraMode == 1 ? p0 : cameraMode == 2 ? p1 : middle;
        const float a = orbitAzimuth * DEGREES;
        mainCamera.SetAt(centre);
        mainCamera.SetFrom(centre + Vector3(cE * std::sin(a), sE, cE * std::cos(a)) * orbitDistance);
    }
    system->display->SetCamera(&mainCamera);
}
