#pragma once

// The run-time rendering options the player changes with function keys.
class Options {
public:
    explicit Options(const char* fileName);  // the file is named but never read

    void Update();  // F9 detail, F10 shadow mesh, F5 slow motion; once per frame

    int detail = 0;      // mesh the colour passes draw: 0 normal, 1 shadow, 2 collision
    int shadows = 1;     // mesh the shadow passes draw, numbered the same way
    int slowMotion = 0;  // 1 a third of normal speed, 2 a tenth, other values normal
};

extern Options* options;  // created by the game
