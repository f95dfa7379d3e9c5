// One frame of a match, measured: the simulation alone (both sequencers, the
// scene, both collision tests), the computer's decisions for both players,
// and the whole rendered frame at 800x600, 1024x768 and 1280x720 with
// stencil shadow volumes and with planar shadows, and every screen of the
// front end at 800x600. Besides the frame's wall
// time, "main" is the CPU time of the game's own thread per frame: the
// renderer's threads draw the pixels beside it, and on a busy machine it is
// the steadier figure.
//
// KORVANTHE_BENCH_PLAIN=1 draws with every fast render path off, for the
// figures before them; a list of path names (for instance
// "viewCulling,staticLists") switches off those alone.
//
// The match is the one in KORVANTHE_BENCH_DATA (for instance build/data, the
// default content), or else the small fixture match written to a scratch
// folder. Fighters throw punches all the while, so blows, sparkles and
// reactions are part of what is measured.
//
// Every measured run replays the same two seconds of the bout from its
// start, on a clock that advances a sixtieth of a second per frame: the
// camera follows the fighters, so a run that caught another moment of the
// fight would see another amount of scenery and scatter the figures.
#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ai/ComputerController.h"
#include "core/Clock.h"
#include "core/Display.h"
#include "core/DisplayOpts.h"
#include "core/Game.h"
#include "frontend/ArenaSelect.h"
#include "frontend/ControlsScreen.h"
#include "frontend/FighterSelect.h"
#include "frontend/FolderCheck.h"
#include "frontend/OptionsScreen.h"
#include "frontend/PauseScreen.h"
#include "frontend/ResultsScreen.h"
#include "frontend/TitleScreen.h"
#include "core/System.h"
#include "input/Controller.h"
#include "match/Match.h"
#include "match/GameSeq.h"
#include "render/RenderPaths.h"
#include "scene/Scene.h"
#include "support/FixtureMatch.h"

