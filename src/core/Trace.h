#pragma once

#include <fstream>
#include <ostream>

// A trace stream: silent unless an environment variable names a target. The
// value "stderr" means standard error; anything else is the path of a file
// that is created afresh. Output is unit-buffered so that the last lines
// survive a loader ending the program with exit().
class TraceStream : public std::ostream {
public:
    explicit TraceStream(const char* variable);
    bool enabled() const { return rdbuf() != nullptr; }

private:
    std::filebuf file;  // the target when the variable names a file
};

// `debug`: file parsing, move-tree and menu tracing, assertion reports
// (KORVANTHE_DEBUG). `timerout`: the profiling timer (KORVANTHE_TIMEROUT).
extern TraceStream debug;
extern TraceStream timerout;
