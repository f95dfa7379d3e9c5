#pragma once

#include <map>
#include <memory>
#include <random>
#include <string>

#include "frontend/Label.h"
#include "frontend/PlayerInput.h"
#include "frontend/Screen.h"
#include "math/Camera.h"

class Backdrop;
class CaptionView;
class FighterPreview;
class FolderCheck;
class Roster;

// Each player picks a fighter with their own keys or joystick: every
// folder under characters/ that holds a body, shown by name and as the
// fighter itself standing in its stance, turning slowly. A folder that
// does not load is shown as unavailable with the reason. When both have
// picked, the pair is loaded once in a checker (one fighter's moves name
// reactions in the other's folder) and the screen is done.
class FighterSelect : public Screen {
public:
    const char* Name() const override { return "fighter select"; }
    FighterSelect(CaptionView& view, const Backdrop& backdrop, Roster& roster);
    ~FighterSelect() override;

    void Open() override;  // the cursors start on `picks`
    Event Update() override;
    void Draw() override;

    std::string picks[2];  // the fighters chosen, player 0's and player 1's
    // The computer's sides: each starts on a fighter at random, which the
    // other player keeps or changes with their own keys once they have
    // picked their own.
    bool computer[2] = {};

private:
    struct Side {
        explicit Side(int player);
        ~Side();
        Side(Side&&) noexcept;
        PlayerInput input;
        int cursor = 0;          // into the roster's fighters
        bool picked = false;
        std::unique_ptr<FighterPreview> preview;  // of the fighter under the cursor, once loaded
        Label player, name, status;
        Label hints[2];          // how the player works the screen
        Label reason[3];         // why the fighter under the cursor is unavailable
    };

    void Steer(int i, const bool (&pickedBefore)[2]);  // side i by its player's keys
    void Move(Side& side, int step);
    void Pick(int player);
    Event PairChecked();         // what the pair's check says, once it has ended
    void DrawSide(int player);
    void DrawFighters();

    CaptionView& view;
    const Backdrop& backdrop;
    Roster& roster;
    Side sides[2] = {Side(0), Side(1)};
    Camera stage;                          // looks at both fighters side by side
    std::unique_ptr<FolderCheck> pairCheck;
    std::map<std::string, std::string> pairProblems;  // "a b" -> why they cannot fight; "" when they can
    std::string message;                   // why the last pair could not fight
    Label title, notice;
    unsigned openedAt = 0;                 // real ms, for the turning
    std::mt19937 chance{std::random_device{}()};  // the computer's first choice
};
