#include "frontend/Roster.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/FixtureMatch.h"

namespace {

// Polls until no folder is being checked any more.
void Settle(Roster& roster) {
    for (int tries = 0; tries < 1000; ++tries) {
        roster.Poll();
        bool checking = false;
        for (const auto* list : {&roster.fighters, &roster.arenas})
            for (const Roster::Entry& e : *list) checking = checking || e.state == Roster::Entry::CHECKING;
        if (!checking) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    FAIL() << "the checks never ended";
}

// Folders a modder might share, broken in the ways the readers end the
// program over, are listed as unavailable with the reader's own words; the
// game (this test) goes on.
TEST(Roster, FoldersThatDoNotLoadAreListedWithTheReason) {
    const ScratchDir dir;
    fixture::WriteMatch();
    fixture::WriteFighter("nomoves");
    std::filesystem::remove("characters/nomoves/movetree.txt");
    fixture::WriteFighter("nomaterial");
    std::filesystem::remove("characters/nomaterial/materials/body.mat");
    WriteFile("scenes/nofloor/scene.sdf", "sky.mat\n");
    WriteFile("scenes/nofloor/lights.txt", "AMBIENT 1 1 1\n0\n");
    WriteFile("scenes/nofloor/materials/sky.mat", ColourMaterial({0, 0, 1}));
    WriteFile("characters/notafighter/readme.txt", "no body here\n");

    Roster roster;
    roster.Scan();
    Settle(roster);
    ASSERT_EQ(roster.fighters.size(), 3u) << "a folder without a body is no fighter";
    const struct {
        const Roster::Entry* entry;
        Roster::Entry::State state;
        const char* reason;
    } expected[] = {
        {roster.FindFighter("fixture"), Roster::Entry::READY, ""},
        {roster.FindFighter("nomoves"), Roster::Entry::BROKEN, "characters/nomoves/movetree.txt: file not found"},
        {roster.FindFighter("nomaterial"), Roster::Entry::BROKEN, "body.mat"},
        {roster.FindArena("floor"), Roster::Entry::READY, ""},
        // An arena that does not say its size takes the documented floor.
        {roster.FindArena("nofloor"), Roster::Entry::READY, ""},
    };
    for (const auto& e : expected) {
        ASSERT_NE(e.entry, nullptr);
        EXPECT_EQ(e.entry->state, e.state) << e.entry->name << ": " << e.entry->problem;
        EXPECT_NE(e.entry->problem.find(e.reason), std::string::npos) << e.entry->problem;
    }
}

}  // namespace
