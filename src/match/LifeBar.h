#pragma once

class Material;

// A fighter's life, 0 to 100, and the bar that shows it in the top corner of
// the screen on the fighter's side: player 0 on the left, player 1 on the
// right. The bar fades from white at its left end towards red when life is
// low and towards blue when it is high; a black frame always shows its full
// length.
class LifeBar {
public:
    // Where a bar lies across a screen, in pixels.
    struct Span {
        int left;   // the bar's left edge
        int fill;   // where the filled part ends
        int right;  // the frame's right edge
    };

    LifeBar();                   // full life, no player, no material; never drawn
    explicit LifeBar(int player);
    ~LifeBar();
    LifeBar(const LifeBar&) = delete;
    LifeBar& operator=(const LifeBar&) = delete;

    void Draw() const;  // the bar over whatever is on screen, in pixel coordinates

    LifeBar& operator-=(int d);  // lose d, not below 0
    LifeBar& operator+=(int d);  // gain d, not above 100
    bool Dead() const { return value < 1; }
    void Reset() { value = MAX_LIFE; }
    Span Edges(int screenWidth) const;  // the bar's edges on a screen this wide

    static constexpr int MAX_LIFE = 100;

    int value = MAX_LIFE;
    int player = -1;                // 0 left, 1 right, -1 none
    Material* material = nullptr;   // owned; null for a bar without a player
};
