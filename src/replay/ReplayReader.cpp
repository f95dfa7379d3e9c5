#include "replay/ReplayReader.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>

#include "input/Controller.h"
#include "replay/Replay.h"

namespace {
const size_t MAX_NAME = 100;  // a folder name under characters/ or scenes/
const char* const LETTERS = "faudpkgtio";
}  // namespace

ReplayReader::ReplayReader(const std::string& path) : in(path) {
    if (!in.isOpen()) unopened = path + ": cannot be opened";
}

ReplayReader::ReplayReader(std::istream& stream, const std::string& name) : in(stream, name) {}

const std::string& ReplayReader::problem() const {
    return unopened.empty() ? in.problem() : unopened;
}

bool ReplayReader::Read(Replay& replay) {
    if (!in.isOpen()) return false;
    replay = Replay();
    if (!Header(replay) || !Frames(replay) || !Checks(replay) || !in.Expect("end")) return false;
    if (!in.atEnd()) {
        in.Fail("expected nothing after 'end'");
        return false;
    }
    return true;
}

bool ReplayReader::Header(Replay& replay) {
    int version = 0;
    if (!in.Expect(Replay::MAGIC) || !in.Int(version)) return false;
    if (version != Replay::VERSION) {
        in.Fail("expected version " + std::to_string(Replay::VERSION) + ", found " +
                std::to_string(version) + ": the replay was made by another version of the game");
        return false;
    }
    if (!in.Expect("arena") || !Name(replay.arena, "an arena") ||
        !Installed("scenes", replay.arena) || !in.Expect("fighters")) {
        return false;
    }
    for (std::string& fighter : replay.fighters) {
        if (!Name(fighter, "a fighter") || !Installed("characters", fighter)) return false;
    }
    if (!in.Expect("players")) return false;
    for (std::string& kind : replay.players) {
        in.Word(kind, MAX_NAME);
        if (kind != "keyboard" && kind != "joystick" && kind != "cpu") {
            in.Fail("expected 'keyboard', 'joystick' or 'cpu', found '" + kind + "'");
            return false;
        }
    }
    std::uint64_t effects = 0;
    const std::uint64_t any = std::numeric_limits<std::uint64_t>::max();
    if (!in.Expect("skill") || !Ranged(replay.skill, 0, 100) || !in.Expect("rounds") ||
        !Ranged(replay.rounds, 1, 9) || !in.Expect("timer") || !Ranged(replay.timer, 0, 999) ||
        !in.Expect("seeds") ||
        !Seed(effects, std::numeric_limits<std::uint32_t>::max()) ||
        !Seed(replay.computerSeed[0], any) || !Seed(replay.computerSeed[1], any)) {
        return false;
    }
    replay.effectsSeed = static_cast<std::uint32_t>(effects);
    // Far enough from the ends that a match of the longest length cannot overflow.
    return in.Expect("start") && Ranged(replay.startTime, -1000000000, 1000000000);
}

bool ReplayReader::Name(std::string& out, const char* what) {
    in.Word(out, MAX_NAME + 1);
    // A name is a folder of the data, never a way out of it.
    if (out.empty() || out.size() > MAX_NAME || out[0] == '.' ||
        out.find_first_of("/\\") != std::string::npos) {
        in.Fail(std::string("expected ") + what + "'s folder name, found '" + out + "'");
        return false;
    }
    return true;
}

bool ReplayReader::Installed(const std::string& folder, const std::string& name) {
    if (std::filesystem::is_directory(folder + "/" + name)) return true;
    in.Fail("expected an installed " + std::string(folder == "scenes" ? "arena" : "fighter") +
            ", found '" + name + "', which is not in " + folder + "/");
    return false;
}

bool ReplayReader::Ranged(int& out, int least, int most) {
    if (!in.Int(out)) return false;
    if (out >= least && out <= most) return true;
    in.Fail("expected a number from " + std::to_string(least) + " to " + std::to_string(most) +
            ", found " + std::to_string(out));
    return false;
}

bool ReplayReader::Count(int& out, const char* what, int most) {
    return in.Expect(what) && Ranged(out, 0, most);
}

bool ReplayReader::Seed(std::uint64_t& out, std::uint64_t most) {
    std::string word;
    in.Word(word, 40);
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(word.c_str(), &end, 10);
    if (word.empty() || word[0] == '-' || *end != '\0' || errno == ERANGE || value > most) {
        in.Fail("expected a seed from 0 to " + std::to_string(most) + ", found '" + word + "'");
        return false;
    }
    out = value;
    return true;
}

bool ReplayReader::Input(int& bits) {
    std::string word;
    in.Word(word, 20);
    bits = 0;
    if (word == "-") return true;
    // The letters in their fixed order, each at most once.
    size_t from = 0;
    for (const char c : word) {
        const char* at = std::strchr(LETTERS + from, c);
        if (c == '\0' || at == nullptr) {
            bits = -1;
            break;
        }
        from = static_cast<size_t>(at - LETTERS) + 1;
        bits |= Controller::Bit(c);
    }
    if (!word.empty() && bits > 0) return true;
    in.Fail("expected command letters in the order f a u d p k g t i o, or '-', found '" + word +
            "'");
    return false;
}

bool ReplayReader::Frames(Replay& replay) {
    int count = 0;
    if (!Count(count, "frames", Replay::MAX_FRAMES)) return false;
    replay.frames.resize(static_cast<size_t>(count));
    for (Replay::Frame& f : replay.frames) {
        if (!Ranged(f.realMs, 0, Replay::MAX_FRAME_MS) || !Ranged(f.gameMs, -f.realMs - Replay::MAX_CARRY_MS, f.realMs + Replay::MAX_CARRY_MS) ||
            !Ranged(f.mode, -1, 1) || !Input(f.input[0]) || !Input(f.input[1])) {
            return false;
        }
    }
    return true;
}

bool ReplayReader::Checks(Replay& replay) {
    int count = 0;
    const int frames = static_cast<int>(replay.frames.size());
    if (!Count(count, "checks", frames)) return false;
    replay.checks.resize(static_cast<size_t>(count));
    int after = -1;
    for (Replay::Check& c : replay.checks) {
        // In the order they were taken, each after a frame of the file.
        if (!Ranged(c.frame, after + 1, frames - 1) || !in.Int(c.time)) return false;
        after = c.frame;
        for (int i = 0; i < 2; ++i) {
            if (!in.Vector(c.place[i]) || !Ranged(c.life[i], 0, 100) ||
                !in.Word(c.move[i], 100)) {
                if (c.move[i].empty()) in.Fail("expected a move's name, found the end of the file");
                return false;
            }
        }
    }
    return true;
}
