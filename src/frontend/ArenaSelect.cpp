#include "frontend/ArenaSelect.h"

#include <SDL.h>

#include "core/Display.h"
#include "core/System.h"
#include "frontend/Backdrop.h"
#include "frontend/CaptionView.h"
#include "frontend/Roster.h"
#include "input/Keyboard.h"
#include "scene/Scene.h"

namespace {
const float QUARTER_TURN = 0.7853982f;
const size_t REASON_WIDTH = 40;
const float SHADE = 0.15f;
}  // namespace

ArenaSelect::ArenaSelect(CaptionView& view_, const Backdrop& backdrop_, Roster& roster_)
    : view(view_),
      backdrop(backdrop_),
      roster(roster_),
      overlook(Vector3(-470, 190, -260), Vector3(0, 30, 0), Vector3(0, 1, 0), 0, 1, 5000, QUARTER_TURN),
      title(1.5f),
      name(2.4f),
      status(1.1f),
      reason{Label(0.7f), Label(0.7f), Label(0.7f)},
      hints{Label(0.7f), Label(0.7f)} {
    title.Set("CHOOSE THE ARENA");
    hints[0].Set("left right choose   return picks");
    hints[1].Set("backspace goes back");
}

ArenaSelect::~ArenaSelect() = default;

void ArenaSelect::Open() {
    roster.Scan();
    inputs[0] = PlayerInput(0);
    inputs[1] = PlayerInput(1);
    cursor = 0;
    for (size_t a = 0; a < roster.arenas.size(); ++a) {
        if (roster.arenas[a].name == pick) cursor = static_cast<int>(a);
    }
}

Screen::Event ArenaSelect::Update() {
    roster.Poll();
    const Keyboard* keyboard = System::instance()->keyboard;
    if (keyboard->Pressed(SDLK_BACKSPACE)) return BACK;
    const int count = static_cast<int>(roster.arenas.size());
    if (count == 0) return NONE;
    int step = 0;
    bool choose = keyboard->Pressed(SDLK_RETURN) || keyboard->Pressed(SDLK_KP_ENTER);
    for (PlayerInput& input : inputs) {
        input.Update();
        step += input.step;
        choose = choose || input.choose;
        if (input.back) return BACK;
    }
    cursor = (cursor + step % count + count) % count;
    const Roster::Entry& entry = roster.arenas[cursor];
    if (!choose || entry.state != Roster::Entry::READY) return NONE;
    pick = entry.name;
    return DONE;
}

void ArenaSelect::Photograph(const std::string& arena) {
    Scene* scene = roster.Arena(arena);
    Display* display = System::instance()->display;
    display->StartScene();
    display->SetCamera(&overlook);
    scene->Update();
    scene->DrawReflection();
    scene->DrawReflectionAlpha();
    scene->Draw();
    scene->DrawAlpha();
    auto still = std::make_unique<Backdrop>();
    still->Capture();
    views[arena] = std::move(still);
}

void ArenaSelect::Draw() {
    const Roster::Entry* entry = roster.arenas.empty() ? nullptr : &roster.arenas[cursor];
    if (entry != nullptr && entry->state == Roster::Entry::READY &&
        (views.count(entry->name) == 0 || !views[entry->name]->Taken())) {
        Photograph(entry->name);
    }
    const auto still = entry != nullptr ? views.find(entry->name) : views.end();
    if (still != views.end() && still->second->Taken()) {
        still->second->Draw(SHADE);
    } else {
        backdrop.Draw(0.6f);
    }
    view.Begin();
    title.DrawCentred(CaptionView::CENTRE_X, 515, view.captionMaterial);
    hints[0].DrawCentred(CaptionView::CENTRE_X, -55, view.normalMaterial);
    hints[1].DrawCentred(CaptionView::CENTRE_X, -85, view.normalMaterial);
    name.Set(entry != nullptr ? entry->name : "NO ARENAS IN THE SCENES FOLDER");
    name.DrawCentred(CaptionView::CENTRE_X, 20, view.highlightMaterial);
    if (entry != nullptr && entry->state != Roster::Entry::READY) {
        status.Set(entry->state == Roster::Entry::CHECKING ? "CHECKING" : "UNAVAILABLE");
        status.DrawCentred(CaptionView::CENTRE_X, 300, view.highlightMaterial);
        const std::vector<std::string> lines = Label::Wrap(entry->problem, REASON_WIDTH);
        for (size_t line = 0; line < 3 && line < lines.size(); ++line) {
            reason[line].Set(lines[line]);
            reason[line].DrawCentred(CaptionView::CENTRE_X, 250 - 30.0f * line, view.normalMaterial);
        }
    }
    view.End();
}
