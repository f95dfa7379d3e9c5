#pragma once

#include "math/DArray.h"

class Choice;
class Material;

// A vertical list of entries chosen with the mouse, the keyboard or either
// joystick. The owner calls Update and Draw once a frame and leaves the menu
// when `activated` is raised; `selection` is then the entry chosen, never -1.
class Menu {
public:
    Menu() = default;
    virtual ~Menu();  // deletes the entries
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    virtual void Update();  // move the selection and take a choice from this frame's input
    virtual void Draw();    // every entry, the selected one highlighted

    DArray<Choice*> choices;                 // in display order; owned
    int selection = -1;                      // the highlighted entry, -1 for none
    Material* normalMaterial = nullptr;      // not owned
    Material* highlightMaterial = nullptr;   // not owned
    bool activated = false;                  // an entry was chosen

private:
    void UpdateMouse();
    void UpdateKeyboard();
    void UpdateJoysticks();
    void Up();        // the entry above, if any; the keyboard takes over from the mouse
    void Down();      // the entry below, if any; likewise
    void Activate();  // choose the selected entry; the keyboard takes over from the mouse
    bool HasSelection() const;  // `selection` names an entry
};
