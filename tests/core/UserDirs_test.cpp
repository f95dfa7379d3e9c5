#include "core/UserDirs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/ScratchDir.h"

namespace {

// Sets (or, given null, unsets) an environment variable for one scope.
class Env {
public:
    Env(const char* name, const char* value) : name(name) {
        const char* old = std::getenv(name);
        if (old != nullptr) saved = old;
        hadValue = old != nullptr;
        Set(value);
    }
    ~Env() { Set(hadValue ? saved.c_str() : nullptr); }
    void Set(const char* value) {
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }

private:
    const char* name;
    std::string saved;
    bool hadValue = false;
};

std::string Here() { return std::filesystem::current_path().string(); }

TEST(UserDirs, PicturesFollowTheVariableThenUserDirsThenHome) {
    ScratchDir dir;
    Env config("XDG_CONFIG_HOME", Here().c_str()), home("HOME", "/home/p");
    struct Case {
        const char* variable;  // XDG_PICTURES_DIR
        const char* userDirs;  // the line in user-dirs.dirs, or null for none
        const char* expected;
    } const cases[] = {
        {"/shots", nullptr, "/shots"},
        {"shots", nullptr, "/home/p/Pictures/korvanthe"},  // relative: ignored
        {nullptr, "XDG_PICTURES_DIR=\"$HOME/Bilder\"", "/home/p/Bilder/korvanthe"},
        {nullptr, "# XDG_PICTURES_DIR=\"/old\"\nXDG_PICTURES_DIR=\"/pics\"", "/pics/korvanthe"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove("user-dirs.dirs");
        if (c.userDirs != nullptr) ScratchDir::Write("user-dirs.dirs", std::string(c.userDirs) + "\n");
        Env pictures("XDG_PICTURES_DIR", c.variable);
        EXPECT_EQ(UserDirs::Pictures(), c.expected) << (c.variable ? c.variable : c.userDirs);
    }
    home.Set(nullptr);
    config.Set(nullptr);
    EXPECT_EQ(UserDirs::Pictures(), "");
}

TEST(UserDirs, ThePlayersOwnFileComesFirstAndAnUnusableFolderIsSaidOnce) {
    ScratchDir dir;
    Env config("XDG_CONFIG_HOME", Here().c_str());
    EXPECT_EQ(UserDirs::CheckConfig(), "");
    ScratchDir::Write("korvanthe/controllers.txt", "controller0 keyboard\n");
    EXPECT_EQ(UserDirs::Own("controllers.txt"), Here() + "/korvanthe/controllers.txt");
    EXPECT_EQ(UserDirs::Own("settings.txt"), "settings.txt");

    ScratchDir::Write("a-file", "");
    config.Set((Here() + "/a-file").c_str());
    EXPECT_EQ(UserDirs::Own("controllers.txt"), "controllers.txt");
    EXPECT_NE(UserDirs::CheckConfig().find("/a-file/korvanthe: cannot be read or written"),
              std::string::npos);
}

}  // namespace
