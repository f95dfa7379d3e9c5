#pragma once

#include <cstdint>

// Nested interval profiler: Start opens an interval, End closes the innermost
// one and writes its label and length in ms to `timerout`, indented by depth.
class Timer {
public:
    static const int MAX_LEVELS = 100;

    Timer() = default;
    ~Timer();  // closes timerout

    void Start();
    void End(const char* label = nullptr);  // null: use `name`

    int level = 0;                      // open intervals
    std::uint32_t starts[MAX_LEVELS];   // start tick of each open interval
    char name[256] = "";                // label when End is given none
};
