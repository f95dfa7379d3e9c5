// Folder checks run the game itself as the checker: in the test binary,
// its own image would run the whole suite again.
#include "frontend/FolderCheck.h"

namespace {
const bool checkerSet = (FolderCheck::program = KORVANTHE_BINARY, true);
}  // namespace
