// The two default fighters, as settings.txt names them.
#include <filesystem>

#include "content/Content.h"
#include "content/Fighters.h"

namespace content {

const char* const FIGHTER_NAMES[2] = {"bront", "lyse"};

void WriteFighters() {
    std::filesystem::create_directories("images");
    WriteBront();
    WriteLyse();
}

}  // namespace content