namespace {

const int FRAMES_PER_RUN = 120;
const std::uint32_t FRAME_MS = 17;
std::uint32_t fakeNow = 0;

void SwitchOffPaths() {
    const char* off = std::getenv("KORVANTHE_BENCH_PLAIN");
    if (off == nullptr) return;
    if (std::string(off) == "1") renderPaths = RenderPaths::Plain();
    const std::pair<const char*, bool RenderPaths::*> names[] = {
        {"sharedEdgesDropped", &RenderPaths::sharedEdgesDropped},
        {"twoSidedStencil", &RenderPaths::twoSidedStencil},
        {"volumesBatched", &RenderPaths::volumesBatched},
        {"viewCulling", &RenderPaths::viewCulling},
        {"staticLists", &RenderPaths::staticLists},
        {"stencilWithDepth", &RenderPaths::stencilWithDepth},
    };
    for (const auto& [name, path] : names) {
        if (std::strstr(off, name) != nullptr) renderPaths.*path = false;
    }
}

Game* TheGame() {
    static Game* made = [] {
        const char* data = std::getenv("KORVANTHE_BENCH_DATA");
        if (data != nullptr && *data != '\0') {
            std::filesystem::current_path(data);
        } else {
            std::string dir = (std::filesystem::temp_directory_path() / "korvanthe-bench-XXXXXX");
            if (mkdtemp(dir.data()) == nullptr) std::abort();
            std::filesystem::current_path(dir);
            fixture::WriteMatch();
        }
        Clock::tickSource = [] { return fakeNow; };
        FolderCheck::program = KORVANTHE_BINARY;  // the bench itself would run the benchmarks
        SDL_Init(SDL_INIT_VIDEO);
        static DisplayOpts opts;
        if (!opts.LoadConfig()) std::abort();
        opts.width = 800;
        opts.height = 600;
        opts.fullscreen = false;
        System::instance()->displayOptions(&opts);
        Game* game = new Game();
        game->Act(Screen::TWO_PLAYERS);
        game->Act(Screen::DONE);
        game->Act(Screen::DONE);  // the settings' fighters in the settings' arena
        SwitchOffPaths();
        return game;
    }();
    return made;
}

// Both players keep punching, so blows land and reactions play.
void Punch(Game* game) {
    for (GameSeq* seq : game->match->seqs) {
        if (seq->controller != nullptr) seq->controller->ready |= 0x40;
    }
}

// Back to the first moment of a fresh bout, the round's caption already
// over: the fighters fight from the first frame.
void Rewind(Game* game) {
    System::instance()->clock->Reset(0);
    game->match->Start();
    game->match->rules.roundStart -= RoundRules::FIGHT_BEGINS_MS;
}

void Tick() { fakeNow += FRAME_MS; }

double ThreadCpuMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void CountFrames(benchmark::State& state, double mainCpuMs = 0) {
    const double frames = static_cast<double>(state.iterations()) * FRAMES_PER_RUN;
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["frame"] = benchmark::Counter(
        frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    if (mainCpuMs > 0) state.counters["main_ms"] = mainCpuMs / frames;
}

// The window at the benchmark's size; the first one opened is 800x600.
void Size(int width, int height) {
    Display* display = System::instance()->display;
    if (display->width != width || display->height != height) display->Resize(width, height);
}

void BM_MatchSimulation(benchmark::State& state) {
    Game* game = TheGame();
    for (auto _ : state) {
        Rewind(game);
        for (int frame = 0; frame < FRAMES_PER_RUN; ++frame) {
            Tick();
            Punch(game);
            game->match->Update();
        }
    }
    CountFrames(state);
}
BENCHMARK(BM_MatchSimulation)->Unit(benchmark::kMillisecond);

// The computer's decisions for both players, frame by frame through ten
// seconds of a demo bout: only the two controllers' updates are timed, the
// simulation they watch runs between them.
void BM_ComputerDecision(benchmark::State& state) {
    const int frames = 600;
    Game* game = TheGame();
    System* system = System::instance();
    game->Act(Screen::DEMO);
    Match& match = *game->match;
    for (auto _ : state) {
        Rewind(game);
        for (int i = 0; i < 2; ++i) game->computers[i]->Restart(1000 + i);
        std::chrono::duration<double> deciding{0};
        for (int frame = 0; frame < frames; ++frame) {
            Tick();
            system->clock->Update();
            const auto start = std::chrono::steady_clock::now();
            for (auto& computer : game->computers) computer->Update();
            deciding += std::chrono::steady_clock::now() - start;
            match.seqs[0]->Update();
            match.seqs[1]->Update();
            match.scene->Update();
            match.seqs[0]->CheckCollision();
            match.seqs[1]->CheckCollision();
        }
        state.SetIterationTime(deciding.count() / frames * FRAMES_PER_RUN);
    }
    game->players = Screen::TWO_PLAYERS;
    game->NewMatch();
    CountFrames(state);
}
BENCHMARK(BM_ComputerDecision)->UseManualTime()->Unit(benchmark::kMillisecond);

// With KORVANTHE_BENCH_SHOTS naming a folder, the middle frame of each
// resolution and shadow method is kept there as a PPM image, so that two
// builds' pictures can be compared pixel by pixel (ImageMagick's
// "compare -metric PAE" gives the largest difference).
void KeepFrame(Game* game, bool stencil, int width, int height) {
    const char* dir = std::getenv("KORVANTHE_BENCH_SHOTS");
    if (dir == nullptr || *dir == '\0') return;
    Rewind(game);
    for (int frame = 0; frame < FRAMES_PER_RUN / 2; ++frame) {
        Tick();
        Punch(game);
        game->RenderFrame();
    }
    // Read after the swap: the software renderer leaves the back buffer as drawn.
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const std::string path = std::string(dir) + "/" + (stencil ? "stencil-" : "planar-") +
                             std::to_string(width) + "x" + std::to_string(height) + ".ppm";
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    for (int y = height - 1; y >= 0; --y) {
        out.write(reinterpret_cast<const char*>(&rgb[static_cast<size_t>(y) * width * 3]), width * 3);
    }
}

void RenderFrames(benchmark::State& state, bool stencil) {
    Game* game = TheGame();
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    Size(width, height);
    game->match->scene->stencilShadows = stencil;
    KeepFrame(game, stencil, width, height);
    const double mainStart = ThreadCpuMs();
    for (auto _ : state) {
        Rewind(game);
        for (int frame = 0; frame < FRAMES_PER_RUN; ++frame) {
            Tick();
            Punch(game);
            game->RenderFrame();
        }
        glFinish();
    }
    CountFrames(state, ThreadCpuMs() - mainStart);
}

void Resolutions(benchmark::internal::Benchmark* b) {
    b->Args({800, 600})->Args({1024, 768})->Args({1280, 720});
    b->ArgNames({"w", "h"})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}

void BM_RenderFrameStencilShadows(benchmark::State& state) { RenderFrames(state, true); }
void BM_RenderFramePlanarShadows(benchmark::State& state) { RenderFrames(state, false); }
BENCHMARK(BM_RenderFrameStencilShadows)->Apply(Resolutions);
BENCHMARK(BM_RenderFramePlanarShadows)->Apply(Resolutions);

// A screen as the game shows it at 800x600, after the frames it takes to
// load what it shows (the fighter select's fighters, the arena's view).
void RenderScreen(benchmark::State& state, Screen* (*which)(Game&)) {
    Game* game = TheGame();
    game->match->Pause();
    game->Show(which(*game));
    for (int frame = 0; frame < 30; ++frame) {
        Tick();
        game->RenderFrame();
    }
    for (auto _ : state) {
        for (int frame = 0; frame < FRAMES_PER_RUN; ++frame) {
            Tick();
            game->RenderFrame();
        }
        glFinish();
    }
    CountFrames(state);
    game->showing = nullptr;
    game->match->Resume();
}

#define SCREEN_BENCHMARK(name, member)                                                      \
    BENCHMARK_CAPTURE(RenderScreen, name, [](Game& g) -> Screen* { return g.member.get(); }) \
        ->Unit(benchmark::kMillisecond)                                                     \
        ->MeasureProcessCPUTime()                                                           \
        ->UseRealTime()
SCREEN_BENCHMARK(Title, title);
SCREEN_BENCHMARK(FighterSelect, fighterSelect);
SCREEN_BENCHMARK(ArenaSelect, arenaSelect);
SCREEN_BENCHMARK(Options, optionsScreen);
SCREEN_BENCHMARK(Controls, controls);
SCREEN_BENCHMARK(Pause, pause);
SCREEN_BENCHMARK(Results, results);


}  // namespace

BENCHMARK_MAIN();
