#include "core/DriverPreload.h"

#include <gtest/gtest.h>

// The driver is loaded early only when it is the one GL will load itself:
// another would only cost memory and, worse, hold up the dynamic loader.
TEST(DriverPreloadTest, LoadsEarlyOnlyTheDriverGLWillLoad) {
    const char* const mesa = "/usr/lib/dri/swrast_dri.so";
    struct Case {
        const char *built, *driversPath, *vendor, *indirect;
        bool nvidia;
        std::string chosen;
    } const cases[] = {
        {mesa, nullptr, nullptr, nullptr, false, mesa},
        {mesa, nullptr, "mesa", nullptr, false, mesa},
        {nullptr, nullptr, nullptr, nullptr, false, ""},
        {mesa, "/opt/mesa/dri", nullptr, nullptr, false, ""},
        {mesa, nullptr, "nvidia", nullptr, false, ""},
        {mesa, nullptr, nullptr, "1", false, ""},
        {mesa, nullptr, nullptr, nullptr, true, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DriverPreload::Chosen(c.built, c.driversPath, c.vendor, c.indirect, c.nvidia), c.chosen)
            << (c.driversPath ? c.driversPath : "") << (c.vendor ? c.vendor : "") << c.nvidia;
    }
}
