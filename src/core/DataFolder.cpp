#include "core/DataFolder.h"

#include <filesystem>
#include <system_error>

#include "core/Trace.h"

// Where the build put the data folder relative to the game's bin/ folder.
#ifndef KORVANTHE_DATA_FROM_BIN
#define KORVANTHE_DATA_FROM_BIN "../share/korvanthe"
#endif

namespace {

bool HoldsMarker(const std::filesystem::path& dir) {
    std::error_code error;
    return std::filesystem::is_regular_file(dir / DataFolder::MARKER, error);
}

}  // namespace

std::string DataFolder::Installed(const std::string& executable) {
    const std::filesystem::path bin = std::filesystem::path(executable).parent_path();
    return (bin / KORVANTHE_DATA_FROM_BIN).lexically_normal().string();
}

std::string DataFolder::Choose(const std::string& workingDir, const std::string& executable) {
    if (HoldsMarker(workingDir) || executable.empty()) return "";
    const std::string installed = Installed(executable);
    return HoldsMarker(installed) ? installed : "";
}

void DataFolder::Enter() {
    std::error_code error;
    const std::string working = std::filesystem::current_path(error).string();
    // The kernel's own link names the executable, however the game was started.
    const std::string executable = std::filesystem::read_symlink("/proc/self/exe", error).string();
    const std::string chosen = Choose(working, executable);
    if (chosen.empty()) {
        debug << "data folder: the working directory " << working << std::endl;
        return;
    }
    std::filesystem::current_path(chosen, error);
    if (error) {
        debug << chosen << ": cannot be entered: " << error.message() << std::endl;
        return;
    }
    debug << "data folder: " << chosen << std::endl;
}
