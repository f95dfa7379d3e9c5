#pragma once

#include <string>

// Where the player's own files live, by the XDG base directory rules: the
// game never writes into its installed data folder.
class UserDirs {
public:
    // $XDG_CONFIG_HOME/korvanthe, else ~/.config/korvanthe: options and the
    // player's own device.cfg, controllers.txt and settings.txt.
    static std::string Config();
    // $XDG_DATA_HOME/korvanthe, else ~/.local/share/korvanthe: replays.
    static std::string Data();
    // Creates `dir` and its parents. False, with a trace line, when it cannot.
    static bool Make(const std::string& dir);

private:
    // $variable/korvanthe when it is set to an absolute path, else
    // $HOME/fallback/korvanthe; empty when neither is known.
    static std::string Under(const char* variable, const char* fallback);
};
