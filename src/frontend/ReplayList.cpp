#include "frontend/ReplayList.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/System.h"
#include "frontend/Backdrop.h"
#include "frontend/CaptionView.h"
#include "frontend/Choice.h"
#include "frontend/String3D.h"
#include "input/Keyboard.h"

namespace {
const float ENTRY_SCALE = 0.9f;
const int FIRST_ENTRY_Y = 430;
const int ENTRY_SPACING = 48;
const float SHADE = 0.5f;
}  // namespace

ReplayList::ReplayList(CaptionView& view_, const Backdrop& backdrop_)
    : view(view_), backdrop(backdrop_), title(1.5f), empty(1.0f) {
    title.Set("WATCH REPLAY");
    SetReplays({});
}

std::string ReplayList::Title(const std::string& path) {
    const std::string name = std::filesystem::path(path).stem().string();
    // replay-YYYY-MM-DD_HH-MM-SS, then _NNN for a second match in that second
    const std::string prefix = "replay-";
    const size_t stamp = prefix.size() + 19;
    if (name.rfind(prefix, 0) != 0 || name.size() < stamp || name[prefix.size() + 10] != '_') {
        return std::filesystem::path(path).filename().string();
    }
    std::string shown = name.substr(prefix.size(), 10) + " " + name.substr(prefix.size() + 11, 8);
    shown[13] = shown[16] = ':';
    if (name.size() > stamp + 1 && name[stamp] == '_') {
        shown += " - " + std::to_string(std::atoi(name.c_str() + stamp + 1));
    }
    return shown;
}

void ReplayList::SetReplays(const std::vector<std::string>& newestFirst) {
    paths.assign(newestFirst.begin(),
                 newestFirst.begin() + std::min<size_t>(newestFirst.size(), SHOWN));
    menu = std::make_unique<Menu>();
    menu->normalMaterial = view.normalMaterial;
    menu->highlightMaterial = view.highlightMaterial;
    menu->camera = &view.camera;
    std::vector<std::string> labels;
    for (const std::string& path : paths) labels.push_back(Title(path));
    labels.push_back("BACK");
    for (size_t i = 0; i < labels.size(); ++i) {
        const String3D measure(labels[i].c_str(), ENTRY_SCALE);
        const int x = static_cast<int>(CaptionView::CENTRE_X - measure.Width() / 2);
        const int y = FIRST_ENTRY_Y - static_cast<int>(i) * ENTRY_SPACING - (paths.empty() ? 100 : 0);
        menu->choices.Add(new Choice(labels[i].c_str(), x, y, view.normalMaterial, ENTRY_SCALE));
    }
    empty.Set(paths.empty() ? "NO REPLAYS KEPT YET" : "");
}

void ReplayList::Open() { menu->Open(); }

Screen::Event ReplayList::Update() {
    if (System::instance()->keyboard->Pressed(SDLK_BACKSPACE)) return BACK;
    menu->Update();
    if (!menu->activated) return NONE;
    menu->activated = false;
    if (menu->selection >= static_cast<int>(paths.size())) return BACK;
    chosen = paths[static_cast<size_t>(menu->selection)];
    return DONE;
}

void ReplayList::Draw() {
    backdrop.Draw(SHADE);
    view.Begin();
    title.DrawCentred(CaptionView::CENTRE_X, 515, view.captionMaterial);
    if (paths.empty()) empty.DrawCentred(CaptionView::CENTRE_X, 400, view.normalMaterial);
    menu->Draw();
    view.End();
}
