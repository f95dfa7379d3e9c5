#include "anim/MoveTree.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "anim/Anim.h"
#include "anim/MTNode.h"
#include "character/Person.h"
#include "core/DataProblems.h"
#include "core/Trace.h"
#include "core/WordReader.h"
#include "frontend/Sound.h"

namespace {

// Links that lead to links may go round in a circle; after this many jumps
// the search gives up and the fighter stays where it was.
const int MAX_LINK_HOPS = 16;

// Each level of moves is read by a call of its own. A real fighter has a
// handful; a file nested thousands deep would exhaust the stack.
const int MAX_DEPTH = 200;

// Ends the program over a tree it cannot use: the old trace message, and on
// standard error the file, the line and what was expected against what was found.
[[noreturn]] void Reject(const std::string& message, const std::string& where) {
    debug << message << std::endl;
    DataProblems::Abandon(where, -1);
}

[[noreturn]] void Reject(const WordReader& reader, const std::string& message) {
    Reject(message, reader.problem());
}

std::string Found(const std::string& word) {
    return word.empty() ? "the end of the file" : "'" + word + "'";
}

// A word for a field of at most maxLength characters. A longer one is not cut:
// a cut label or path would quietly name another move.
std::string Field(WordReader& reader, const std::string& what, size_t maxLength) {
    std::string word;
    if (!reader.Word(word)) {
        reader.Fail("expected " + what + ", found the end of the file");
        Reject(reader, "ERROR: movetree ends early");
    }
    if (word.size() > maxLength) {
        reader.Fail("expected " + what + " of at most " + std::to_string(maxLength) +
                    " characters, found '" + word + "'");
        Reject(reader, "ERROR: word too long in movetree");
    }
    return word;
}

template <size_t N>
void Store(char (&field)[N], const std::string& text) {
    const size_t length = text.size() < N ? text.size() : N - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

struct FlagName {
    const char* word;
    int flag;
};
const FlagName FLAGS[] = {{"INT", MTNode::INT},
                          {"ARB", MTNode::ARB},
                          {"THROW", MTNode::THROW},
                          {"CEN", MTNode::CEN},
                          {"SPIN", MTNode::SPIN}};

int StateBit(char letter) {
    switch (letter) {
        case 'G': return MTNode::G;
        case 'T': return MTNode::T;
        case 'K': return MTNode::K;
        case 'P': return MTNode::P;
        case 'J': return MTNode::J;
        case 'D': return MTNode::D;
        default: return 0;
    }
}

}  // namespace

struct MoveTree::TreeFile {
    WordReader& reader;
    const std::string& selfDir;
    int selfBones;
    const std::string& oppDir;
    int oppBones;
};

MoveTree::MoveTree(const std::string& selfDir, int selfBones, const std::string& oppDir,
                   int oppBones) {
    const Sound::Batch sounds;  // the moves' sounds are read once each
    WordReader reader(selfDir + "/movetree.txt");
    if (!reader.isOpen()) {
        const std::string name = selfDir.substr(selfDir.find_last_of('/') + 1);
        Reject("No Movetree for " + name, reader.name() + ": file not found");
    }
    TreeFile file{reader, selfDir, selfBones, oppDir, oppBones};
    try {
        guardHit = new Anim(selfDir, "1_ghit.kaf", selfBones);
        guardHitLow = new Anim(selfDir, "1d_ghit.kaf", selfBones);

        auto root = std::make_unique<MTNode>();
        Store(root->label, Field(reader, "a label", MTNode::MAX_LABEL));
        const std::string move = Field(reader, "a move file name", MTNode::MAX_MOVE_NAME);
        root->move = new Anim(selfDir, move, selfBones);
        Store(root->moveName, move);
        ReadRecordTail(file, root.get(), true);
        MTHelper(file, root.get(), 1);
        debug << *root;
        current = root.get();
        nodes.Add(root.release());
    } catch (const DataProblems::Abandoned&) {
        Release();  // no destructor runs for a half-read tree
        throw;
    }
}

MoveTree::MoveTree(const Person* self, const Person* opponent)
    : MoveTree("characters/" + self->name, self->nbones, "characters/" + opponent->name,
               opponent->nbones) {}

MoveTree::~MoveTree() { Release(); }

void MoveTree::Release() {
    for (int i = 0; i < nodes.count; ++i) delete nodes[i];
    nodes.count = 0;
    delete guardHit;
    delete guardHitLow;
    guardHit = guardHitLow = nullptr;
}

void MoveTree::MTHelper(TreeFile& file, MTNode* parent, int depth) {
    WordReader& reader = file.reader;
    if (depth > MAX_DEPTH) {
        reader.Fail("expected moves nested at most " + std::to_string(MAX_DEPTH) +
                    " deep, found more");
        Reject(reader, "ERROR: movetree nested too deep");
    }
    for (;;) {
        if (reader.atEnd()) {
            reader.Fail("expected a label, found the end of the file (every list of moves ends "
                        "with a '*' record)");
            Reject(reader, "ERROR: movetree ends inside a list of moves");
        }
        // Owned here until it joins its parent, which then releases it.
        auto node = std::make_unique<MTNode>();
        Store(node->label, Field(reader, "a label", MTNode::MAX_LABEL));
        const std::string word = Field(reader, "a move file name or '@'", MTNode::MAX_MOVE_NAME);
        if (word == "@") {
            node->isLink = true;
            Store(node->linkto, Field(reader, "a link path", MTNode::MAX_LINK));
        } else {
            debug << "-=1" << std::endl;
            node->move = new Anim(file.selfDir, word, file.selfBones);
            debug << "-=1.5" << std::endl;
            Store(node->moveName, word);
            debug << "-=2" << std::endl;
            ReadRecordTail(file, node.get(), false);
            MTHelper(file, node.get(), depth + 1);
        }
        debug << *node;
        const bool closes = std::strcmp(node->label, "*") == 0;
        parent->children.Add(node.release());
        // The "*" record is the default and closes the list.
        if (closes) return;
    }
}

void MoveTree::ReadRecordTail(TreeFile& file, MTNode* node, bool root) {
    WordReader& reader = file.reader;
    const std::string opponent =
        Field(reader, "an opponent move file name or '-'", MTNode::MAX_MOVE_NAME);
    if (opponent != "-") node->oppmove = new Anim(file.oppDir, opponent, file.oppBones);

    // The branch is kept as its digit alone: "02" or "+2" reads as 2 and must
    // still name top-level node 2 where the digit is looked up.
    std::string word;
    reader.Word(word);
    const long number = word.size() < sizeof node->branch ? std::strtol(word.c_str(), nullptr, 10) : 0;
    if (number < 1 || number > 4) {
        reader.Fail("expected a branch of 1 to 4, found " + Found(word));
        Reject(reader, "ERROR: expecting 1,2,3,4 for branch in movetree");
    }
    node->branch[0] = static_cast<char>('0' + number);
    node->branch[1] = '\0';

    reader.Word(word);
    for (const FlagName& name : FLAGS) {
        if (word == name.word) node->flag = name.flag;
    }
    if (node->flag == 0) {
        reader.Fail("expected INT, ARB, THROW, CEN or SPIN, found " + Found(word));
        Reject(reader, root ? "UNKNOWN FLAG" : "ERROR: UNKNOWN FLAG");
    }

    for (char letter : Field(reader, "a state word", 255)) {
        if (letter == '-') continue;
        const int bit = StateBit(letter);
        if (bit == 0) {
            debug << "ERROR: Unknown state '" << letter << "' in movetree." << std::endl;
            debug << reader.name() << ':' << reader.line() << ": state letter skipped" << std::endl;
        }
        node->state |= bit;
    }
}

MTNode* MoveTree::FindNext(const char* command) {
    MTNode* from = current;
    const MTNode* reached = Next(command != nullptr ? command : "", 0);
    // A node without a move of its own must never be played.
    if (reached == nullptr || reached->isLink) {
        debug << "ERROR: link in movetree leads to no move; staying at '" << from->label << "'"
              << std::endl;
        current = from;
    }
    return current;
}

MTNode* MoveTree::Peek(MTNode* from, const char* command) {
    MTNode* const kept = current;
    current = from;
    MTNode* const chosen = FindNext(command);
    current = kept;
    return chosen;
}

// The search itself; null when a link leads nowhere.
MTNode* MoveTree::Next(const char* command, int hops) {
    debug << "command: " << command << std::endl;
    MTNode* chosen = nullptr;
    for (int i = 0; i < current->children.count && chosen == nullptr; ++i) {
        MTNode* child = current->children[i];
        // An empty command picks only the default.
        if (child->label[0] == '*' || (command[0] != '\0' && child->Matches(command))) {
            chosen = child;
        }
    }
    if (chosen == nullptr) {
        debug << "INTERNAL ERROR in MoveTree::FindNext() -- didn't match!" << std::endl;
        return current;
    }
    current = chosen;
    return current->isLink ? Follow(current, command, hops) : current;
}

MTNode* MoveTree::Follow(const MTNode* link, const char* command, int hops) {
    if (hops >= MAX_LINK_HOPS) {
        debug << "ERROR: links in movetree go round in a circle at '" << link->linkto << "'"
              << std::endl;
        return nullptr;
    }
    MTNode* top = TopLevel(link->linkto[0]);
    if (top == nullptr) {
        debug << "ERROR: link '" << link->linkto << "' names no node of the movetree" << std::endl;
        return nullptr;
    }
    current = top;
    for (const char* slash = std::strchr(link->linkto, '/'); slash != nullptr;) {
        const char* segment = slash + 1;
        slash = std::strchr(segment, '/');
        const std::string letters(segment, slash != nullptr ? slash - segment : std::strlen(segment));
        // "*" matches the command itself again from the node reached.
        if (letters[0] == '*') return Next(command, hops + 1);
        MTNode* found = nullptr;
        for (int i = 0; i < current->children.count && found == nullptr; ++i) {
            if (current->children[i]->Matches(letters.c_str())) found = current->children[i];
        }
        if (found == nullptr) {
            debug << "INTERNAL ERROR in finding link -- didn't match!" << std::endl;
        } else {
            current = found;
        }
    }
    return current->isLink ? Follow(current, command, hops + 1) : current;
}

MTNode* MoveTree::TopLevel(char digit) {
    const int index = digit - '1';
    return index >= 0 && index < nodes.count ? nodes[index] : nullptr;
}

MTNode* MoveTree::GoToBranch(const char* branch) {
    if (branch == nullptr) {
        debug << "ERROR: branch was NULL in MoveTree::GoToBranch()" << std::endl;
        return current;
    }
    MTNode* top = TopLevel(branch[0]);
    if (top == nullptr) {
        debug << "ERROR: branch '" << branch << "' names no node of the movetree; staying"
              << std::endl;
        return current;
    }
    current = top;
    return current;
}

MTNode* MoveTree::FindFall() {
    if (nodes.count < 2 || nodes[1]->children.count == 0) {
        debug << "ERROR: the movetree has no second top-level node to fall to; staying"
              << std::endl;
        return current;
    }
    current = nodes[1]->children[0];
    return current;
}
