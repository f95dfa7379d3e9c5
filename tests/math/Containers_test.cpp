#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "core/Trace.h"
#include "math/Array.h"
#include "math/DArray.h"
#include "math/Ptr.h"
#include "math/PtrInterface.h"
#include "math/SArray.h"

namespace {

// The trace is silent unless its variable was set before start-up; a death
// test points it at standard error so that the assertion's line can be seen.
void TraceToStderr() { debug.rdbuf(std::cerr.rdbuf()); }

// Counts its own destructions so that a test can see a double delete.
struct Counted : PtrInterface<Counted> {
    explicit Counted(int* deaths_) : deaths(deaths_) {}
    ~Counted() override { ++*deaths; }
    int* deaths;
};

struct Derived : Counted {
    using Counted::Counted;
};

std::string Contents(DArray<std::string>& list) {
    std::string text, x;
    list.Head();
    while (list.Next(x)) text += x;
    return text;
}

}  // namespace

TEST(ArraysDeathTest, BadIndexOrCreationEndsTheProgram) {
    const auto fails = testing::ExitedWithCode(255);
    SArray<int, 4> fixed;
    volatile int index = 4;
    EXPECT_EXIT((TraceToStderr(), fixed[index] = 1), fails, "Assertion failed!");
    index = -1;
    EXPECT_EXIT((TraceToStderr(), fixed[index] = 1), fails, "Assertion failed!");

    EXPECT_EXIT((TraceToStderr(), Array<int>().Create(0)), fails, "Assertion failed!");
    Array<int> heap;
    heap.Create(3);
    EXPECT_EXIT((TraceToStderr(), heap.Create(3)), fails, "Assertion failed!");
    index = 3;
    EXPECT_EXIT((TraceToStderr(), heap[index] = 1), fails, "Assertion failed!");

    // Slots past count lie inside the block but hold no element.
    DArray<int> list;
    list.Add(1);
    index = 1;
    EXPECT_EXIT((TraceToStderr(), list[index] = 1), fails, "Assertion failed!");
}

TEST(SArray, ShiftLeftKeepsTheLastElement) {
    SArray<int, 4> a;
    for (int i = 0; i < 4; ++i) a[i] = i + 1;
    a.ShiftLeft();
    EXPECT_EQ((std::vector<int>{a[0], a[1], a[2], a[3]}), (std::vector<int>{2, 3, 4, 4}));
}

TEST(DArray, GrowsByDoublingAndKeepsInsertionOrder) {
    DArray<int> list;
    for (int i = 0; i < 11; ++i) list.Add(i * 3);
    EXPECT_EQ(list.allocated, 20);
    for (int i = 11; i < 21; ++i) list.Add(i * 3);
    EXPECT_EQ(list.allocated, 40);
    EXPECT_EQ(list.count, 21);
    for (int i = 0; i < 21; ++i) EXPECT_EQ(list[i], i * 3);
}

TEST(DArray, IterationEndsWithTheNullValueAndRepeats) {
    DArray<int> empty;
    int number = 5;
    empty.Head();
    EXPECT_FALSE(empty.Next(number));
    EXPECT_EQ(number, 0);

    DArray<std::string> words;
    words.Add("a");
    words.Add("b");
    EXPECT_EQ(Contents(words), "ab");
    EXPECT_EQ(Contents(words), "ab");
    std::string last = "left over";
    EXPECT_FALSE(words.Next(last));
    EXPECT_EQ(last, "");
}

TEST(DArray, AddInsertsAtTheCursor) {
    DArray<std::string> list;
    for (const char* s : {"a", "b", "c"}) list.Add(s);
    std::string x;
    list.Head();
    list.Next(x);
    list.Add("x");
    EXPECT_EQ(Contents(list), "axbc");
    list.Add("d");  // a finished iteration leaves the cursor at the end
    EXPECT_EQ(Contents(list), "axbcd");
}

TEST(Ptr, LastReleaseDeletesOnceAndSelfAssignmentKeeps) {
    int deaths = 0;
    {
        Ptr<Counted> a(new Counted(&deaths));
        Ptr<Counted>& same = a;
        a = same;
        EXPECT_EQ(a->references, 1);
        {
            Ptr<Counted> b(a);
            Ptr<Counted> c;
            c = b;
            EXPECT_EQ(a->references, 3);
        }
        EXPECT_EQ(deaths, 0);
    }
    EXPECT_EQ(deaths, 1);

    Ptr<Counted> first(new Counted(&deaths));
    first = Ptr<Counted>(new Counted(&deaths));
    EXPECT_EQ(deaths, 2);
    first = nullptr;
    EXPECT_EQ(deaths, 3);
    EXPECT_TRUE(first == nullptr);
}

TEST(Ptr, ListsAndBaseClassPointersShareTheCount) {
    int deaths = 0;
    Ptr<Derived> kept(new Derived(&deaths));
    {
        DArray<Ptr<Counted>> list;
        list.Add(new Counted(&deaths));
        for (int i = 0; i < 20; ++i) list.Add(kept);  // grows through the copies
        EXPECT_EQ(kept->references, 21);
        Ptr<Counted> out;
        list.Head();
        while (list.Next(out)) {
        }
        EXPECT_TRUE(out == nullptr);
    }
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(kept->references, 1);
}

TEST(PtrInterface, CopyStartsUnowned) {
    int deaths = 0;
    Ptr<Counted> original(new Counted(&deaths));
    Ptr<Counted> copy(new Counted(*original));
    *copy = *original;
    EXPECT_EQ(copy->references, 1);
    copy = nullptr;
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(original->references, 1);
}
