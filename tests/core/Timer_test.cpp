#include "core/Timer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/Trace.h"
#include "support/FakeTicks.h"

namespace {

TEST(Timer, WritesNestedIntervalsIndentedByDepth) {
    FakeTicks ticks;
    std::ostringstream out;
    std::streambuf* const saved = timerout.rdbuf(out.rdbuf());

    Timer timer;
    ticks.now = 100;
    timer.Start();
    ticks.now = 105;
    timer.Start();
    ticks.now = 112;
    timer.End("person update:");
    ticks.now = 130;
    timer.End("Person: ");
    timer.End("unmatched");  // nothing open: nothing written, nothing broken

    timerout.rdbuf(saved);
    EXPECT_EQ(out.str(), "\tperson update:7\nPerson: 30\n");
    EXPECT_EQ(timer.level, 0);
}

TEST(Timer, DeepNestingNeverWritesPastItsTable) {
    FakeTicks ticks;
    Timer timer;
    for (int i = 0; i < Timer::MAX_LEVELS + 5; ++i) timer.Start();
    EXPECT_EQ(timer.level, Timer::MAX_LEVELS + 5);
    for (int i = 0; i < Timer::MAX_LEVELS + 5; ++i) timer.End();
    EXPECT_EQ(timer.level, 0);
}

}  // namespace
