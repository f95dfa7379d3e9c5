#include "FuzzScratch.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "FuzzTarget.h"
#include "core/DataProblems.h"
#include "core/Display.h"
#include "core/System.h"

namespace fs = std::filesystem;

namespace {

fs::path scratch;

void Leave() {
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path(), ignored);
    fs::remove_all(scratch, ignored);
}

}  // namespace

void FuzzRun(FuzzRead read, const std::uint8_t* data, std::size_t size) {
    FuzzScratch::Enter();
    DataProblems problems;
    try {
        read(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const DataProblems::Abandoned&) {
        // The game would have ended here with its status: by design.
    }
}

namespace FuzzScratch {

void Enter() {
    if (!scratch.empty()) return;
    // Every input is written to a file: in memory where there is a place for it.
    const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "korvanthe-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    scratch = pattern;
    fs::current_path(scratch);
    std::atexit(Leave);
    System::Offline();
}

void Write(const std::string& path, const std::string& text) {
    const fs::path file(path);
    if (file.has_parent_path()) fs::create_directories(file.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> CorpusNames(const std::string& target, const std::string& suffix) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(KORVANTHE_FUZZ_DIR) / "corpus" / target, error)) {
        std::ifstream in(entry.path());
        for (std::string word; in >> word;) {
            if (word.size() > suffix.size() &&
                word.compare(word.size() - suffix.size(), suffix.size(), suffix) == 0) {
                names.insert(fs::path(word).filename().string());
            }
        }
    }
    return {names.begin(), names.end()};
}

std::string Triangle() {
    return "Tri-mesh, Vertices: 3 Faces: 1\n"
           "X: 0 Y: 0 Z: 0  X: 1 Y: 0 Z: 0  X: 0 Y: 1 Z: 0\n"
           "Face 0: A:0 B:1 C:2\n";
}

std::string Plain() { return "- 1 1 ambi 0.2 0.2 0.2 diff 1 1 1 emis 0 0 0 spec 0 0 0 shine 0\n"; }

std::string OneFrame(int bones) {
    std::ostringstream out;
    out << "1\n0.1\n";
    for (int b = 0; b < bones; ++b) out << b << " 0 0 0 2\n";
    out << "-1\n";
    return out.str();
}

std::string Bmp() {
    // The file header, a 40-byte information header, then two rows of two
    // blue-green-red pixels padded to four bytes.
    const unsigned char bytes[] = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  //
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
        255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

void StandInFighter(const std::string& target, const std::string& name) {
    const std::string dir = "characters/" + name + "/";
    for (const std::string& mesh : CorpusNames(target, ".asc")) {
        for (const char* sub : {"meshes/", "3/"}) Write(dir + sub + mesh, Triangle());
    }
    for (const std::string& material : CorpusNames(target, ".mat")) {
        Write(dir + "materials/" + material, Plain());
    }
    for (const std::string& move : CorpusNames(target, ".kaf")) Write(dir + move, OneFrame(4));
    for (const char* guard : {"1_ghit.kaf", "1d_ghit.kaf"}) Write(dir + guard, OneFrame(4));
}

void StandInArena(const std::string& target, const std::string& name) {
    const std::string dir = "scenes/" + name + "/";
    for (const std::string& mesh : CorpusNames(target, ".asc")) Write(dir + mesh, Triangle());
    for (const std::string& material : CorpusNames(target, ".mat")) {
        Write(dir + "materials/" + material, Plain());
    }
    Write(dir + "materials/background.mat", Plain());
}

}  // namespace FuzzScratch
