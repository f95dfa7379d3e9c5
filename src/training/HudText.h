#pragma once

#include <string>

// Flat text over the picture for the training figures: a small square-pixel
// font of digits, lower-case letters and a few signs, drawn in screen
// pixels with a dark shadow so that it reads over sky and floor alike.
// Upper-case letters are drawn as lower-case; other characters as spaces.
class HudText {
public:
    static constexpr int COLUMNS = 3;  // of a glyph, before scaling
    static constexpr int ROWS = 5;

    // Draws `text` with its top left corner at (x, y), y down from the top
    // of the window, each font pixel `scale` screen pixels wide. Expects an
    // overlay projection (Display::BeginOverlay with y down).
    static void Draw(const std::string& text, int x, int y, int scale, float r, float g, float b);
    static int Width(const std::string& text, int scale);  // in screen pixels
    // The glyph of `c`: ROWS rows of COLUMNS characters, '#' lit; null when
    // the font has none.
    static const char* Glyph(char c);
};
