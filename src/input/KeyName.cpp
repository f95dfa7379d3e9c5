#include "input/KeyName.h"

#include <SDL_keysym.h>

#include <array>
#include <string>

#include "input/Keyboard.h"

namespace {

struct Named {
    int key;
    const char* name;
};

// Every key that is not a letter, a digit, a keypad digit or an F-key,
// which are named by rule below.
const Named NAMED[] = {
    {SDLK_BACKSPACE, "backspace"}, {SDLK_TAB, "tab"}, {SDLK_CLEAR, "clear"},
    {SDLK_RETURN, "return"}, {SDLK_PAUSE, "pause"}, {SDLK_ESCAPE, "escape"},
    {SDLK_SPACE, "space"}, {SDLK_QUOTE, "quote"}, {SDLK_COMMA, "comma"},
    {SDLK_MINUS, "minus"}, {SDLK_PERIOD, "period"}, {SDLK_SLASH, "slash"},
    {SDLK_SEMICOLON, "semicolon"}, {SDLK_EQUALS, "equals"},
    {SDLK_LEFTBRACKET, "leftbracket"}, {SDLK_BACKSLASH, "backslash"},
    {SDLK_RIGHTBRACKET, "rightbracket"}, {SDLK_BACKQUOTE, "backquote"},
    {SDLK_DELETE, "delete"}, {SDLK_KP_PERIOD, "kp_period"}, {SDLK_KP_DIVIDE, "kp_divide"},
    {SDLK_KP_MULTIPLY, "kp_multiply"}, {SDLK_KP_MINUS, "kp_minus"}, {SDLK_KP_PLUS, "kp_plus"},
    {SDLK_KP_ENTER, "kp_enter"}, {SDLK_KP_EQUALS, "kp_equals"}, {SDLK_UP, "up"},
    {SDLK_DOWN, "down"}, {SDLK_RIGHT, "right"}, {SDLK_LEFT, "left"}, {SDLK_INSERT, "insert"},
    {SDLK_HOME, "home"}, {SDLK_END, "end"}, {SDLK_PAGEUP, "pageup"},
    {SDLK_PAGEDOWN, "pagedown"}, {SDLK_NUMLOCK, "numlock"}, {SDLK_CAPSLOCK, "capslock"},
    {SDLK_SCROLLOCK, "scrollock"}, {SDLK_RSHIFT, "rshift"}, {SDLK_LSHIFT, "lshift"},
    {SDLK_RCTRL, "rctrl"}, {SDLK_LCTRL, "lctrl"}, {SDLK_RALT, "ralt"}, {SDLK_LALT, "lalt"},
    {SDLK_RMETA, "rmeta"}, {SDLK_LMETA, "lmeta"}, {SDLK_LSUPER, "lsuper"},
    {SDLK_RSUPER, "rsuper"}, {SDLK_MODE, "mode"}, {SDLK_COMPOSE, "compose"},
    {SDLK_HELP, "help"}, {SDLK_PRINT, "print"}, {SDLK_SYSREQ, "sysreq"},
    {SDLK_BREAK, "break"}, {SDLK_MENU, "menu"},
};

using Table = std::array<std::string, Keyboard::KEY_COUNT>;

Table Build() {
    Table names;
    for (int c = 'a'; c <= 'z'; ++c) names[c] = std::string(1, static_cast<char>(c));
    for (int d = 0; d <= 9; ++d) {
        names[SDLK_0 + d] = std::to_string(d);
        names[SDLK_KP0 + d] = "kp" + std::to_string(d);
    }
    for (int f = 1; f <= 15; ++f) names[SDLK_F1 + f - 1] = "f" + std::to_string(f);
    for (const Named& n : NAMED) names[n.key] = n.name;
    return names;
}

const Table& Names() {
    static const Table names = Build();
    return names;
}

}  // namespace

const char* KeyName::Of(int key) {
    if (key < 0 || key >= Keyboard::KEY_COUNT || Names()[key].empty()) return nullptr;
    return Names()[key].c_str();
}

int KeyName::Find(const std::string& name) {
    if (name.empty()) return -1;
    for (int key = 0; key < Keyboard::KEY_COUNT; ++key) {
        if (Names()[key] == name) return key;
    }
    return -1;
}
