// Replays fuzz inputs without libFuzzer: `korvanthe_fuzz_replay <target>
// <file or folder>...` reads every file given, and every file in every folder
// given, through the target, as libFuzzer would. It ends normally when none
// of them crashes; the sanitizers, where built in, report the rest.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "FuzzTarget.h"

namespace fs = std::filesystem;

namespace {

std::map<std::string, FuzzRead>& Targets() {
    static std::map<std::string, FuzzRead> targets;
    return targets;
}

std::vector<fs::path> Inputs(const fs::path& given) {
    std::vector<fs::path> files;
    if (fs::is_directory(given)) {
        for (const auto& entry : fs::directory_iterator(given)) {
            if (entry.is_regular_file()) files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
    } else if (fs::exists(given)) {
        files.push_back(given);
    }
    return files;
}

}  // namespace

FuzzRegistration::FuzzRegistration(const char* name, FuzzRead read) { Targets()[name] = read; }

int main(int argc, char** argv) {
    const auto target = argc > 1 ? Targets().find(argv[1]) : Targets().end();
    if (target == Targets().end()) {
        std::cerr << "usage: korvanthe_fuzz_replay <target> <file or folder>...\ntargets:";
        for (const auto& [name, read] : Targets()) std::cerr << ' ' << name;
        std::cerr << std::endl;
        return 2;
    }
    // Reading moves into a scratch folder: every path is taken before.
    std::vector<fs::path> files;
    for (int i = 2; i < argc; ++i) {
        for (const fs::path& file : Inputs(fs::absolute(argv[i]))) files.push_back(file);
    }
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        FuzzRun(target->second, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::cout << argv[1] << ": " << files.size() << " inputs replayed" << std::endl;
    return files.empty() ? 1 : 0;
}
