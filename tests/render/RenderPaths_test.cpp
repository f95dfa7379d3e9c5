// The fast render paths draw the picture the plain ones draw: a match frame,
// stopped at one clock, rendered with each fast path alone and with all of
// them, against the same frame with none, in both shadow methods.
#include "render/RenderPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/Game.h"
#include "core/System.h"
#include "input/Controller.h"
#include "match/GameSeq.h"
#include "match/Match.h"
#include "match/RoundRules.h"
#include "scene/Scene.h"
#include "support/Offscreen.h"
#include "support/PlayedMatch.h"

namespace {

const int WIDTH = 400, HEIGHT = 300;
using Path = bool RenderPaths::*;
const Path EVERY_PATH[] = {&RenderPaths::sharedEdgesDropped, &RenderPaths::twoSidedStencil,
                           &RenderPaths::volumesBatched, &RenderPaths::viewCulling,
                           &RenderPaths::staticLists, &RenderPaths::stencilWithDepth};

// Pixels that differ by more than rounding in some channel.
int Differing(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    int pixels = 0;
    for (size_t i = 0; i < a.size(); i += 3) {
        int most = 0;
        for (size_t c = i; c < i + 3; ++c) most = std::max(most, std::abs(a[c] - b[c]));
        if (most > 2) ++pixels;
    }
    return pixels;
}

// On the default content, and on the small fixture match (an empty parameter).
class RenderPathsTest : public GLTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        GLTest::SetUp();
        System* system = System::instance();
        if (*GetParam() == '\0') {
            scratch.emplace();
            fixture::WriteMatch();
        } else {
            std::filesystem::current_path(GetParam());
        }
        display.emplace(WIDTH, HEIGHT);
        system->clock->SetMode(1);
        system->clock->Reset(0);
        game.emplace();
        game->Act(Screen::TWO_PLAYERS);
        game->Act(Screen::DONE);
        game->Act(Screen::DONE);
        game->match->rules.roundStart -= RoundRules::FIGHT_BEGINS_MS;  // past the round's caption
    }
    void TearDown() override {
        renderPaths = RenderPaths();
        game.reset();
        display.reset();
        System::instance()->clock->SetMode(1);
        scratch.reset();
        std::filesystem::current_path(previous);
    }
    std::vector<std::uint8_t> Render(const RenderPaths& paths) {
        renderPaths = paths;
        // With no time passing a braid still swings between two places from
        // one frame to the next: two frames bring it back where it was.
        game->RenderFrame();
        game->RenderFrame();
        return target->Rgb();
    }
    FakeTicks ticks;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::optional<ScratchDir> scratch;
    std::optional<DisplayGuard> display;
    std::optional<Game> game;
    std::optional<Offscreen> target;
};

TEST_P(RenderPathsTest, EveryFastPathDrawsThePlainPicture) {
    target.emplace(WIDTH, HEIGHT);
    ASSERT_TRUE(target->complete());
    // Both fighters punch all along, so that blows land and effects show;
    // then the clock stops.
    for (int frame = 0; frame < 70; ++frame) {
        FakeTicks::now += 17;
        for (GameSeq* seq : game->match->seqs) seq->controller->ready |= Controller::CMD_P;
        game->RenderFrame();
    }
    System::instance()->clock->SetMode(0);
    for (const bool stencil : {true, false}) {
        game->match->scene->stencilShadows = stencil;
        const std::vector<std::uint8_t> plain = Render(RenderPaths::Plain());
        for (const Path path : EVERY_PATH) {
            RenderPaths one = RenderPaths::Plain();
            one.*path = true;
            EXPECT_EQ(Differing(plain, Render(one)), 0) << "stencil " << stencil;
        }
        EXPECT_EQ(Differing(plain, Render(RenderPaths())), 0) << "stencil " << stencil << ", all";
    }
}

INSTANTIATE_TEST_SUITE_P(Matches, RenderPathsTest, ::testing::Values("", KORVANTHE_DATA_DIR),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(*info.param == '\0' ? "Fixture" : "Default");
                         });

}  // namespace
