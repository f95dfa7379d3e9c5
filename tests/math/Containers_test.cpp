#include <gtest/gtest.h>

#include <string>

#include "math/Array.h"
#include "math/DArray.h"
#include "math/Ptr.h"
#include "math/PtrInterface.h"
#include "math/SArray.h"
#include "support/TraceCapture.h"

namespace {

// Counts its own destructions so that a test can see a double delete.
struct Counted : PtrInterface<Counted> {
    explicit Counted(int* deaths_) : deaths(deaths_) {}
    ~Counted() override { ++*deaths; }
    int* deaths;
};

std::string Contents(DArray<std::string>& list) {
    std::string text, x;
    list.Head();
    while (list.Next(x)) text += x;
    return text;
}

TEST(ArraysDeathTest, BadIndexOrCreationEndsTheProgram) {
    SArray<int, 4> fixed;
    Array<int> heap;
    heap.Create(3);
    DArray<int> list;
    list.Add(1);
    volatile int index = 4;
    const auto fails = testing::ExitedWithCode(255);
    EXPECT_EXIT((TraceToStderr(), fixed[index] = 1), fails, "Assertion failed!");
    index = -1;
    EXPECT_EXIT((TraceToStderr(), fixed[index] = 1), fails, "Assertion failed!");
    index = 3;
    EXPECT_EXIT((TraceToStderr(), heap[index] = 1), fails, "Assertion failed!");
    EXPECT_EXIT((TraceToStderr(), heap.Create(3)), fails, "Assertion failed!");
    index = 1;  // inside the block, but past the count
    EXPECT_EXIT((TraceToStderr(), list[index] = 1), fails, "Assertion failed!");
}

TEST(DArray, GrowsKeepingOrderAndInsertsAtTheCursor) {
    DArray<int> numbers;
    for (int i = 0; i < 21; ++i) numbers.Add(i * 3);
    for (int i = 0; i < 21; ++i) EXPECT_EQ(numbers[i], i * 3);

    DArray<std::string> words;
    for (const char* s : {"a", "b", "c"}) words.Add(s);
    std::string last = "left over";
    EXPECT_EQ(Contents(words), "abc");
    EXPECT_FALSE(words.Next(last));
    EXPECT_EQ(last, "") << "the end gives the null value";
    words.Head();
    words.Next(last);
    words.Add("x");
    EXPECT_EQ(Contents(words), "axbc");
    words.Add("d");  // a finished iteration leaves the cursor at the end
    EXPECT_EQ(Contents(words), "axbcd");
}

TEST(Ptr, TheLastReferenceDeletesOnceWhereverItIsHeld) {
    int deaths = 0;
    {
        Ptr<Counted> a(new Counted(&deaths));
        Ptr<Counted>& same = a;
        a = same;
        DArray<Ptr<Counted>> list;
        for (int i = 0; i < 20; ++i) list.Add(a);  // grows through the copies
        a = Ptr<Counted>(new Counted(&deaths));
        EXPECT_EQ(deaths, 0) << "the list still holds the first";
    }
    EXPECT_EQ(deaths, 2);
    Ptr<Counted> original(new Counted(&deaths));
    Ptr<Counted> copy(new Counted(*original));
    copy = nullptr;
    EXPECT_EQ(deaths, 3) << "a copied object starts unowned";
    EXPECT_EQ(original->references, 1);
}

}  // namespace
