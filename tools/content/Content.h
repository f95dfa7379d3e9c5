#pragma once

#include <string>

// The parts of the default content; each writes its files below the current
// working directory, which main() sets to the data folder.
namespace content {

void WriteShared();    // materials/, images/ shared by everything, letters/a.asc .. z.asc, 0.asc .. 9.asc
void WriteArena();     // scenes/<arena>/: lights, scenery, water, fire, sun and flare
void WriteFighters();  // characters/<name>/ for both fighters
void WriteSounds();    // sounds/: what the keyframes name and the game's own events
// The desktop icon as PNG files, in the icon theme's layout below `dir`:
// hicolor/<size>x<size>/apps/korvanthe.png.
void WriteIcons(const std::string& dir);

// The names settings.txt chooses.
extern const char* const ARENA_NAME;
extern const char* const FIGHTER_NAMES[2];

}  // namespace content
