// Training against the dummy on the default fighters, headless: what each of
// the dummy's behaviours lets through, and the figures the player reads; a
// move's frame figures, from a fixture move whose striking keys are known.
#include "training/Training.h"

#include <gtest/gtest.h>

#include <memory>

#include "anim/MTNode.h"
#include "support/MatchHarness.h"
#include "training/Dummy.h"
#include "training/FrameData.h"

namespace {

const int FRAME_MS = 16;

class TrainingTest : public ContentMatchTest {
protected:
    // Player 1 attacks high and low, the dummy plays player 2.
    void Start(Dummy::Behaviour b, bool swap = false) {
        match->Start(nullptr, nullptr, match->names[swap ? 1 : 0], match->names[swap ? 0 : 1]);
        attacker = std::make_unique<Attacker>(0, *match->seq[0], *match->seq[1]);
        dummy = std::make_unique<Dummy>(1, *match->seq[1], *match->seq[0], 9);
        dummy->SetBehaviour(b);
        match->Play(0, attacker.get());
        match->Play(1, dummy.get());
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
        EXPECT_TRUE(match->hits[1] >= c.leastHits && match->hits[1] <= c.mostHits &&
                    (match->guarded[1] > 0) == c.guards && (c.state == 0 || inState > frames / 2))
            << Dummy::Name(c.behaviour) << ": " << match->hits[1] << " hits";
    }
}

TEST_F(TrainingTest, FiguresAddUpToTheLifeLostAndLivesFillAgainOnceBlowsStop) {
    // Lyse's quick jabs, one on the other, make combos.
    Start(Dummy::STAND, true);
    ScriptedController presser(0);  // punches every tenth of a second wherever the opponent is
    match->Play(0, &presser);
    match->Place(0, 20);
    match->Place(1, -20);
    Training training(*match->seq[0], *match->seq[1]);
    training.Begin(0);
    int lost = 0, counted = 0, longest = 0;
    int life = 100;
    Training::Blows before;
    for (int t = 0; t < 8000; t += FRAME_MS) {
        presser.held = (match->time + FRAME_MS) % 100 < 16 ? Controller::CMD_P : 0;
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
    EXPECT_TRUE(counted > 0 && counted == lost) << counted << " counted, " << lost << " lost";
    EXPECT_TRUE(longest >= 3 && !match->seq[1]->lost);

    dummy->SetBehaviour(Dummy::STAND);
    match->Play(0, nullptr);
    for (int t = 0; t < Training::REFILL_MS + 1500; t += FRAME_MS) {
        match->Frame(FRAME_MS);
        training.Frame(match->time, 0, 0);
    }
    EXPECT_TRUE(match->Life(0) == 100 && match->Life(1) == 100);
}

using FrameDataTest = MatchTest;

TEST_F(FrameDataTest, StartupActiveAndRecoveryComeFromTheStrikingKeys) {
    // The lunge's keys end at 0.05, 0.17, 0.27 and 0.42 s; the arm strikes on
    // the way to the second and third.
    for (const char* name : {"kira", "mori"}) fixture::WriteLunger(name);
    Start();
    const MoveBook book(*seq[0]->moveTree, *fighter[0]);
    const MTNode* root = seq[0]->moveTree->nodes[0];
    const FrameData lunge = FrameData::Of(book.Facts(root->children[0]));
    // 0.05 s; 0.05 .. 0.27 s; 0.27 .. 0.42 s
    EXPECT_TRUE(lunge.strikes && lunge.startup == 3 && lunge.active == 13 && lunge.recovery == 9);
    EXPECT_FALSE(FrameData::Of(book.Facts(root)).strikes);
}

}  // namespace
