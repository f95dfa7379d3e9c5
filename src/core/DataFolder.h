#pragma once

#include <string>

// The folder the game's data is read from. Every loader opens its files
// relative to the working directory, so the game changes into it at
// start-up: the working directory itself when it holds device.cfg (a
// checkout's build/data, a modder's own folder), else the folder installed
// beside the executable (../share/korvanthe from its bin/), wherever the
// installation was moved or staged.
class DataFolder {
public:
    // The file that marks a data folder.
    static constexpr const char* MARKER = "device.cfg";

    // The installed data folder for the game at `executable`.
    static std::string Installed(const std::string& executable);
    // The folder to change into: empty to stay in `workingDir`, which is
    // also what happens when neither holds the marker (the game then says
    // that device.cfg is missing).
    static std::string Choose(const std::string& workingDir, const std::string& executable);
    // Chooses for this process and changes into the folder, with a trace line.
    static void Enter();
};
