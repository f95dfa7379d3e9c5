#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frontend/Label.h"
#include "frontend/Menu.h"
#include "frontend/Screen.h"

class Backdrop;
class CaptionView;

// The replays kept, newest first and named by the date and time their match
// ended, to choose one to watch: keys, mouse or sticks as in the other menus;
// "BACK" or Backspace goes back.
class ReplayList : public Screen {
public:
    static constexpr int SHOWN = 10;  // the newest replays listed

    ReplayList(CaptionView& view, const Backdrop& backdrop);

    const char* Name() const override { return "replays"; }
    void SetReplays(const std::vector<std::string>& newestFirst);  // before it opens
    void Open() override;
    Event Update() override;
    void Draw() override;

    // "replay-2026-12-06_21-05-09_002.txt" as "2026-12-06 21:05:09 - 2"; a
    // name of another shape as it is, without its folder.
    static std::string Title(const std::string& path);

    std::string chosen;  // the replay picked, when Update says DONE

private:
    CaptionView& view;
    const Backdrop& backdrop;
    std::unique_ptr<Menu> menu;
    std::vector<std::string> paths;  // of the menu's entries but the last, BACK
    Label title, empty;
};
