#pragma once

#include "frontend/Label.h"
#include "frontend/Menu.h"
#include "frontend/Screen.h"

class Backdrop;
class CaptionView;

// One player's keys, changed one action at a time: choose the action, then
// press the new key. A key another action or the other player has, or one
// the game keeps (Escape, P, M, the F-keys), is refused with the reason;
// pressing the action's own key, or a click, leaves it as it was. Every
// change is saved in the player's options at once.
class KeysScreen : public Screen {
public:
    const char* Name() const override { return "keys"; }
    KeysScreen(CaptionView& view, const Backdrop& backdrop);

    void Open(int player);
    void Open() override { Open(player); }
    Event Update() override;  // BACK once done
    void Draw() override;

private:
    void Refresh();             // the entries show the keys as they are
    void Take(int key);         // the key pressed for the action waited on
    static int NewKey();        // a key that went down this frame, or -1

    CaptionView& view;
    const Backdrop& backdrop;
    Menu menu;
    int player = 0;
    int waiting = -1;           // the action whose new key is awaited, or -1
    Label title, message;
};
