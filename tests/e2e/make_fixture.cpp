// Writes a small but complete match into a folder, for the end-to-end tests:
// make_fixture DIR.
#include <filesystem>
#include <iostream>

#include "support/FixtureMatch.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_fixture DIR" << std::endl;
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    std::filesystem::current_path(argv[1]);
    fixture::WriteMatch();
    return 0;
}
