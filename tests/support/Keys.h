#pragma once

#include <vector>

#include "core/System.h"
#include "input/Keyboard.h"

// One frame of keyboard state with exactly these keys down.
inline void KeysDown(const std::vector<int>& down,
                     Keyboard& keyboard = *System::instance()->keyboard) {
    unsigned char state[Keyboard::KEY_COUNT] = {};
    for (int key : down) state[key] = 1;
    keyboard.SetState(state);
}

// A fresh press of `key`: a frame with nothing down, then one with the key.
inline void Press(int key) {
    KeysDown({});
    KeysDown({key});
}
