#pragma once

#include <string>

#include "core/WordReader.h"

class Replay;

// Reads a replay file written by Replay::Write. Anything else is refused
// with "file:line: expected X, found Y": another version, a file cut short,
// counts or numbers no match could have, names that are not a folder's, and
// fighters or an arena this installation does not have.
class ReplayReader {
public:
    explicit ReplayReader(const std::string& path);
    ReplayReader(std::istream& in, const std::string& name);

    // True when the whole file was read into `replay`.
    bool Read(Replay& replay);
    const std::string& problem() const;

private:
    bool Header(Replay& replay);
    bool Name(std::string& out, const char* what);
    bool Installed(const std::string& folder, const std::string& name);
    bool Count(int& out, const char* what, int most);
    bool Ranged(int& out, int least, int most);
    bool Seed(std::uint64_t& out, std::uint64_t most);
    bool Input(int& bits);
    bool Frames(Replay& replay);
    bool Checks(Replay& replay);

    WordReader in;
    std::string unopened;  // the problem when the file could not be opened
};
