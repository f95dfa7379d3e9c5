#pragma once

#include <string>

// The names of SDL's keys in the player's options file: SDL 1.2's own key
// names, lower case and without their "SDLK_" prefix ("g", "pagedown",
// "kp_enter", "lshift"), one word each.
class KeyName {
public:
    static const char* Of(int key);             // the key's name, or null for a key without one
    static int Find(const std::string& name);   // the key of a name, or -1
};
