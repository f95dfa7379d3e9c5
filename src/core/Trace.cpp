#include "core/Trace.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

TraceStream::TraceStream(const char* variable) : std::ostream(nullptr) {
    const char* target = std::getenv(variable);
    if (target == nullptr || *target == '\0') return;
    if (std::strcmp(target, "stderr") == 0) {
        rdbuf(std::cerr.rdbuf());
    } else if (file.open(target, std::ios::out | std::ios::trunc)) {
        rdbuf(&file);
    } else {
        return;
    }
    setf(std::ios::unitbuf);
}

TraceStream debug("KORVANTHE_DEBUG");
TraceStream timerout("KORVANTHE_TIMEROUT");
