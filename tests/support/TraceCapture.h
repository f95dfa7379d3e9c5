#pragma once

#include <sstream>
#include <iostream>
#include <string>

#include "core/Trace.h"

// Collects what is written to `debug` while it lives.
class TraceCapture {
public:
    TraceCapture() : saved(debug.rdbuf(text.rdbuf())) {}
    ~TraceCapture() { debug.rdbuf(saved); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::string str() const { return text.str(); }
    bool Has(const std::string& line) const { return str().find(line) != std::string::npos; }

private:
    std::ostringstream text;
    std::streambuf* saved;
};

// In a death test the trace goes to standard error, where the test can see it.
inline void TraceToStderr() { debug.rdbuf(std::cerr.rdbuf()); }
