#include <gtest/gtest.h>

#include <functional>
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
    volatile int index = 0;
    const std::function<void()> bad[] = {[&] { fixed[index = 4] = 1; }, [&] { fixed[index = -1] = 1; },
                                         [&] { heap[index = 3] = 1; }, [&] { heap.Create(3); },
                                         [&] { list[index = 1] = 1; }};  // inside the block, past the count
    for (const auto& use : bad) {
        EXPECT_EXIT((TraceToStderr(), use()), testing::ExitedWithCode(255), "Assertion failed!");
    }
}

TEST(DArray, GrowsKeepingOrderAndInsertsAtTheCursor) {
    DArray<int> numbers;
    for (int i = 0; i < 21; ++i) numbers.Add(i * 3);
    for (int i = 0; i < 21; ++i) EXPECT_EQ(numbers[i], i * 3);
    DArray<std::string> words;
    for (const char* s : {"a", "b", "c"}) words.Add(s);
    std::string last = "left over";
    EXPECT_EQ(Contents(words), "abc");
    EXPECT_TRUE(!words.Next(last) && last.empty()) << "the end gives the null value";
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
