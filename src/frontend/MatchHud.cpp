#include "frontend/MatchHud.h"

#include <GL/gl.h>

#include <algorithm>
#include <string>

#include "core/Display.h"
#include "core/System.h"
#include "frontend/CaptionView.h"
#include "frontend/String3D.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"
#include "match/Match.h"
#include "render/Material.h"

namespace {

// The round marks: squares under the life bar, from its outer end inwards.
const int MARK_TOP = 48, MARK_SIZE = 12, MARK_GAP = 8;
const float CLOCK_SCALE = 1.6f;
const float CLOCK_Y = CaptionView::TOP - 50;
const int TIME_ALONE_MS = 150;  // game time, in the slow motion after the bell

}  // namespace

MatchHud::MatchHud(CaptionView& view_)
    : view(view_),
      marks(new Material()),
      fight(new String3D("FIGHT", 3)),
      time(new String3D("TIME", 2.5f)),
      winner(new String3D("WINNER", 2)),
      draw(new String3D("DRAW", 2.5f)),
      names{std::make_unique<String3D>("player one", 1.3f), std::make_unique<String3D>("player two", 1.3f)} {
    marks->blendType = 2;
}

MatchHud::~MatchHud() { delete marks; }

void MatchHud::Show(std::unique_ptr<String3D>& text, int& shown, int value, const char* prefix, float scale) {
    if (text != nullptr && shown == value) return;
    shown = value;
    text = std::make_unique<String3D>((prefix + std::to_string(value)).c_str(), scale);
}

void MatchHud::Draw(const Match& match) {
    DrawMarks(match);
    view.Begin();
    const int seconds = match.rules.SecondsLeft(match.Now());
    if (seconds >= 0) {
        Show(clock, clockShown, seconds, seconds < 10 ? "0" : "", CLOCK_SCALE);
        CaptionView::DrawCentred(*clock, CaptionView::CENTRE_X, CLOCK_Y, view.captionMaterial);
    }
    DrawCaptions(match);
    view.End();
}

// Rounds won are gold squares, rounds still to win are dark ones.
void MatchHud::DrawMarks(const Match& match) const {
    const Display* display = System::instance()->display;
    marks->current(true);
    display->BeginOverlay(true);
    glBegin(GL_QUADS);
    for (int player = 0; player < 2; ++player) {
        const LifeBar::Span bar = match.seqs[player]->lifeBar->Edges(display->width);
        for (int i = 0; i < match.rules.WinsNeeded(); ++i) {
            const int step = i * (MARK_SIZE + MARK_GAP);
            const int left = player == 0 ? bar.left + step : bar.right - step - MARK_SIZE;
            if (i < match.rules.wins[player]) {
                glColor4f(1, 0.8f, 0.1f, 1);
            } else {
                glColor4f(0, 0, 0, 0.45f);
            }
            glVertex2i(left, MARK_TOP + MARK_SIZE);
            glVertex2i(left, MARK_TOP);
            glVertex2i(left + MARK_SIZE, MARK_TOP);
            glVertex2i(left + MARK_SIZE, MARK_TOP + MARK_SIZE);
        }
    }
    glEnd();
    display->EndOverlay();
}

void MatchHud::DrawCaptions(const Match& match) {
    const RoundRules& rules = match.rules;
    const int since = match.Now() - rules.roundStart;
    Material* gold = view.captionMaterial;
    switch (match.Phase()) {
        case RoundRules::Phase::INTRO:
            captionDepth = -1000;
            if (since < RoundRules::FIGHT_CALL_MS) {
                Show(round, roundShown, rules.round, "ROUND ", 2.5f);
                CaptionView::DrawCentred(*round, CaptionView::CENTRE_X, 250, gold);
            } else {
                CaptionView::DrawCentred(*fight, CaptionView::CENTRE_X, 250, gold);
            }
            return;
        case RoundRules::Phase::FIGHT:
            captionDepth = -1000;
            return;
        case RoundRules::Phase::DECIDED:
            break;
    }
    // At the bell "TIME" shows alone a moment; then the winner's captions
    // slide in from behind the viewer, 50 units a frame.
    if (rules.end == RoundRules::End::TIME_UP) {
        CaptionView::DrawCentred(*time, CaptionView::CENTRE_X, 340, gold);
        if (match.Now() - rules.decidedAt < TIME_ALONE_MS) return;
    }
    captionDepth = std::min(captionDepth + 50, 0.0f);
    if (rules.winner < 0) {
        CaptionView::DrawCentred(*draw, CaptionView::CENTRE_X, 220, gold);
        return;
    }
    winner->SetPosition(Vector3(170, 240, captionDepth));
    gold->current(true);
    winner->Update();
    winner->Draw();
    String3D& name = *names[rules.winner];
    name.SetPosition(Vector3(150, 160, captionDepth));
    name.Update();
    name.Draw();
}
