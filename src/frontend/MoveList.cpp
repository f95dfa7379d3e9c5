#include "frontend/MoveList.h"

#include <cctype>
#include <cstring>

#include "anim/MTNode.h"
#include "core/Trace.h"
#include "core/WordReader.h"

namespace {

const int DEEPEST = 3;  // steps of a combination listed from the tree

// "p,p,k" as "P P K"; "roundhouse_kick" as "ROUNDHOUSE KICK".
std::string Shown(const std::string& word, char separator) {
    std::string out;
    for (char c : word) out += c == separator ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// A move's animation file without its folder's habits: "lyse_roundhouse.kaf"
// of lyse reads "ROUNDHOUSE".
std::string NameOfFile(const std::string& fighter, std::string file) {
    if (file.size() > 4 && file.compare(file.size() - 4, 4, ".kaf") == 0) file.resize(file.size() - 4);
    if (file.rfind(fighter + "_", 0) == 0) file.erase(0, fighter.size() + 1);
    return Shown(file, '_');
}

void Walk(const std::string& fighter, const MTNode* node, const std::string& path, int depth,
          std::vector<MoveList::Move>& out) {
    if (depth > DEEPEST) return;
    for (int i = 0; i < node->children.count; ++i) {
        const MTNode* child = node->children[i];
        if (child->isLink || std::strcmp(child->label, "*") == 0) continue;
        const std::string step = Shown(child->label, '\0');
        const std::string command = path.empty() ? step : path + " " + step;
        out.push_back({command, NameOfFile(fighter, child->moveName)});
        Walk(fighter, child, command, depth + 1, out);
    }
}

}  // namespace

std::vector<MoveList::Move> MoveList::Of(const std::string& fighter, const MTNode* root) {
    std::vector<Move> moves;
    WordReader names("characters/" + fighter + "/moves.txt");
    if (names.isOpen()) {
        std::string command, name;
        while (names.Word(command)) {
            if (!names.Word(name)) {
                debug << names.name() << ':' << names.line() << ": expected the name of '" << command
                      << "', found the end of the file" << std::endl;
                break;
            }
            moves.push_back({Shown(command, ','), Shown(name, '_')});
        }
        return moves;
    }
    if (root != nullptr) Walk(fighter, root, "", 1, moves);
    return moves;
}
