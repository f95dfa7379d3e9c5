#pragma once

// The keyboard, polled once a frame: this frame's and the previous frame's
// state of every SDL key code, so that a key counts as pressed only in the
// frame it goes down. A key that goes down and up again between two polls
// is latched from SDL's events, so that a quick tap is never lost.
class Keyboard {
public:
    static const int KEY_COUNT = 323;  // the size of SDL 1.2's key-state array

    Keyboard();  // fills ktable

    void Update();                              // take SDL's key state for this frame
    void SetState(const unsigned char* state);  // take a key state of KEY_COUNT bytes
    // The key went down since the last poll: it counts as down in the next
    // one, even if it is already up again by then.
    void Latch(int key);

    bool Down(int key) const { return Valid(key) && keys[key] != 0; }
    bool Pressed(int key) const { return Down(key) && oldKeys[key] == 0; }
    // The press of `key` has been acted on: for the rest of this frame it
    // no longer counts as pressed (Alt+Enter must not also pick a menu entry).
    void Consume(int key) {
        if (Valid(key)) oldKeys[key] = keys[key];
    }
    bool Shift() const;
    bool Control() const;
    bool Alt() const;
    // ktable's character of the lowest key code below 256 pressed this frame, or 0.
    char CharDown() const;

    unsigned char keys[KEY_COUNT] = {};     // this frame, non-zero when down
    unsigned char oldKeys[KEY_COUNT] = {};  // the previous frame
    unsigned char latched[KEY_COUNT] = {};  // went down since the last poll

private:
    static bool Valid(int key) { return key >= 0 && key < KEY_COUNT; }
};

// The character each key types: letters, digits, punctuation, and codes for
// the keys the menus care about (F-keys 1 to 12, arrows 20 to 23, 'R' Return...).
extern signed char ktable[Keyboard::KEY_COUNT];
