// The fast render paths draw the picture the plain ones draw: a frame of a
// match, stopped at one clock, rendered with each fast path alone and with
// all of them, against the same frame with none, in both shadow methods.
#include "render/RenderPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "character/Person.h"
#include "core/Clock.h"
#include "core/Display.h"
#include "core/Game.h"
#include "core/System.h"
#include "input/Controller.h"
#include "match/GameSeq.h"
#include "scene/Scene.h"
#include "support/FakeTicks.h"
#include "support/FixtureMatch.h"
#include "support/GLContext.h"
#include "support/Offscreen.h"
#include "support/Screenshot.h"

namespace {

const int FRAME_WIDTH = 400;
const int FRAME_HEIGHT = 300;
const int FRAME_MS = 17;
const int FRAMES_PLAYED = 70;  // far enough into the bout for blows, sparkles and trails

using Path = bool RenderPaths::*;

struct Variant {
    const char* name;
    std::vector<Path> on;  // the paths switched on, the others off
};

const Variant VARIANTS[] = {
    {"shared edges dropped", {&RenderPaths::sharedEdgesDropped}},
    {"one stencil pass", {&RenderPaths::twoSidedStencil}},
    {"one stencil pass, batched", {&RenderPaths::twoSidedStencil, &RenderPaths::volumesBatched}},
    {"view culling", {&RenderPaths::viewCulling}},
    {"display lists", {&RenderPaths::staticLists}},
    {"all", {&RenderPaths::sharedEdgesDropped, &RenderPaths::twoSidedStencil,
             &RenderPaths::volumesBatched, &RenderPaths::viewCulling, &RenderPaths::staticLists}},
};

struct Difference {
    int largest = 0;  // over every channel of every pixel
    int pixels = 0;   // pixels that differ by more than rounding
};

Difference Compare(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    Difference d;
    for (size_t i = 0; i < a.size(); i += 3) {
        int most = 0;
        for (size_t c = i; c < i + 3; ++c) most = std::max(most, std::abs(a[c] - b[c]));
        d.largest = std::max(d.largest, most);
        if (most > 2) ++d.pixels;
    }
    return d;
}

// The default content, or the small fixture match when the parameter is empty.
class RenderPathsTest : public GLTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        System* system = System::instance();
        previous = std::filesystem::current_path();
        if (*GetParam() == '\0') {
            scratch.emplace();
            fixture::WriteMatch();
        } else {
            std::filesystem::current_path(GetParam());
        }
        savedDisplay = system->display;
        system->display = new Display();
        system->display->width = FRAME_WIDTH;
        system->display->height = FRAME_HEIGHT;
        system->clock->SetMode(1);
        system->clock->Reset(0);
        game.emplace();
        game->menuActive = false;
    }
    void TearDown() override {
        if (IsSkipped()) return;
        renderPaths = RenderPaths();
        game.reset();
        System::instance()->display = savedDisplay;
        System::instance()->clock->SetMode(1);
        scratch.reset();
        std::filesystem::current_path(previous);
    }

    // Both fighters punch all along, so blows land and effects show.
    void Play() {
        for (int frame = 0; frame < FRAMES_PLAYED; ++frame) {
            FakeTicks::now += FRAME_MS;
            for (GameSeq* seq : game->seqs) seq->controller->ready |= Controller::CMD_P;
            game->RenderFrame();
        }
        // Stopped, and no real time passing either: nothing moves any more.
        System::instance()->clock->SetMode(0);
        game->RenderFrame();
    }

    std::vector<std::uint8_t> Render(const RenderPaths& paths, const Offscreen& target) {
        renderPaths = paths;
        // With no time passing a braid still swings between two places from
        // one frame to the next: two frames bring it back where it was.
        game->RenderFrame();
        game->RenderFrame();
        return target.Rgb();
    }

    FakeTicks ticks;
    std::filesystem::path previous;
    std::optional<ScratchDir> scratch;
    std::optional<Game> game;
    Display* savedDisplay = nullptr;
};

TEST_P(RenderPathsTest, EveryFastPathDrawsThePlainPicture) {
    Offscreen target(FRAME_WIDTH, FRAME_HEIGHT);
    ASSERT_TRUE(target.complete());
    Play();
    for (const bool stencil : {true, false}) {
        game->scene->stencilShadows = stencil;
        const std::string method = stencil ? "stencil" : "planar";
        const std::vector<std::uint8_t> plain = Render(RenderPaths::Plain(), target);
        SaveShot(method + "-plain", FRAME_WIDTH, FRAME_HEIGHT);
        ASSERT_EQ(Compare(plain, Render(RenderPaths::Plain(), target)).pixels, 0)
            << method << ": the stopped frame is drawn the same twice";
        for (const Variant& variant : VARIANTS) {
            RenderPaths paths = RenderPaths::Plain();
            for (const Path path : variant.on) paths.*path = true;
            const Difference d = Compare(plain, Render(paths, target));
            std::cout << method << ", " << variant.name << ": largest difference " << d.largest
                      << ", " << d.pixels << " pixels beyond rounding" << std::endl;
            EXPECT_LE(d.pixels, 0) << method << ", " << variant.name;
        }
        SaveShot(method + "-fast", FRAME_WIDTH, FRAME_HEIGHT);
    }
}

INSTANTIATE_TEST_SUITE_P(Matches, RenderPathsTest, ::testing::Values("", KORVANTHE_DATA_DIR),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(*info.param == '\0' ? "Fixture" : "Default");
                         });

}  // namespace
