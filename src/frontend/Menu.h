#pragma once

#include "math/DArray.h"

class Camera;
class Choice;
class Material;

// A vertical list of entries chosen with the mouse, the keyboard or either
// joystick. The owner opens it, calls Update and Draw once a frame and acts
// when `activated` is raised; `selection` is then the entry chosen, never -1.
class Menu {
public:
    Menu() = default;
    virtual ~Menu();  // deletes the entries
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    // Shown afresh: the first entry selected, nothing chosen, and the mouse
    // ignored until it moves or clicks, wherever its pointer rests.
    virtual void Open();
    virtual void Update();  // move the selection and take a choice from this frame's input
    virtual void Draw();    // every entry, the selected one highlighted

    // The entry whose letters lie under window pixel (x, y), as `camera`
    // shows them; -1 for none.
    int Hit(int x, int y) const;

    DArray<Choice*> choices;                 // in display order; owned
    int selection = -1;                      // the highlighted entry, -1 for none
    Material* normalMaterial = nullptr;      // not owned
    Material* highlightMaterial = nullptr;   // not owned
    bool activated = false;                  // an entry was chosen
    const Camera* camera = nullptr;          // the entries are drawn with it; null: no mouse

private:
    void UpdateMouse();
    void UpdateKeyboard();
    void UpdateJoysticks();
    void Up();        // the entry above, if any; the keyboard takes over from the mouse
    void Down();      // the entry below, if any; likewise
    void Activate();  // choose the selected entry; the keyboard takes over from the mouse
    void Select(int i);  // entry i, when there is one, highlighted by the keyboard
    bool HasSelection() const;  // `selection` names an entry

    bool pointerKnown = false;  // where the pointer rested when the menu opened is known
    int pointerX = 0, pointerY = 0;
};
