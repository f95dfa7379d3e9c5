#pragma once

#include "math/Camera.h"
#include "math/Matrix.h"
#include "math/Ptr.h"

class ComputerController;
class Controller;
class DirectionalLight;
class GameSeq;
class Material;
class Menu;
class Person;
class Scene;
class String3D;

// One match: the two fighters from settings.txt, the arena, the cameras, a
// match sequencer per fighter, the winner captions and the main menu.
// RenderFrame advances and draws one frame; a decided bout ends with the
// winner's caption in slow motion and the next bout starts.
class Game {
public:
    Game();  // ends the program with status 231 without settings.txt

    // Who plays: a person against the computer, two players, or the computer
    // against itself until a key is pressed.
    enum class Players { ONE, TWO, DEMO };

    void RenderFrame();   // the menu, or one frame of the match
    // Gives each side its controller and starts the bout afresh. A side
    // controllers.txt gives to "cpu" is the computer's in every match.
    void StartMatch(Players players);
    void UpdateCamera();  // camera modes, F3 freeze, F12 camera, then the camera is loaded

    // The automatic camera's distance r from the fighters and its height h,
    // for fighters d apart, t ms into the victory (0 outside it).
    static void AutoCamera(float d, float t, float& r, float& h);

    Camera mainCamera;           // views the fight
    Matrix world;                // identity
    Ptr<Person> persons[2];
    GameSeq* seqs[2] = {};       // the match sequencer of each fighter
    Scene* scene = nullptr;
    int cameraMode = 0;          // 0 automatic, 1 orbit fighter 0, 2 fighter 1, 3 the middle, 4 victory
    float orbitElevation = 0;    // degrees, within -90 .. 90
    float orbitAzimuth = 90;     // degrees
    float orbitDistance = 100;   // at least 1
    Camera captionCamera;        // fixed, for the captions and the menu
    DirectionalLight* captionLight = nullptr;
    float captionDepth = -1000;  // z of the winner captions; -1000 hidden, slides to 0
    String3D* winnerCaption = nullptr;
    String3D* playerOneCaption = nullptr;
    String3D* playerTwoCaption = nullptr;
    Material* captionMaterial = nullptr;
    bool menuActive = true;      // the main menu shows instead of the match
    Menu* menu = nullptr;
    int winner = -1;             // -1 while the bout is undecided
    int winnerTime = -1;         // game time the bout was decided
    int clockMode = 1;           // what F3 toggles: 1 running, 0 frozen
    bool quit = false;           // "Quit" was chosen in the menu
    Controller* devices[2] = {};            // each player's from controllers.txt
    ComputerController* computers[2] = {};  // the computer's hands, one per side
    bool demo = false;           // the computer plays both sides until a key is pressed

private:
    void RunMenu();
    void ShowMenu();              // back to the menu, as at start-up
    void ChangeSkill(int step);   // the computer's level, kept in the player's options
    bool AnyPress() const;        // a key or button went down this frame
    void DrawPasses();
    void EndOfBout();
    void DrawCaptions();
    Vector3 FighterPoint(int i) const;  // where fighter i stands, raised to chest height
};

extern Game* game;  // made by init()
