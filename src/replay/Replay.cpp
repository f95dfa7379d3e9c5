#include "replay/Replay.h"

#include <cmath>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "anim/MTNode.h"
#include "character/Person.h"
#include "core/Trace.h"
#include "input/Controller.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"

namespace {

void WriteInput(std::ostream& out, int bits) {
    char letters[11];
    Controller::Letters(bits, letters);
    out << (letters[0] == '\0' ? "-" : letters);
}

std::string Place(const Vector3& p) {
    std::ostringstream out;
    out << std::setprecision(9) << '(' << p.x << ", " << p.y << ", " << p.z << ')';
    return out.str();
}

bool Near(const Vector3& a, const Vector3& b) {
    return std::fabs(a.x - b.x) <= Replay::PLACE_TOLERANCE &&
           std::fabs(a.y - b.y) <= Replay::PLACE_TOLERANCE &&
           std::fabs(a.z - b.z) <= Replay::PLACE_TOLERANCE;
}

}  // namespace

bool Replay::Frame::operator==(const Frame& o) const {
    return realMs == o.realMs && gameMs == o.gameMs && mode == o.mode &&
           input[0] == o.input[0] && input[1] == o.input[1];
}

Replay::Check Replay::Check::Take(int frame, int time, const GameSeq& s0, const GameSeq& s1) {
    Check c;
    c.frame = frame;
    c.time = time;
    const GameSeq* seqs[2] = {&s0, &s1};
    for (int i = 0; i < 2; ++i) {
        c.place[i] = seqs[i]->person->position;
        c.life[i] = seqs[i]->lifeBar->value;
        const MTNode* node = seqs[i]->curNode;
        c.move[i] = node != nullptr && node->moveName[0] != '\0' ? node->moveName : "-";
    }
    return c;
}

std::string Replay::Check::Differs(const Check& now) const {
    std::ostringstream out;
    if (now.time != time) {
        out << "the game time is " << now.time << " ms, recorded " << time << " ms";
        return out.str();
    }
    for (int i = 0; i < 2; ++i) {
        const char* who = i == 0 ? "fighter 1" : "fighter 2";
        if (!Near(now.place[i], place[i])) {
            out << who << " stands at " << Place(now.place[i]) << ", recorded " << Place(place[i]);
        } else if (now.life[i] != life[i]) {
            out << who << " has " << now.life[i] << " life, recorded " << life[i];
        } else if (now.move[i] != move[i]) {
            out << who << " plays " << now.move[i] << ", recorded " << move[i];
        } else {
            continue;
        }
        return out.str();
    }
    return "";
}

void Replay::Write(std::ostream& out) const {
    out << MAGIC << ' ' << VERSION << '\n'
        << "arena " << arena << '\n'
        << "fighters " << fighters[0] << ' ' << fighters[1] << '\n'
        << "players " << players[0] << ' ' << players[1] << '\n'
        << "skill " << skill << '\n'
        << "rounds " << rounds << " timer " << timer << '\n'
        << "seeds " << effectsSeed << ' ' << computerSeed[0] << ' ' << computerSeed[1] << '\n'
        << "start " << startTime << '\n'
        << "frames " << frames.size() << '\n';
    for (const Frame& f : frames) {
        out << f.realMs << ' ' << f.gameMs << ' ' << f.mode << ' ';
        WriteInput(out, f.input[0]);
        out << ' ';
        WriteInput(out, f.input[1]);
        out << '\n';
    }
    out << "checks " << checks.size() << '\n' << std::setprecision(9);
    for (const Check& c : checks) {
        out << c.frame << ' ' << c.time;
        for (int i = 0; i < 2; ++i) {
            out << ' ' << c.place[i].x << ' ' << c.place[i].y << ' ' << c.place[i].z << ' '
                << c.life[i] << ' ' << c.move[i];
        }
        out << '\n';
    }
    out << "end\n";
}

bool Replay::Save(const std::string& path) const {
    std::ofstream out(path);
    if (out) Write(out);
    out.close();
    if (!out) {
        debug << path << ": the replay could not be written" << std::endl;
        return false;
    }
    return true;
}
