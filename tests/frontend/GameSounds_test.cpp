#include "frontend/GameSounds.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "core/Preferences.h"
#include "support/ScratchDir.h"

namespace {

using GameSoundsTest = ScratchDirTest;

TEST_F(GameSoundsTest, TheVolumeIsHeardAtOnceAndKeptWithThePlayersOptions) {
    const Preferences saved = preferences;
    setenv("XDG_CONFIG_HOME", std::filesystem::current_path().c_str(), 1);
    GameSounds::SetVolume(130);
    Preferences read;
    const bool kept = read.Load(Preferences::Path());
    unsetenv("XDG_CONFIG_HOME");
    const int heard = Sound::Manager::instance()->volume;
    Sound::Manager::instance()->volume = 100;
    preferences = saved;
    EXPECT_TRUE(heard == 100 && kept && read.volume == 100);
}

}  // namespace
