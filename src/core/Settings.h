#pragma once

#include <string>

class WordReader;

// settings.txt: the arena and the two fighters of the match, each word after
// a label of its own ("scene lakeshrine player1 bront player2 lyse"). The
// labels are not checked.
class Settings {
public:
    static const int UNUSABLE = 231;  // the exit status when the file cannot be used

    // A missing file, or one with fewer than six words, ends the program with
    // status 231.
    void Load(const std::string& path);
    void Read(WordReader& reader);

    std::string scene;        // a folder under "scenes/"
    std::string fighters[2];  // folders under "characters/"
};
