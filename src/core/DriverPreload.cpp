#include "core/DriverPreload.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "core/Trace.h"

namespace {

#ifdef KORVANTHE_GL_DRIVER
const char* const BUILT_WITH = KORVANTHE_GL_DRIVER;
#else
const char* const BUILT_WITH = nullptr;
#endif

}  // namespace

std::string DriverPreload::Chosen(const char* built, const char* driversPath, const char* vendor,
                                  const char* indirect, bool nvidiaDriver) {
    const bool mesa = vendor == nullptr || std::strcmp(vendor, "mesa") == 0;
    if (built == nullptr || driversPath != nullptr || !mesa || indirect != nullptr || nvidiaDriver) {
        return "";
    }
    return built;
}

void DriverPreload::Start() {
    std::error_code unknown;
    const std::string driver =
        Chosen(BUILT_WITH, std::getenv("LIBGL_DRIVERS_PATH"), std::getenv("__GLX_VENDOR_LIBRARY_NAME"),
               std::getenv("LIBGL_ALWAYS_INDIRECT"), std::filesystem::exists("/proc/driver/nvidia", unknown));
    if (driver.empty()) return;
    debug << "loading the GL driver early: " << driver << std::endl;
    // Never closed: GL keeps its driver to the end as well. A game that ends
    // before the driver is loaded waits for the loader at exit.
    std::thread([driver] { dlopen(driver.c_str(), RTLD_NOW | RTLD_GLOBAL); }).detach();
}
