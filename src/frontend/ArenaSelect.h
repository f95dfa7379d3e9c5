#pragma once

#include <map>
#include <memory>
#include <string>

#include "frontend/Label.h"
#include "frontend/PlayerInput.h"
#include "frontend/Screen.h"
#include "math/Camera.h"

class Backdrop;
class CaptionView;
class Roster;

// Either player picks the arena, as the fighters were picked: every folder
// under scenes/ with a scene.sdf, shown by name with a view of the arena,
// or as unavailable with the reason.
class ArenaSelect : public Screen {
public:
    const char* Name() const override { return "arena select"; }
    ArenaSelect(CaptionView& view, const Backdrop& backdrop, Roster& roster);
    ~ArenaSelect() override;

    void Open() override;  // the cursor starts on `pick`
    Event Update() override;
    void Draw() override;

    std::string pick;  // the arena chosen

private:
    void Photograph(const std::string& arena);  // the view of it, drawn once and kept

    CaptionView& view;
    const Backdrop& backdrop;
    Roster& roster;
    PlayerInput inputs[2] = {PlayerInput(0), PlayerInput(1)};
    int cursor = 0;
    Camera overlook;  // where the view of an arena is taken from
    std::map<std::string, std::unique_ptr<Backdrop>> views;
    Label title, name, status, reason[3], hints[2];
};
