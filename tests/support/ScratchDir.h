#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "core/System.h"

// Writes text to path, making the folders on the way.
inline void WriteFile(const std::string& path, const std::string& text) {
    const std::filesystem::path file(path);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream(path) << text;
}

// A temporary working directory, entered on construction and left and
// removed on destruction, so that the data files a test writes are the only
// ones the loaders see.
class ScratchDir {
public:
    ScratchDir() : previous(std::filesystem::current_path()) {
        // The singleton reads the players' devices from the test folder when
        // it is made: make it before leaving that folder.
        System::instance();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvanthe-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        dir = pattern;
        std::filesystem::current_path(dir);
    }
    ~ScratchDir() {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

private:
    std::filesystem::path previous;
    std::filesystem::path dir;
};

// Runs each test in a scratch directory of its own.
class ScratchDirTest : public ::testing::Test {
protected:
    ScratchDir scratch;
};
