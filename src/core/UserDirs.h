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
    // Screenshots: $XDG_PICTURES_DIR when it is set to an absolute path,
    // else the pictures folder that user-dirs.dirs names (~/Pictures when
    // it names none) with korvanthe/ below it; empty when nothing is known.
    static std::string Pictures();
    // Creates `dir` and its parents. False, with a trace line, when it cannot.
    static bool Make(const std::string& dir);

    // The player's own copy of `name` in the config directory when there is
    // one, else `name` as it is: the data folder's, the working directory.
    static std::string Own(const std::string& name);
    // Makes the config directory when it is missing. Empty when it can be
    // read and written, else a line saying why not.
    static std::string CheckConfig();

private:
    // $variable/korvanthe when it is set to an absolute path, else
    // $HOME/fallback/korvanthe; empty when neither is known.
    static std::string Under(const char* variable, const char* fallback);
    // The pictures folder that user-dirs.dirs in `configHome` names, with
    // $HOME expanded; empty when the file names none.
    static std::string PicturesFromUserDirs(const std::string& configHome,
                                            const std::string& home);
};
