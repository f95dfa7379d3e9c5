#include "core/Screenshot.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

namespace {

// What a shot holds, and that it is the right way up, is seen by the
// install end-to-end test.
TEST(Screenshot, NamedByDateAndTimeAndNeverOverwritten) {
    ScratchDir dir;
    std::tm when{};
    when.tm_year = 2024 - 1900, when.tm_mon = 4, when.tm_mday = 1;
    when.tm_hour = 21, when.tm_min = 30, when.tm_sec = 5;
    EXPECT_EQ(Screenshot::FileName(when), "korvanthe-2024-05-01_21-30-05.bmp");
    WriteFile("korvanthe-2024-05-01_21-30-05.bmp", "");
    WriteFile("korvanthe-2024-05-01_21-30-05-2.bmp", "");
    EXPECT_EQ(Screenshot::FreePath(".", when), "./korvanthe-2024-05-01_21-30-05-3.bmp");
}

}  // namespace
