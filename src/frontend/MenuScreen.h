#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frontend/Menu.h"
#include "frontend/Screen.h"

class Backdrop;
class CaptionView;
class String3D;

// A screen that is a title over a menu of entries, centred, drawn over a
// dimmed backdrop. Each entry stands for what choosing it asks for.
class MenuScreen : public Screen {
public:
    struct Entry {
        const char* label;
        Event event;
    };

    MenuScreen(CaptionView& view, const Backdrop& backdrop, const char* title,
               const std::vector<Entry>& entries);
    ~MenuScreen() override;

    const char* Name() const override { return "menu"; }
    void Open() override;
    Event Update() override;  // the event of the entry chosen this frame
    void Draw() override;

    Menu menu;

protected:
    // A line of text under the title (a winner, a score); empty for none.
    void SetSubtitle(const std::string& text);

    CaptionView& view;
    const Backdrop& backdrop;

private:
    std::unique_ptr<String3D> title;
    std::unique_ptr<String3D> subtitle;
    std::vector<Event> events;  // of each entry, in the menu's order
};
