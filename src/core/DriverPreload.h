#pragma once

#include <string>

// Most of the time the window takes to open goes on loading the GL driver:
// Mesa's brings a whole compiler for its software renderer, tens of
// megabytes for the dynamic loader to map and relocate. Loaded on a second
// thread while the video system starts, the driver is there, or nearly,
// when the window's GL context asks for it, and the loader hands over the
// copy it already has.
class DriverPreload {
public:
    // Starts loading the driver the game was built beside, unless GL will
    // not use it (see Chosen).
    static void Start();

    // The driver to load early, or empty: `built` is the one found when the
    // game was built (null for none); `driversPath`, `vendor` and `indirect`
    // are GL's own variables LIBGL_DRIVERS_PATH, __GLX_VENDOR_LIBRARY_NAME
    // and LIBGL_ALWAYS_INDIRECT (null when unset). Another folder of drivers,
    // another vendor's GL, indirect rendering or NVIDIA's own driver running
    // the screen each mean GL loads another driver or none.
    static std::string Chosen(const char* built, const char* driversPath, const char* vendor,
                              const char* indirect, bool nvidiaDriver);
};
