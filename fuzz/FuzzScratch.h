#pragma once

#include <string>
#include <vector>

// The folder the fuzz targets read their files from: a temporary working
// directory entered on first use and removed at exit, with the singleton
// made as `korvanthe --check` makes it (a display that opens no window).
namespace FuzzScratch {

void Enter();
void Write(const std::string& path, const std::string& text);

// The words ending in `suffix` in the seed corpus of `target`: the names of
// the files that the seeds refer to, so that stand-ins can be written for them.
std::vector<std::string> CorpusNames(const std::string& target, const std::string& suffix);

// Small valid stand-ins.
std::string Triangle();     // a 3D ASCII mesh of one triangle
std::string Plain();        // an untextured material
std::string OneFrame(int);  // an animation of one frame for that many bones
std::string Bmp();          // a 24-bit image of 2 x 2 pixels

// characters/<name>/ with a stand-in for every mesh, material and move the
// target's seeds name, so that the fuzzer reaches past the file names.
void StandInFighter(const std::string& target, const std::string& name);
// scenes/<name>/ the same way, with a plain background material.
void StandInArena(const std::string& target, const std::string& name);

}  // namespace FuzzScratch
