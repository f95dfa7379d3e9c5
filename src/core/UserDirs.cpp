#include "core/UserDirs.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/Trace.h"

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Why `dir` cannot hold the player's files, made when missing; empty when it can.
std::string Unusable(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (!error && !std::filesystem::is_directory(dir, error) && !error) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (!error && access(dir.c_str(), R_OK | W_OK | X_OK) != 0) {
        error = std::error_code(errno, std::generic_category());
    }
    return error ? error.message() : "";
}

}  // namespace

std::string UserDirs::Under(const char* variable, const char* fallback) {
    // The base directory rules ignore a relative path in these variables.
    const std::string base = Variable(variable);
    if (base[0] == '/') return base + "/korvanthe";
    const std::string home = Variable("HOME");
    if (!home.empty()) return home + "/" + fallback + "/korvanthe";
    return "";
}

std::string UserDirs::Config() { return Under("XDG_CONFIG_HOME", ".config"); }

std::string UserDirs::Data() { return Under("XDG_DATA_HOME", ".local/share"); }

std::string UserDirs::Pictures() {
    const std::string pictures = Variable("XDG_PICTURES_DIR");
    if (pictures[0] == '/') return pictures;
    const std::string home = Variable("HOME");
    std::string configHome = Variable("XDG_CONFIG_HOME");
    if (configHome[0] != '/') configHome = home.empty() ? "" : home + "/.config";
    std::string folder = configHome.empty() ? "" : PicturesFromUserDirs(configHome, home);
    if (folder.empty() && !home.empty()) folder = home + "/Pictures";
    return folder.empty() ? "" : folder + "/korvanthe";
}

// xdg-user-dirs writes lines such as XDG_PICTURES_DIR="$HOME/Bilder": a
// path in quotes, absolute or starting at $HOME.
std::string UserDirs::PicturesFromUserDirs(const std::string& configHome,
                                           const std::string& home) {
    std::ifstream file(configHome + "/user-dirs.dirs");
    const std::string key = "XDG_PICTURES_DIR=\"";
    std::string line;
    while (std::getline(file, line)) {
        if (line.compare(0, key.size(), key) != 0 || line.back() != '"') continue;
        std::string path = line.substr(key.size(), line.size() - key.size() - 1);
        if (path.compare(0, 5, "$HOME") == 0 && !home.empty()) path = home + path.substr(5);
        if (path[0] == '/') return path;
    }
    return "";
}

bool UserDirs::Make(const std::string& dir) {
    if (dir.empty()) {
        debug << "no home directory: the player's files are not kept" << std::endl;
        return false;
    }
    const std::string problem = Unusable(dir);
    if (!problem.empty()) {
        debug << dir << ": cannot be made: " << problem << std::endl;
        return false;
    }
    return true;
}

std::string UserDirs::Own(const std::string& name) {
    const std::string dir = Config();
    if (dir.empty()) return name;
    const std::string own = dir + "/" + name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(own, error)) return name;
    debug << "the player's own " << own << std::endl;
    return own;
}

std::string UserDirs::CheckConfig() {
    const std::string dir = Config();
    if (dir.empty()) {
        return "neither XDG_CONFIG_HOME nor HOME is set: the player's own files are neither "
               "read nor kept";
    }
    const std::string problem = Unusable(dir);
    if (problem.empty()) return "";
    return dir + ": cannot be read or written (" + problem +
           "): the game starts with its own files and keeps nothing";
}
