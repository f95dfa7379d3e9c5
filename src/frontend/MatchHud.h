#pragma once

#include <memory>

class CaptionView;
class Match;
class Material;
class String3D;

// What a match shows over the fight: the round's clock at the top centre,
// each fighter's round wins as marks under the life bars, and the
// captions: "ROUND 2", "FIGHT", "TIME", the winner's or "DRAW".
class MatchHud {
public:
    explicit MatchHud(CaptionView& view);
    ~MatchHud();
    MatchHud(const MatchHud&) = delete;
    MatchHud& operator=(const MatchHud&) = delete;

    void Draw(const Match& match);

    float captionDepth = -1000;  // z of the winner's captions: -1000 hidden, slides to 0

private:
    void DrawMarks(const Match& match) const;
    void DrawCaptions(const Match& match);
    // `text` made anew when `value` differs from the one it shows.
    static void Show(std::unique_ptr<String3D>& text, int& shown, int value, const char* prefix, float scale);

    CaptionView& view;
    Material* marks;  // owned: untextured, its colour given per mark
    std::unique_ptr<String3D> clock, round, fight, time, winner, draw, names[2];
    int clockShown = -2, roundShown = -1;
};
