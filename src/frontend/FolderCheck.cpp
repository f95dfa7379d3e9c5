#include "frontend/FolderCheck.h"

#include <SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <iostream>
#include <sstream>
#include <vector>

#include "character/Person.h"
#include "core/Display.h"
#include "core/System.h"
#include "match/GameSeq.h"
#include "math/Ptr.h"
#include "scene/Scene.h"

extern char** environ;

const char* FolderCheck::program = "/proc/self/exe";

namespace {

// The child's environment: the parent's, without its trace files (the
// child would write them afresh) and with the check to make.
std::vector<std::string> ChildEnvironment(const std::string& what) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.rfind("KORVANTHE_DEBUG=", 0) == 0 || entry.rfind("KORVANTHE_TIMEROUT=", 0) == 0 ||
            entry.rfind(std::string(FolderCheck::VARIABLE) + "=", 0) == 0)
            continue;
        env.push_back(entry);
    }
    env.push_back(std::string(FolderCheck::VARIABLE) + "=" + what);
    return env;
}

std::string LastLine(const std::string& text) {
    std::istringstream lines(text);
    std::string line, last;
    while (std::getline(lines, line)) {
        if (!line.empty()) last = line;
    }
    return last;
}

}  // namespace

FolderCheck::FolderCheck(const std::string& what) {
    int ends[2];
    if (::pipe(ends) != 0) {
        problem = "cannot start a check: " + std::string(std::strerror(errno));
        return;
    }
    std::vector<std::string> env = ChildEnvironment(what);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string name = program;
    char* argv[] = {name.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    const int failed = posix_spawn(&child, program, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (failed != 0) {
        close(ends[0]);
        child = -1;
        problem = "cannot start a check: " + std::string(std::strerror(failed));
        return;
    }
    pipe = ends[0];
    fcntl(pipe, F_SETFL, O_NONBLOCK);
    fcntl(pipe, F_SETFD, FD_CLOEXEC);
}

FolderCheck::~FolderCheck() {
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    if (pipe >= 0) close(pipe);
}

void FolderCheck::Read() {
    char buffer[4096];
    ssize_t n;
    while (pipe >= 0 && (n = read(pipe, buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<size_t>(n));
}

bool FolderCheck::Done() {
    if (child <= 0) return true;
    Read();
    int status = 0;
    if (waitpid(child, &status, WNOHANG) != child) return false;
    Ended(status);
    return true;
}

bool FolderCheck::Wait() {
    if (child > 0) {
        int status = 0;
        // Reads as it waits, so that a chatty child never blocks on a full pipe.
        while (waitpid(child, &status, WNOHANG) != child) {
            Read();
            usleep(2000);
        }
        Ended(status);
    }
    return ok;
}

void FolderCheck::Ended(int status) {
    child = -1;
    Read();
    close(pipe);
    pipe = -1;
    ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (ok) return;
    problem = LastLine(output);
    if (WIFSIGNALED(status)) {
        problem = std::string("it crashed the loader (") + strsignal(WTERMSIG(status)) + ")";
    } else if (problem.empty()) {
        problem = "it did not load (status " + std::to_string(WEXITSTATUS(status)) + ")";
    }
}

int FolderCheck::Run(const std::string& what) {
    std::istringstream words(what);
    std::string kind, name, opponent;
    words >> kind >> name >> opponent;
    // The devices named in controllers.txt must be found as in the game.
    SDL_Init(SDL_INIT_JOYSTICK);
    System* system = System::instance();
    system->display = new Display();  // registries only: no window, so no GL context
    // Loaded as a match loads them, and let go again: a reader that ends the
    // process on bad data does so before, with its own status.
    if (kind == "fighter" && !name.empty()) {
        const Ptr<Person> self(new Person(name, 1));
        const Ptr<Person> other(new Person(opponent.empty() ? name : opponent, 1));
        GameSeq first(self, other, nullptr, 0, nullptr);
        GameSeq second(other, self, nullptr, 1, nullptr);
        return 0;
    }
    if (kind == "arena" && !name.empty()) {
        const std::unique_ptr<Scene> scene = std::make_unique<Scene>(name);
        if (scene->arenaSize > 0) return 0;
        std::cerr << "scenes/" << name << "/scene.sdf: expected the size of the floor, found none" << std::endl;
        return 1;
    }
    std::cerr << VARIABLE << ": expected 'fighter NAME [OPPONENT]' or 'arena NAME', found '" << what << "'"
              << std::endl;
    return 2;
}
