#include "replay/Recorder.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/Clock.h"
#include "core/Trace.h"
#include "core/UserDirs.h"

namespace fs = std::filesystem;

namespace {
const char* const PREFIX = "replay-";
const char* const SUFFIX = ".txt";

// The replays of the folder, oldest first: their names carry the time.
std::vector<fs::path> Replays(const std::string& folder) {
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(PREFIX, 0) == 0 && entry.path().extension() == SUFFIX) {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}
}  // namespace

void Recorder::Begin(const Replay& header) {
    record = header;
    record.frames.clear();
    record.checks.clear();
    active = true;
    lastTime = header.startTime;
    nextCheck = Replay::CHECK_MS;
}

void Recorder::Frame(const Clock& clock, int input0, int input1, const GameSeq& s0,
                     const GameSeq& s1) {
    if (!active) return;
    if (record.frames.size() >= static_cast<size_t>(Replay::MAX_FRAMES) || clock.delta < 0 ||
        clock.delta > Replay::MAX_FRAME_MS) {
        debug << "replay: the match is longer than a replay holds; the rest is not kept"
              << std::endl;
        active = false;
        return;
    }
    Replay::Frame f;
    f.realMs = clock.delta;
    f.gameMs = clock.time - lastTime;
    f.mode = clock.mode;
    f.input[0] = input0;
    f.input[1] = input1;
    lastTime = clock.time;
    record.frames.push_back(f);
    if (clock.time - record.startTime >= nextCheck) {
        const int frame = static_cast<int>(record.frames.size()) - 1;
        record.checks.push_back(Replay::Check::Take(frame, clock.time, s0, s1));
        nextCheck = (clock.time - record.startTime) / Replay::CHECK_MS * Replay::CHECK_MS +
                    Replay::CHECK_MS;
    }
}

std::string Recorder::End() {
    active = false;
    if (record.frames.empty()) return "";
    const std::string path = Keep(record);
    record.frames.clear();
    record.checks.clear();
    return path;
}

std::string Recorder::Keep(const Replay& replay) {
    const std::string folder = Folder();
    if (folder.empty() || !UserDirs::Make(folder)) return "";
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", std::localtime(&now));
    const std::string name = PREFIX + std::string(stamp);
    std::string path = folder + "/" + name + SUFFIX;
    // Matches ended within the same second are numbered in their order, after
    // any of that second already kept, even one since let go.
    const std::vector<fs::path> kept = Replays(folder);
    const std::string newest = kept.empty() ? "" : kept.back().filename().string();
    const auto taken = [&](const std::string& p) {
        return fs::exists(p) ||
               (newest.rfind(name, 0) == 0 && fs::path(p).filename().string() <= newest);
    };
    for (int n = 2; taken(path); ++n) {
        char count[16];
        std::snprintf(count, sizeof count, "_%03d", n);
        path = folder + "/" + PREFIX + stamp + count + SUFFIX;
    }
    if (!replay.Save(path)) return "";
    debug << "replay saved: " << path << std::endl;
    Prune(folder);
    return path;
}

std::string Recorder::Folder() {
    const std::string data = UserDirs::Data();
    return data.empty() ? "" : data + "/replays";
}

std::string Recorder::Latest() {
    const std::vector<fs::path> found = Replays(Folder());
    return found.empty() ? "" : found.back().string();
}

std::vector<std::string> Recorder::Kept() {
    const std::vector<fs::path> found = Replays(Folder());
    std::vector<std::string> newestFirst;
    for (auto at = found.rbegin(); at != found.rend(); ++at) newestFirst.push_back(at->string());
    return newestFirst;
}

void Recorder::Prune(const std::string& folder) {
    const std::vector<fs::path> found = Replays(folder);
    std::error_code error;
    for (size_t i = 0; i + KEPT < found.size(); ++i) fs::remove(found[i], error);
}
