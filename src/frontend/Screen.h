#pragma once

// One screen of the front end: the title and main menu, the fighter and
// arena selects, options, controls, pause and results. The game shows one
// at a time (or the match itself): it opens the screen, then calls Update
// and Draw once a frame and acts on what Update reports.
class Screen {
public:
    // What the player asked for on a screen.
    enum Event {
        NONE,             // nothing yet
        BACK,             // leave for the screen that opened this one
        DONE,             // the screen's choice is made (fighters, arena)
        QUIT,
        ONE_PLAYER,       // against the computer
        TWO_PLAYERS,
        DEMO,             // the computer on both sides
        OPTIONS,
        CONTROLS,
        RESUME,           // back into the paused match
        RESTART_ROUND,
        MAIN_MENU,
        REMATCH,          // the same fighters in the same arena again
        CHOOSE_FIGHTERS,
        TRAINING,         // player 1 against the dummy
        WATCH_REPLAY,     // the last match again
    };

    Screen() = default;
    virtual ~Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    virtual const char* Name() const = 0;  // for the trace: "title", "pause" ...
    virtual void Open() {}         // shown afresh
    virtual Event Update() = 0;    // this frame's input
    virtual void Draw() = 0;       // between the display's StartScene and EndScene
};
