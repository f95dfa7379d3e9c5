// How long a player waits, measured on the game as a whole process started
// in the bench's data folder (KORVANTHE_BENCH_DATA): from launch to the
// menu's first frame on the screen, and from the arena select's last choice
// to the match's first frame. The game says when its frames are done on its
// timer stream; the choices are made with the keys, as a player would.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

const char* const GAME = KORVANTHE_BINARY;
const char* const MENU_SHOWN = "launch to first menu frame: ";
const char* const MATCH_SHOWN = "start to first match frame: ";

// Two players, as a player starts a match: the main menu opens on its first
// entry, so Down reaches "two players"; Return then picks both fighters and
// the arena. The match starts with the last Return.
const char* const CHOOSE_START =
    "for key in Down Return Return Return Return; do xdotool keydown $key; sleep 0.15; "
    "xdotool keyup $key; sleep 0.5; done";

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

class Launch {
public:
    // Starts the game in the data folder, its timer stream on a pipe and its
    // player's files in an empty config folder of its own.
    explicit Launch(const std::string& data) {
        int ends[2];
        if (pipe(ends) != 0) return;
        pid = fork();
        if (pid == 0) {
            close(ends[0]);
            dup2(ends[1], STDOUT_FILENO);
            if (chdir(data.c_str()) != 0) _exit(127);
            setenv("KORVANTHE_TIMEROUT", "/dev/stdout", 1);
            setenv("XDG_CONFIG_HOME", "/nonexistent/korvanthe-bench", 1);
            execl(GAME, GAME, static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ends[1]);
        timings = fdopen(ends[0], "r");
    }
    ~Launch() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        if (timings != nullptr) fclose(timings);
    }
    Launch(const Launch&) = delete;
    Launch& operator=(const Launch&) = delete;

    // The number on the first timer line that starts with `label`; -1 when
    // the game ends first.
    double WaitFor(const char* label) {
        char line[512];
        const size_t length = std::strlen(label);
        while (timings != nullptr && std::fgets(line, sizeof line, timings) != nullptr) {
            if (std::strncmp(line, label, length) == 0) return std::atof(line + length);
        }
        return -1;
    }

private:
    pid_t pid = -1;
    FILE* timings = nullptr;
};

std::string Data() {
    const char* data = std::getenv("KORVANTHE_BENCH_DATA");
    return data != nullptr ? data : "";
}

void BM_LaunchToMenu(benchmark::State& state) {
    if (Data().empty()) state.SkipWithError("KORVANTHE_BENCH_DATA names no data folder");
    for (auto _ : state) {
        const double start = NowMs();
        Launch game(Data());
        if (game.WaitFor(MENU_SHOWN) < 0) {
            state.SkipWithError("the game showed no menu");
            break;
        }
        state.SetIterationTime((NowMs() - start) / 1000);
    }
}

void BM_StartToMatch(benchmark::State& state) {
    if (Data().empty()) state.SkipWithError("KORVANTHE_BENCH_DATA names no data folder");
    for (auto _ : state) {
        Launch game(Data());
        if (game.WaitFor(MENU_SHOWN) < 0 || std::system(CHOOSE_START) != 0) {
            state.SkipWithError("the game showed no menu to choose from");
            break;
        }
        const double ms = game.WaitFor(MATCH_SHOWN);
        if (ms < 0) {
            state.SkipWithError("the match never showed");
            break;
        }
        state.SetIterationTime(ms / 1000);
    }
}

BENCHMARK(BM_LaunchToMenu)->UseManualTime()->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartToMatch)->UseManualTime()->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

}  // namespace
