#include "input/Keyboard.h"

#include <SDL.h>

#include <cstring>

#include "core/Trace.h"

signed char ktable[Keyboard::KEY_COUNT];

Keyboard::Keyboard() {
    for (int c = 'a'; c <= 'z'; ++c) ktable[c] = static_cast<signed char>(c);
    for (int d = 0; d <= 9; ++d) {
        ktable[SDLK_0 + d] = static_cast<signed char>('0' + d);
        ktable[SDLK_KP0 + d] = static_cast<signed char>('0' + d);
    }
    for (int f = 1; f <= 12; ++f) ktable[SDLK_F1 + f - 1] = static_cast<signed char>(f);

    const struct { int key; char c; } named[] = {
        {SDLK_UP, 20}, {SDLK_DOWN, 21}, {SDLK_LEFT, 22}, {SDLK_RIGHT, 23},
        {SDLK_BACKSPACE, 'B'}, {SDLK_TAB, 'T'}, {SDLK_RETURN, 'R'}, {SDLK_KP_ENTER, 'R'},
        {SDLK_ESCAPE, 'X'}, {SDLK_DELETE, 'D'},
        {SDLK_SPACE, ' '}, {SDLK_ASTERISK, '*'}, {SDLK_COMMA, ','}, {SDLK_MINUS, '-'},
        {SDLK_PERIOD, '.'}, {SDLK_SLASH, '/'}, {SDLK_SEMICOLON, ';'}, {SDLK_EQUALS, '='},
        {SDLK_LEFTBRACKET, '['}, {SDLK_RIGHTBRACKET, ']'}, {SDLK_BACKSLASH, '\\'},
        {SDLK_BACKQUOTE, '~'}, {SDLK_CAPSLOCK, '~'},
        {SDLK_KP_PERIOD, '.'}, {SDLK_KP_DIVIDE, '/'}, {SDLK_KP_MINUS, '-'}, {SDLK_KP_PLUS, '+'},
        {SDLK_INSERT, 'I'}, {SDLK_HOME, 'H'}, {SDLK_END, 'E'}, {SDLK_PAGEUP, 'Y'},
        {SDLK_PAGEDOWN, 'V'},
        {SDLK_NUMLOCK, 'N'}, {SDLK_SCROLLOCK, 'L'}, {SDLK_SYSREQ, 'Q'}, {SDLK_MENU, 'M'},
        {SDLK_LSHIFT, 'S'}, {SDLK_RSHIFT, 'S'}, {SDLK_LCTRL, 'C'}, {SDLK_RCTRL, 'C'},
        {SDLK_LSUPER, 'W'}, {SDLK_RSUPER, 'W'},
    };
    for (const auto& entry : named) ktable[entry.key] = entry.c;
}

void Keyboard::Update() {
    SetState(SDL_GetKeyState(nullptr));
    // What the game has seen of the keys, so that a driving script can hold a
    // key for exactly as long as it takes the game to notice.
    if (!debug.enabled()) return;
    for (int key = 0; key < KEY_COUNT; ++key) {
        if ((keys[key] != 0) == (oldKeys[key] != 0)) continue;
        debug << "key " << (keys[key] != 0 ? "down: " : "up: ")
              << SDL_GetKeyName(static_cast<SDLKey>(key)) << std::endl;
    }
}

void Keyboard::SetState(const unsigned char* state) {
    std::memcpy(oldKeys, keys, KEY_COUNT);
    for (int key = 0; key < KEY_COUNT; ++key) keys[key] = state[key] | latched[key];
    std::memset(latched, 0, KEY_COUNT);
}

void Keyboard::Latch(int key) {
    if (Valid(key)) latched[key] = 1;
}

bool Keyboard::Shift() const { return Down(SDLK_LSHIFT) || Down(SDLK_RSHIFT); }
bool Keyboard::Control() const { return Down(SDLK_LCTRL) || Down(SDLK_RCTRL); }
bool Keyboard::Alt() const { return Down(SDLK_LALT) || Down(SDLK_RALT); }

char Keyboard::CharDown() const {
    // Keypad, arrows, F-keys and modifiers lie above 255 and are never typed.
    for (int key = 0; key < 256; ++key) {
        if (Pressed(key)) return ktable[key];
    }
    return 0;
}
