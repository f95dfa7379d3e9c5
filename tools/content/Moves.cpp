#include "content/Moves.h"

#include <cmath>
#include <sstream>

#include "anim/Anim.h"
#include "anim/KeyFrame.h"

namespace content {

namespace {

// `a` moved by whole turns to lie within half a turn of `near`.
float Nearest(float a, float near) {
    const float turn = 2 * PI;
    while (a - near > PI) a -= turn;
    while (a - near < -PI) a += turn;
    return a;
}

void WriteNode(std::ostringstream& out, const Node& node, int depth) {
    out << std::string(2 * depth, ' ') << node.label << ' ';
    if (!node.link.empty()) {
        out << "@ " << node.link << '\n';
        return;
    }
    // Branch 1, the root: after reacting to a blow the opponent starts over
    // from its stance.
    out << node.move << ' ' << node.opp << " 1 " << node.flag << ' ' << node.state << '\n';
    bool closed = false;
    for (const Node& child : node.children) {
        WriteNode(out, child, depth + 1);
        closed = child.label == "*";
        if (closed) break;  // the reader stops at the default
    }
    if (!closed) WriteNode(out, Node::Link("*", "1/*"), depth + 1);
}

}  // namespace

Key& Key::Strike(const std::vector<int>& parts) {
    for (int p : parts) flags[p] |= STRIKES | TRAIL;
    return *this;
}

Key& Key::Trail(const std::vector<int>& parts) {
    for (int p : parts) flags[p] |= TRAIL;
    return *this;
}

float Move::Length() const {
    float sum = 0;
    for (const Key& k : keys) sum += k.time;
    return sum;
}

bool Move::Save(const std::string& dir) const {
    if (keys.empty()) return false;  // a move without keys would never end
    const int n = static_cast<int>(keys.size());
    const int bones = keys.empty() ? 0 : static_cast<int>(keys[0].pose.angles.size());
    Anim anim(0.0f, 0);
    anim.nbones = bones;
    anim.damage = damage;
    anim.flags.Create(n);
    anim.hasCameraPos.Create(n);
    anim.cameraPos.Create(n);
    anim.frames.Create(n);
    std::vector<Vector3> previous = keys[0].pose.angles;
    for (int i = 0; i < n; ++i) {
        const Key& key = keys[i];
        KeyFrame* frame = new KeyFrame(bones);
        anim.frames[i] = frame;
        frame->time = key.time;
        frame->hasPos = key.hasPos;
        frame->pos = key.pose.pos;
        frame->hasVel = key.vel.has_value();
        if (key.vel) frame->vel = *key.vel;
        frame->hasFacing = key.facing.has_value();
        if (key.facing) frame->facing = *key.facing;
        frame->hasSound = !key.sound.empty();
        frame->soundName = key.sound;
        for (int b = 0; b < bones; ++b) {
            const Vector3& a = key.pose.angles[b];
            Vector3 r(Nearest(a.x, previous[b].x), Nearest(a.y, previous[b].y),
                      Nearest(a.z, previous[b].z));
            previous[b] = r;
            frame->rot[b] = r;
            frame->boneFlags[b] = key.flags[b];
            if (key.flags[b] & TRAIL) anim.hasTracer = true;
        }
        anim.flags[i] = key.events;
    }
    anim.nframes = n;
    anim.UpdateTimes();
    return anim.Save(dir + file);
}

Node Attack(const std::string& label, const std::string& move, const std::string& opp,
            const std::string& state, const std::vector<Node>& followUps,
            const std::string& recovery, const std::string& flag) {
    Node n = Node::Record(label, move, flag, state, followUps);
    n.opp = opp;
    n.children.push_back(Node::Record("*", recovery, "INT", "-", followUps));
    return n;
}

std::string TreeText(const Node& root) {
    std::ostringstream out;
    WriteNode(out, root, 0);
    return out.str();
}

}  // namespace content
