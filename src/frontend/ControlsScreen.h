#pragma once

#include <string>
#include <vector>

#include "frontend/Label.h"
#include "frontend/MoveList.h"
#include "frontend/Screen.h"

class Backdrop;
class CaptionView;
class MTNode;

// Both players' keys (or joystick buttons) and the game's own keys, then a
// page of each chosen fighter's moves. Left and right turn the pages;
// Return, Backspace or a click goes back.
class ControlsScreen : public Screen {
public:
    const char* Name() const override { return "controls"; }
    ControlsScreen(CaptionView& view, const Backdrop& backdrop);

    // The fighters whose moves are listed, each with its move tree's root
    // (null: its moves.txt alone).
    void SetFighters(const std::string (&names)[2], const MTNode* const (&roots)[2]);

    void Open() override;  // on the keys
    Event Update() override;
    void Draw() override;

    // How player's `action` is made: the key's name, or the stick or button.
    static std::string Binding(int player, int action);

private:
    void DrawKeys();
    void DrawMoves(int fighter);
    // Lines of (left, right) text in columns from the top, as many as fit.
    void DrawLines(const std::vector<std::string>& lines, float x, float top, size_t first, size_t count);

    CaptionView& view;
    const Backdrop& backdrop;
    std::string fighters[2];
    std::vector<MoveList::Move> moves[2];
    int page = 0;
    int pages = 1;
    Label title, hint, legend[2];
    std::vector<Label> lines;  // reused from frame to frame, one per line drawn
    size_t linesUsed = 0;
};
