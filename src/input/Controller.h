#pragma once

// One player's fighting commands. Each frame the controller samples its
// device; inputs arriving within 150 ms of the first one are grouped into one
// command, which is published as a bit set and as a string of letters in the
// fixed order f a u d p k g t i o. Directions are relative to the opponent:
// 'f' toward, 'a' away.
class Controller {
public:
    // The command bits, in the order their letters are written.
    static constexpr int CMD_F = 0x1;    // toward the opponent, held
    static constexpr int CMD_A = 0x2;    // away from the opponent, held
    static constexpr int CMD_U = 0x4;    // up, held
    static constexpr int CMD_D = 0x8;    // down, held
    static constexpr int CMD_P = 0x40;   // action 0, pressed
    static constexpr int CMD_K = 0x80;   // action 1, pressed
    static constexpr int CMD_G = 0x100;  // action 2 (guard), held
    static constexpr int CMD_T = 0x200;  // action 3, pressed
    static constexpr int CMD_I = 0x400;  // action 5, or action 4 when flipped; pressed
    static constexpr int CMD_O = 0x800;  // action 4, or action 5 when flipped; pressed
    // Inputs that count in the frame they go down rather than while held.
    static constexpr int PRESSED = CMD_P | CMD_K | CMD_T | CMD_I | CMD_O;
    // A command waits this long (ms of game time) after its first input for more.
    static constexpr int WINDOW_MS = 151;

    explicit Controller(int player);  // player 0 or 1
    virtual ~Controller() = default;

    void Update();           // sample the device and advance the grouping, once a frame
    int Command();           // take the ready command: its bits, 0 when none
    const char* Commands();  // the ready command's letters, without taking it
    // The letters of a set of command bits, in their fixed order, into `out`
    // (room for 11 characters); returns out.
    static char* Letters(int bits, char* out);
    static int Bit(char letter);  // a command letter's bit; 0 for any other character
    void SetFlip(bool f);    // which side the fighters are on; player 1 is mirrored
    void Forget();           // drop everything collected: a new match starts clean

    char commands[20];  // the string Commands() returns
    int player;
    int windowStart = 0;  // game time at which the command being formed began
    bool idle = true;     // nothing collected since the last command was taken
    int pending = 0;      // inputs collected for the command being formed
    int ready = 0;        // published and not yet taken
    int last = 0;         // the command taken most recently
    bool flip = false;    // mirror toward/away and the i/o actions
    int sampled = 0;      // what this frame's Update sampled, mirrored: what a replay keeps

protected:
    // Called first in every Update, once a frame: a controller that decides
    // rather than reads a device makes this frame's decision here.
    virtual void NextFrame() {}
    // This frame's inputs as command bits: directions and guard while held,
    // the other actions in the frame they go down.
    virtual int Sample() const = 0;
    // The bit an input gives on this side: flipped, 'f' and 'a' trade places
    // and so do 'i' and 'o'.
    int Mirrored(int bit) const;

private:
    void Group();  // start, extend or publish the command from `pending`
};
