#include "frontend/FighterSelect.h"

#include <SDL.h>

#include <string>

#include "character/Person.h"
#include "core/Clock.h"
#include "core/Display.h"
#include "core/Preferences.h"
#include "core/System.h"
#include "core/Trace.h"
#include "frontend/Backdrop.h"
#include "frontend/CaptionView.h"
#include "frontend/FighterPreview.h"
#include "frontend/FolderCheck.h"
#include "frontend/Roster.h"
#include "input/KeyName.h"
#include "input/Keyboard.h"

namespace {

const float QUARTER_TURN = 0.7853982f;
const float PANEL_X[2] = {110, 530};               // layout units: the middle of each player's side
const Vector3 PLACES[2] = {Vector3(-64, 0, 0), Vector3(64, 0, 0)};  // where the fighters stand, under their sides
const float TURN_SPEED = 0.5f;                     // radians a second
const float SHADE = 0.75f;
const size_t REASON_WIDTH = 24;                    // characters in a line of the reason

// How a player works this screen, in the player's own keys: two lines.
void Hint(const PlayerInput& input, bool computer, Label (&lines)[2]) {
    if (computer) {
        lines[0].Set("at random");
        lines[1].Set("or player " + std::to_string(2 - input.player) + " chooses");
        return;
    }
    if (input.joystick) {
        lines[0].Set("stick chooses");
        lines[1].Set("button 1 picks  2 undoes");
        return;
    }
    const int* keys = preferences.keys[input.player];
    auto name = [&](int action) {
        const char* key = KeyName::Of(keys[action]);
        return std::string(key != nullptr ? key : "?");
    };
    lines[0].Set(name(Preferences::LEFT) + " " + name(Preferences::RIGHT) + " choose");
    lines[1].Set(name(Preferences::PUNCH) + " picks  " + name(Preferences::KICK) + " undoes");
}

}  // namespace

FighterSelect::Side::Side(int p)
    : input(p), player(1.2f), name(2.0f), status(1.1f), hints{Label(0.55f), Label(0.55f)},
      reason{Label(0.55f), Label(0.55f), Label(0.55f)} {
    player.Set("PLAYER " + std::to_string(p + 1));
}

FighterSelect::Side::~Side() = default;
FighterSelect::Side::Side(Side&&) noexcept = default;

FighterSelect::FighterSelect(CaptionView& view_, const Backdrop& backdrop_, Roster& roster_)
    : view(view_),
      backdrop(backdrop_),
      roster(roster_),
      stage(Vector3(0, 58, -250), Vector3(0, 50, 0), Vector3(0, 1, 0), 0, 1, 5000, QUARTER_TURN),
      title(1.6f),
      notice(0.9f) {
    title.Set("CHOOSE FIGHTERS");
}

FighterSelect::~FighterSelect() = default;

void FighterSelect::Open() {
    roster.Scan();
    const int count = static_cast<int>(roster.fighters.size());
    for (int i = 0; i < 2; ++i) {
        Side& side = sides[i];
        side.input = PlayerInput(i);
        side.picked = false;
        side.preview.reset();
        side.cursor = count > 0 ? i % count : 0;
        for (int f = 0; f < count; ++f) {
            if (roster.fighters[f].name == picks[i]) side.cursor = f;
        }
        if (computer[i] && count > 0) side.cursor = std::uniform_int_distribution<int>(0, count - 1)(chance);
        side.player.Set(computer[i] ? "COMPUTER" : "PLAYER " + std::to_string(i + 1));
    }
    pairCheck.reset();
    message.clear();
    openedAt = Clock::tickSource();
}

Screen::Event FighterSelect::Update() {
    roster.Poll();
    const Keyboard* keyboard = System::instance()->keyboard;
    if (keyboard->Pressed(SDLK_BACKSPACE)) return BACK;
    if (pairCheck != nullptr) return pairCheck->Done() ? PairChecked() : NONE;
    if (roster.fighters.empty()) return NONE;

    const bool pickedBefore[2] = {sides[0].picked, sides[1].picked};
    for (Side& side : sides) side.input.Update();
    for (int i = 0; i < 2; ++i) Steer(i, pickedBefore);
    // Return picks for whoever has not yet: one person can set up a match.
    if (keyboard->Pressed(SDLK_RETURN) || keyboard->Pressed(SDLK_KP_ENTER)) Pick(sides[0].picked ? 1 : 0);

    // The fighter under each cursor is loaded one at a time, once it is known to load.
    for (Side& side : sides) {
        const Roster::Entry& entry = roster.fighters[side.cursor];
        if (side.preview == nullptr && entry.state == Roster::Entry::READY) {
            side.preview = std::make_unique<FighterPreview>(roster.Fighter(entry.name, &side == &sides[0] ? 0 : 1));
            break;
        }
    }

    if (!sides[0].picked || !sides[1].picked) return NONE;
    const auto known = pairProblems.find(picks[0] + " " + picks[1]);
    if (picks[0] == picks[1] || (known != pairProblems.end() && known->second.empty())) return DONE;
    if (known != pairProblems.end()) {
        message = picks[0] + " and " + picks[1] + " cannot fight: " + known->second;
        sides[1].picked = false;
        return NONE;
    }
    pairCheck = std::make_unique<FolderCheck>("fighter " + picks[0] + " " + picks[1]);
    return NONE;
}

