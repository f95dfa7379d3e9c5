#include "core/DisplayOpts.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/WordReader.h"

namespace {

const char* const VALID =
    "driver OpenGL by Mesa 3D\nacceleration 1\nsize 800 600 32\ndblbuff 1\nzbuff 24\ndither 0\nfilter 1\nwindowed 0\n";

// The valid file with the first `from` replaced, read into `opts`.
bool Load(DisplayOpts& opts, const std::string& from = "", const std::string& to = "") {
    std::string text = VALID;
    if (!from.empty()) text.replace(text.find(from), from.size(), to);
    std::istringstream in(text);
    WordReader reader(in, "device.cfg");
    return opts.Read(reader);
}

TEST(DisplayOpts, ReadsEveryLine) {
    DisplayOpts opts;
    ASSERT_TRUE(Load(opts)) << opts.problem;
    EXPECT_TRUE(opts.driver == "OpenGL by Mesa 3D" && opts.height == 600 && opts.fullscreen)
        << "the driver is the whole rest of the line, spaces included";
    EXPECT_TRUE(Load(opts, "size 800 600 32\n", "size 640\n480 16 ") && opts.height == 480) << opts.problem;
    EXPECT_TRUE(Load(opts, "800 600 32", "16384 16384 0")) << "the largest window is allowed";
    EXPECT_TRUE(Load(opts, "OpenGL by Mesa 3D", std::string(300, 'd')) && opts.driver == std::string(99, 'd'))
        << "a long driver line is cut, not overflowed";
}

// Each way the file can be wrong, with the line that says where.
const struct {
    const char* from;
    const char* to;
    const char* problem;
} BROKEN[] = {
    {"driver", "Driver", "device.cfg:1: expected 'driver', found 'Driver'"},
    {"size", "sise", "device.cfg:3: expected 'size', found 'sise'"},
    {"zbuff", "ZBUFF", "device.cfg:5: expected 'zbuff', found 'ZBUFF'"},
    {"windowed", "window", "device.cfg:8: expected 'windowed', found 'window'"},
    {"dblbuff 1\nzbuff 24\ndither 0\nfilter 1\nwindowed 0\n", "",
     "device.cfg:4: expected 'dblbuff', found the end of the file"},
    {"size 800", "size eight", "device.cfg:3: expected a whole number, found 'eight'"},
    {"windowed 0", "windowed yes", "device.cfg:8: expected a whole number, found 'yes'"},
    {"size 800", "size 0", "device.cfg:3: expected a window of 1 to"},
    {"size 800", "size 100000", "device.cfg:3: expected a window of 1 to"},
    {"600 32", "-5 32", "device.cfg:3: expected a window of 1 to"},
    {"600 32", "600 64", "device.cfg:3: expected a window of 1 to"},
};

TEST(DisplayOpts, EachFaultIsRefusedWithTheLineAndWordThatAreWrong) {
    for (const auto& c : BROKEN) {
        DisplayOpts opts;
        EXPECT_FALSE(Load(opts, c.from, c.to)) << c.to;
        EXPECT_EQ(opts.problem.rfind(c.problem, 0), 0u) << opts.problem;
    }
    DisplayOpts opts;
    EXPECT_FALSE(Load(opts, VALID, std::string("\x7f" "ELF\x01\x02\x00\xff\xfe junk", 14)));
}

}  // namespace
