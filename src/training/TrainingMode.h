#pragma once

#include <memory>

#include "input/KbdController.h"
#include "training/Dummy.h"
#include "training/Training.h"

class ComputerController;
class GameSeq;
class Keyboard;

// Training as the game runs it: player 1 against the dummy on the arena
// loaded, with the dummy's behaviour, the recording on its side and the
// figures on screen worked by keys:
//   Tab        the dummy's next behaviour (the last is the computer player)
//   F6         record on the dummy's side: player 1's keys move the dummy,
//              the player's own fighter stands; F6 again stops
//   F7         the dummy plays the recorded inputs, over and over
//   1, 2, 3    figures of the blows, the inputs, the move's frames on or off
//   Backspace  back to the menu
class TrainingMode {
public:
    // The computer behaviour plays the dummy's side with `computer`.
    TrainingMode(GameSeq& player, GameSeq& dummySide, Controller& playerDevice,
                 ComputerController& computer);

    void Begin(int now);
    void Keys(const Keyboard& keys, int now);
    // Who plays each side now.
    Controller* SideController(int side);
    void Frame(int now, int input0, int input1) { training.Frame(now, input0, input1); }
    void Draw() const;  // the figures over the picture; needs the display

    bool leave = false;  // Backspace was pressed
    bool show[3] = {true, true, true};  // blows, inputs, frames
    int behaviour = Dummy::STAND;  // a Dummy behaviour, or Dummy::BEHAVIOURS for the computer
    Training training;
    Dummy dummy;

private:
    GameSeq& player;
    Controller& playerDevice;
    ComputerController& computer;
    KbdController recordKeys;  // player 1's keys on the dummy's side, mirrored as its own
    Dummy stand;               // holds the player's fighter still while recording
};
