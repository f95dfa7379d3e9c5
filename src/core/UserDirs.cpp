#include "core/UserDirs.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/Trace.h"

std::string UserDirs::Under(const char* variable, const char* fallback) {
    // The base directory rules ignore a relative path in these variables.
    const char* base = std::getenv(variable);
    if (base != nullptr && base[0] == '/') return std::string(base) + "/korvanthe";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/" + fallback + "/korvanthe";
    return "";
}

std::string UserDirs::Config() { return Under("XDG_CONFIG_HOME", ".config"); }

std::string UserDirs::Data() { return Under("XDG_DATA_HOME", ".local/share"); }

bool UserDirs::Make(const std::string& dir) {
    if (dir.empty()) {
        debug << "no home directory: the player's files are not kept" << std::endl;
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error || !std::filesystem::is_directory(dir, error)) {
        debug << dir << ": cannot be made: " << error.message() << std::endl;
        return false;
    }
    return true;
}
