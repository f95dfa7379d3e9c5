#include "frontend/MenuScreen.h"

#include <algorithm>

#include "frontend/Backdrop.h"
#include "frontend/CaptionView.h"
#include "frontend/Choice.h"
#include "frontend/String3D.h"

namespace {

const float TITLE_SCALE = 2.6f;
const float TITLE_Y = 430;
const float SUBTITLE_SCALE = 1.4f;
const float SUBTITLE_Y = 372;
// Entries 60 units tall, 85 apart: the gaps between them choose nothing.
// A long entry makes them all smaller, so that none runs off the sides.
const float ENTRY_SCALE = 2;
const float WIDEST_ENTRY = 640;
const int FIRST_ENTRY_Y = 290;
const int ENTRY_SPACING = 85;
const int LAST_ENTRY_Y = -75;  // the lowest entry still stands above the window's bottom edge
const float LETTER_HEIGHT = 30;  // at scale 1
const float ENTRY_GAP = 15;      // at least, between one entry's letters and the next's
const float SHADE = 0.5f;

}  // namespace

MenuScreen::MenuScreen(CaptionView& view_, const Backdrop& backdrop_, const char* titleText,
                       const std::vector<Entry>& entries)
    : view(view_), backdrop(backdrop_), title(std::make_unique<String3D>(titleText, TITLE_SCALE)) {
    menu.normalMaterial = view.normalMaterial;
    menu.highlightMaterial = view.highlightMaterial;
    menu.camera = &view.camera;
    // Many entries pack tighter, in smaller letters, so that the last stays
    // on screen.
    const int count = static_cast<int>(entries.size());
    const int spacing = count > 5 ? std::min(75, (FIRST_ENTRY_Y - LAST_ENTRY_Y) / (count - 1)) : ENTRY_SPACING;
    float widest = 0;
    for (const Entry& entry : entries) widest = std::max(widest, String3D(entry.label, 1).Width());
    const float scale = std::min({ENTRY_SCALE, WIDEST_ENTRY / widest, (spacing - ENTRY_GAP) / LETTER_HEIGHT});
    for (int i = 0; i < count; ++i) {
        const String3D measure(entries[i].label, scale);
        const int x = static_cast<int>(CaptionView::CENTRE_X - measure.Width() / 2);
        menu.choices.Add(new Choice(entries[i].label, x, FIRST_ENTRY_Y - i * spacing, view.normalMaterial, scale));
        events.push_back(entries[i].event);
    }
    String3D::Map(view.captionMaterial);
}

MenuScreen::~MenuScreen() = default;

void MenuScreen::Open() { menu.Open(); }

Screen::Event MenuScreen::Update() {
    menu.Update();
    if (!menu.activated) return NONE;
    menu.activated = false;
    return events[menu.selection];
}

void MenuScreen::SetSubtitle(const std::string& text) {
    subtitle = text.empty() ? nullptr : std::make_unique<String3D>(text.c_str(), SUBTITLE_SCALE);
}

void MenuScreen::Draw() {
    backdrop.Draw(SHADE);
    view.Begin();
    CaptionView::DrawCentred(*title, CaptionView::CENTRE_X, TITLE_Y, view.captionMaterial);
    if (subtitle != nullptr) CaptionView::DrawCentred(*subtitle, CaptionView::CENTRE_X, SUBTITLE_Y);
    menu.Draw();
    view.End();
}