void FighterSelect::Steer(int i, const bool (&pickedBefore)[2]) {
    Side& side = sides[i];
    // The computer's side waits for the other player's own pick, made in an
    // earlier frame: the press that picked must not pick for the computer too.
    const bool byOther = computer[i] && !computer[1 - i];
    if (byOther && !pickedBefore[1 - i]) return;
    const PlayerInput& input = byOther ? sides[1 - i].input : side.input;
    if (side.picked) {
        if (input.back && !byOther) side.picked = false;
        return;
    }
    if (input.step != 0) Move(side, input.step);
    if (input.choose) Pick(i);
}

void FighterSelect::Move(Side& side, int step) {
    const int count = static_cast<int>(roster.fighters.size());
    side.cursor = (side.cursor + step + count) % count;
    side.preview.reset();
    message.clear();
}

void FighterSelect::Pick(int player) {
    Side& side = sides[player];
    if (side.picked || roster.fighters.empty()) return;
    const Roster::Entry& entry = roster.fighters[side.cursor];
    if (entry.state != Roster::Entry::READY) return;
    side.picked = true;
    picks[player] = entry.name;
    debug << "player " << player + 1 << " picks " << entry.name << std::endl;
    message.clear();
}

Screen::Event FighterSelect::PairChecked() {
    const std::string key = picks[0] + " " + picks[1];
    pairProblems[key] = pairCheck->ok ? "" : pairCheck->problem;
    pairCheck.reset();
    if (pairProblems[key].empty()) return DONE;
    message = picks[0] + " and " + picks[1] + " cannot fight: " + pairProblems[key];
    sides[1].picked = false;
    return NONE;
}

void FighterSelect::Draw() {
    backdrop.Draw(SHADE);
    DrawFighters();
    view.Begin();
    title.DrawCentred(CaptionView::CENTRE_X, 510, view.captionMaterial);
    for (int i = 0; i < 2; ++i) DrawSide(i);
    if (roster.fighters.empty()) {
        notice.Set("NO FIGHTERS IN THE CHARACTERS FOLDER");
    } else if (pairCheck != nullptr) {
        notice.Set("GET READY");
    } else {
        notice.Set(message);
    }
    notice.DrawCentred(CaptionView::CENTRE_X, 300, view.highlightMaterial);
    view.End();
}

void FighterSelect::DrawFighters() {
    System::instance()->display->SetCamera(&stage);
    const float turn = (Clock::tickSource() - openedAt) / 1000.0f * TURN_SPEED;
    for (int i = 0; i < 2; ++i) {
        FighterPreview* preview = sides[i].preview.get();
        if (preview == nullptr) continue;
        preview->Pose(PLACES[i], turn, static_cast<int>(Clock::tickSource() - openedAt));
        preview->fighter->Draw();
    }
}

void FighterSelect::DrawSide(int i) {
    Side& side = sides[i];
    const float x = PANEL_X[i];
    side.player.DrawCentred(x, 440, view.captionMaterial);
    Hint(side.input, computer[i], side.hints);
    side.hints[0].DrawCentred(x, -55, view.normalMaterial);
    side.hints[1].DrawCentred(x, -85, view.normalMaterial);
    if (roster.fighters.empty()) return;
    const Roster::Entry& entry = roster.fighters[side.cursor];
    side.name.Set(entry.name);
    side.name.DrawCentred(x, 375, side.picked ? view.highlightMaterial : view.normalMaterial);

    std::vector<std::string> reason;
    if (entry.state == Roster::Entry::CHECKING) {
        side.status.Set("CHECKING");
    } else if (entry.state == Roster::Entry::BROKEN) {
        side.status.Set("UNAVAILABLE");
        reason = Label::Wrap(entry.problem, REASON_WIDTH);
    } else {
        side.status.Set(side.picked ? "READY" : "");
    }
    side.status.DrawCentred(x, entry.state == Roster::Entry::READY ? 5 : 250, view.highlightMaterial);
    for (size_t line = 0; line < 3 && line < reason.size(); ++line) {
        side.reason[line].Set(reason[line]);
        side.reason[line].DrawCentred(x, 205 - 26.0f * line, view.normalMaterial);
    }
}
