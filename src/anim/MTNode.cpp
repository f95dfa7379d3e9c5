#include "anim/MTNode.h"

#include <cstring>
#include <ostream>

#include "anim/Anim.h"

int moveid = 0;

MTNode::MTNode() : id(moveid++) {}

MTNode::~MTNode() {
    for (int i = 0; i < children.count; ++i) delete children[i];
    delete move;
    delete oppmove;
}

bool MTNode::Matches(const char* command) const {
    if (command == nullptr) command = "";
    for (const char* letter = label; *letter != '\0'; ++letter) {
        if (std::strchr(command, *letter) == nullptr) return false;
    }
    return true;
}

std::ostream& operator<<(std::ostream& out, const MTNode& node) {
    out << "MoveTreeNode:\n";
    out << "label  : " << node.label << '\n';
    if (node.isLink) {
        out << "linkto : " << node.linkto << '\n';
    } else {
        out << "move   : " << (node.move != nullptr ? node.move->name : "-") << '\n';
        out << "oppmove: " << (node.oppmove != nullptr ? node.oppmove->name : "-") << '\n';
        out << "flag   : " << node.flag << '\n';
        out << "state  : " << node.state << '\n';
    }
    return out << "num children: " << node.children.count << std::endl;
}
