#pragma once

#include <string>

class Material;
class String3D;

// One entry of a menu: its text and where it stands, in the caption
// camera's layout units (y up), and the rectangle its letters cover there,
// by which the mouse chooses it.
class Choice {
public:
    static constexpr float DEFAULT_SCALE = 3;  // menu entries: letters 90 units apart

    // A rectangle in layout units, y up.
    struct Rect {
        float left, bottom, right, top;
        bool Contains(float x, float y) const {
            return left <= x && x <= right && bottom <= y && y <= top;
        }
    };

    // The text's first letter stands with its lower left corner at (x, y);
    // the letters take m's mapping.
    Choice(const char* label, int x, int y, Material* m, float scale = DEFAULT_SCALE);
    ~Choice();
    Choice(const Choice&) = delete;
    Choice& operator=(const Choice&) = delete;

    void SetLabel(const char* label);  // new text in the same place and size
    Rect Letters() const;              // what the letters cover, without their wave

    std::string label;
    int left;          // x of the text's place
    int top;           // y of the text's place: the letters stand on it
    float scale;
    String3D* text;    // owned
};
