// Training against the dummy on the default fighters, headless: what each of
// the dummy's behaviours lets through, and the figures the player reads.
#include "training/Training.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "anim/MTNode.h"
#include "support/Attacker.h"
#include "support/ContentMatch.h"
#include "training/Dummy.h"

namespace {

const int FRAME_MS = 16;

// Punches every tenth of a second wherever the opponent is.
class Presser : public Controller {
public:
    explicit Presser(int player) : Controller(player) {}

protected:
    int Sample() const override { return System::instance()->clock->time % 100 < 16 ? CMD_P : 0; }
};

class TrainingTest : public ContentMatchTest {
protected:
    // Player 1 attacks high and low, the dummy plays player 2.
    void Start(Dummy::Behaviour b, bool swap = false) {
        match->Start(nullptr, nullptr, match->names[swap ? 1 : 0], match->names[swap ? 0 : 1]);
        attacker = std::make_unique<Attacker>(0, *match->seq[0], *match->seq[1]);
        dummy = std::make_unique<Dummy>(1, *match->seq[1], *match->seq[0], 9);
        dummy->SetBehaviour(b);
        match->controller[0] = match->seq[0]->controller = attacker.get();
        match->controller[1] = match->seq[1]->controller = dummy.get();
    }

    std::unique_ptr<Attacker> attacker;
    std::unique_ptr<Dummy> dummy;
};

TEST_F(TrainingTest, EachBehaviourAgainstHighAndLowBlows) {
    const struct {
        Dummy::Behaviour behaviour;
        int leastHits, mostHits;
        bool guards;
        int state;  // a move-tree state it keeps most of the time, or 0
    } cases[] = {
        {Dummy::STAND, 4, 99, false, 0},
        {Dummy::GUARD_ALL, 0, 0, true, 0},
        {Dummy::GUARD_AFTER_HIT, 1, 1, true, 0},
        {Dummy::GUARD_RANDOM, 1, 7, true, 0},
        {Dummy::CROUCH, 0, 99, false, MTNode::D},
        {Dummy::JUMP, 0, 99, false, MTNode::J},
        {Dummy::PLAYBACK, 0, 99, false, MTNode::D},  // a recording of holding down
    };
    for (const auto& c : cases) {
        Start(c.behaviour);
        dummy->Keep({{0, Controller::CMD_D}, {4000, Controller::CMD_D}});
        int inState = 0, frames = 0;
        for (int t = 0; t < 10000; t += FRAME_MS, ++frames) {
            match->Frame(FRAME_MS);
            if ((match->seq[1]->curNode->state & c.state) != 0) ++inState;
        }
        const char* name = Dummy::Name(c.behaviour);
        EXPECT_GE(match->hits[1], c.leastHits) << name;
        EXPECT_LE(match->hits[1], c.mostHits) << name;
        EXPECT_EQ(match->guarded[1] > 0, c.guards) << name;
        EXPECT_TRUE(c.state == 0 || inState > frames / 2) << name;
    }
}

TEST_F(TrainingTest, FiguresAddUpToTheLifeLostAndLivesFillAgainOnceBlowsStop) {
    // Lyse's quick jabs, one on the other, make combos.
    Start(Dummy::STAND, true);
    Presser presser(0);
    match->controller[0] = match->seq[0]->controller = &presser;
    match->Place(0, 20);
    match->Place(1, -20);
    Training training(*match->seq[0], *match->seq[1]);
    training.Begin(0);
    int lost = 0, counted = 0, longest = 0;
    int life = 100;
    Training::Blows before;
    for (int t = 0; t < 8000; t += FRAME_MS) {
        match->Frame(FRAME_MS);
        const int now = match->seq[1]->lifeBar->value;
        lost += std::max(life - now, 0);
        training.Frame(match->time, presser.sampled, dummy->sampled);
        const Training::Blows& b = training.blows[1];
        if (b.hits != before.hits || b.total != before.total) counted += b.last;
        longest = std::max(longest, b.hits);
        before = b;
        life = match->seq[1]->lifeBar->value;
    }
    EXPECT_GT(counted, 0);
    EXPECT_EQ(counted, lost);
    EXPECT_GE(longest, 3);
    EXPECT_FALSE(match->seq[1]->lost);

    dummy->SetBehaviour(Dummy::STAND);
    match->controller[0] = match->seq[0]->controller = nullptr;
    for (int t = 0; t < Training::REFILL_MS + 1500; t += FRAME_MS) {
        match->Frame(FRAME_MS);
        training.Frame(match->time, 0, 0);
    }
    EXPECT_EQ(match->Life(0), 100);
    EXPECT_EQ(match->Life(1), 100);
}

}  // namespace
