#pragma once

// A still of the screen that menus are drawn over: the arena when the game
// opens, the match when it pauses or ends. Taken from what has been drawn
// so far in this frame and drawn back dimmed, it costs one textured quad a
// frame however heavy the scene it shows.
class Backdrop {
public:
    Backdrop() = default;
    ~Backdrop();
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

    void Capture();  // the window as drawn so far this frame
    // The window shows the still as drawn so far this frame, not taken yet:
    // this frame's menu is drawn over it in place, without waiting for a
    // read-back, and the still is taken in a later frame.
    void Hold();
    bool Held() const { return held; }
    // Over the whole window, darkened by `shade` (0 as taken, 1 black);
    // without a capture or a still held, the window is just cleared.
    void Draw(float shade) const;
    // A still was taken in the display's present GL context: a new context
    // has lost it.
    bool Taken() const;

private:
    static void DimInPlace(float shade);

    unsigned int texture = 0;  // GL texture name, 0 before the first capture
    int generation = 0;        // the display's GL context when it was taken
    int width = 0, height = 0;  // of the window when taken
    bool held = false;          // the window shows the still this frame
};
