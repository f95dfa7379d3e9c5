#include <gtest/gtest.h>

#include "frontend/Label.h"

// A reason shown under an unavailable fighter: a path breaks after its
// slashes and nowhere shows a space it did not have.
TEST(Label, WrapBreaksAtSpacesAndAfterSlashes) {
    using Lines = std::vector<std::string>;
    const struct {
        const char* text;
        size_t width;
        Lines lines;
    } cases[] = {
        {"characters/kira/movetree.txt: file not found", 20, {"characters/kira/", "movetree.txt: file", "not found"}},
        {"a/b c", 20, {"a/b c"}},
        {"  ", 20, {}},
        {"averyveryverylongword x", 5, {"averyveryverylongword", "x"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Label::Wrap(c.text, c.width), c.lines) << c.text;
}
