#pragma once

#include <memory>
#include <string>

#include "frontend/Backdrop.h"
#include "frontend/Roster.h"
#include "frontend/Screen.h"
#include "math/Matrix.h"

class ArenaSelect;
class CaptionView;
class ComputerController;
class ControlsScreen;
class FighterSelect;
class Match;
class MatchHud;
class MatchRunner;
class OptionsScreen;
class PauseScreen;
class ReplayList;
class ResultsScreen;
class TitleScreen;

// The game: which screen shows (the title and main menu, the fighter and
// arena selects, options, controls, pause, results) or the match itself,
// and the way from one to the next. It opens on the main menu, with the
// arena and the fighters of settings.txt loaded for the first match.
class Game {
public:
    // Ends the program with status 231 without settings.txt. Given a replay
    // file, opens on that replay rather than the menu.
    explicit Game(const std::string& replay = "");
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    void RenderFrame();  // one frame of the screen showing, or of the match

    std::string fighters[2];  // of the match: player 0's and player 1's
    std::string arena;
    Roster roster;
    Matrix world;             // identity
    std::unique_ptr<CaptionView> captions;
    std::unique_ptr<Match> match;  // being played, paused, or the last one
    std::unique_ptr<MatchHud> hud;
    Backdrop backdrop;        // the still that the screens are drawn over
    Backdrop arenaStill;      // the arena without its fighters, under the fighter select
    std::unique_ptr<TitleScreen> title;
    std::unique_ptr<FighterSelect> fighterSelect;
    std::unique_ptr<ArenaSelect> arenaSelect;
    std::unique_ptr<OptionsScreen> optionsScreen;
    std::unique_ptr<ControlsScreen> controls;
    std::unique_ptr<PauseScreen> pause;
    std::unique_ptr<ResultsScreen> results;
    std::unique_ptr<ReplayList> replays;
    Screen* showing = nullptr;  // null while the match is played
    bool quit = false;          // "Quit" was chosen
    // Who plays: ONE_PLAYER (the computer takes player 2), TWO_PLAYERS, or
    // DEMO (the computer both, until a key is pressed). A side that
    // controllers.txt gives to "cpu" is the computer's in every match.
    Screen::Event players = Screen::TWO_PLAYERS;
    std::unique_ptr<ComputerController> computers[2];  // the match's, on the computer's sides

    void Show(Screen* screen);      // opens it; BACK from controls returns to the one before
    void NewMatch();                // `fighters` in `arena`, from round 1
    void Act(Screen::Event event);  // what the player asked for on the screen showing
    // Plays the replay at `path` as its match was played, with its fighters
    // and arena; an unreadable one is refused on the main menu, and false.
    bool WatchReplay(const std::string& path);
    // The match in play is over: a live one is kept as the latest replay, a
    // replay watched is let go and the fighters chosen before come back.
    void EndMatch();

    std::unique_ptr<MatchRunner> runner;  // replays kept and watched, training

private:
    void Play();                  // one frame of the match
    bool Leave();                 // the demo, a replay or training ends here; true when it did
    void Back();
    void Pause();                 // the match stands still under the pause menu
    void Stills();                // the backdrop and the arena still, those lost or not yet taken
    bool ComputerSide(int player) const;
    void ChooseFighters();

    Screen* backTo = nullptr;     // where BACK leads from the controls
};

extern Game* game;  // made by init()
