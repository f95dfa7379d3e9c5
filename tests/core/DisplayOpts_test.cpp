#include "core/DisplayOpts.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/WordReader.h"

namespace {

const char* const VALID =
    "driver OpenGL by Mesa 3D\n"
    "acceleration 1\n"
    "size 800 600 32\n"
    "dblbuff 1\n"
    "zbuff 24\n"
    "dither 0\n"
    "filter 1\n"
    "windowed 1\n";

bool Load(const std::string& text, DisplayOpts& opts) {
    std::istringstream in(text);
    WordReader reader(in, "device.cfg");
    return opts.Read(reader);
}

// Replaces the first occurrence of `from` in the valid file.
std::string ValidWith(const std::string& from, const std::string& to) {
    std::string text = VALID;
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(DisplayOpts, ReadsEveryLine) {
    DisplayOpts opts;
    ASSERT_TRUE(Load(VALID, opts)) << opts.problem;
    EXPECT_EQ(opts.driver, "OpenGL by Mesa 3D") << "the whole rest of the line, spaces included";
    EXPECT_EQ(opts.acceleration, 1);
    EXPECT_EQ(opts.width, 800);
    EXPECT_EQ(opts.height, 600);
    EXPECT_EQ(opts.depth, 32);
    EXPECT_EQ(opts.dblbuff, 1);
    EXPECT_EQ(opts.zbuff, 24);
    EXPECT_EQ(opts.dither, 0);
    EXPECT_EQ(opts.filter, 1);
    EXPECT_FALSE(opts.fullscreen);
    EXPECT_TRUE(opts.problem.empty());

    ASSERT_TRUE(Load(ValidWith("windowed 1", "windowed 0"), opts));
    EXPECT_TRUE(opts.fullscreen);
}

TEST(DisplayOpts, LineBreaksCarryNoMeaningAfterTheDriver) {
    DisplayOpts opts;
    EXPECT_TRUE(Load("driver x\nacceleration 1 size 640\n480 16 dblbuff 1 zbuff 1 dither 1 "
                     "filter 0 windowed 1 anything after is ignored",
                     opts))
        << opts.problem;
    EXPECT_EQ(opts.height, 480);
}

TEST(DisplayOpts, EachMisspeltKeywordIsRejectedWithItsLine) {
    const struct {
        const char* keyword;
        const char* wrong;
        int line;
    } cases[] = {
        {"driver", "Driver", 1}, {"acceleration", "accel", 2}, {"size", "sise", 3},
        {"dblbuff", "dblbuf", 4}, {"zbuff", "ZBUFF", 5},       {"dither", "dithers", 6},
        {"filter", "filtr", 7},   {"windowed", "window", 8},
    };
    for (const auto& c : cases) {
        DisplayOpts opts;
        EXPECT_FALSE(Load(ValidWith(c.keyword, c.wrong), opts)) << c.keyword;
        EXPECT_EQ(opts.problem, "device.cfg:" + std::to_string(c.line) + ": expected '" +
                                    c.keyword + "', found '" + c.wrong + "'");
    }
}

TEST(DisplayOpts, MissingLinesAndBadNumbersAreRejected) {
    DisplayOpts opts;
    EXPECT_FALSE(Load("driver x\nacceleration 1\nsize 800 600 32\n", opts));
    EXPECT_EQ(opts.problem, "device.cfg:4: expected 'dblbuff', found the end of the file");

    EXPECT_FALSE(Load(ValidWith("size 800", "size eight"), opts));
    EXPECT_EQ(opts.problem, "device.cfg:3: expected a whole number, found 'eight'");

    EXPECT_FALSE(Load(ValidWith("windowed 1", "windowed yes"), opts))
        << "a bad last number is caught although no keyword follows it";

    EXPECT_FALSE(Load("", opts));
    EXPECT_FALSE(Load(std::string("\x7f" "ELF\x01\x02\x00\xff\xfe junk", 14), opts));
}

TEST(DisplayOpts, WindowSizesOutOfRangeAreRejected) {
    for (const char* size : {"size 0 600 32", "size -5 600 32", "size 100000 600 32",
                             "size 800 0 32", "size 800 600 -1", "size 800 600 64"}) {
        DisplayOpts opts;
        EXPECT_FALSE(Load(ValidWith("size 800 600 32", size), opts)) << size;
        EXPECT_NE(opts.problem.find("device.cfg:3: expected a window of 1 to"), std::string::npos)
            << opts.problem;
    }
}

TEST(DisplayOpts, LongDriverLinesAreCutNotOverflowed) {
    DisplayOpts opts;
    const std::string longName(300, 'd');
    ASSERT_TRUE(Load(ValidWith("OpenGL by Mesa 3D", longName), opts)) << opts.problem;
    EXPECT_EQ(opts.driver, std::string(99, 'd'));
    EXPECT_EQ(opts.width, 800) << "the lines after it are read as usual";

    ASSERT_TRUE(Load(ValidWith("driver OpenGL by Mesa 3D", "driver"), opts)) << opts.problem;
    EXPECT_EQ(opts.driver, "") << "a driver keyword alone keeps the next line for itself";
}

}  // namespace
