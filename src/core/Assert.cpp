#include "core/Assert.h"

#include <cstdlib>

#include "core/Trace.h"

void AssertFailed(const char* condition, const char* file, int line) {
    debug << "Assertion failed!" << std::endl;
    debug << "    " << condition << " (" << file << ':' << line << ')' << std::endl;
    std::exit(-1);
}
