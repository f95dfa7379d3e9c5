#pragma once

class Material;
class String3D;

// One entry of a menu: its text at scale 3 and the rectangle the mouse
// chooses it by, in the caption camera's layout units (y up), where a letter
// of the text is 90 units wide and the text 90 units high.
class Choice {
public:
    static constexpr int LETTER_SIZE = 90;  // a scale-3 letter's width and height

    // The entry's top left corner at (x, y); the letters take m's mapping. At
    // another scale than 3 the letters and the rectangle grow or shrink with it.
    Choice(const char* text, int x, int y, Material* m, float scale = 3);
    ~Choice();
    Choice(const Choice&) = delete;
    Choice& operator=(const Choice&) = delete;

    void SetText(const char* label);  // new letters at the same place and scale

    int top;
    int left;
    int bottom;        // top - 90
    int right;         // left + 90 per character
    String3D* text;    // owned
    float scale;       // of the letters
};
