#pragma once

// Ends the process with status 255 after writing "Assertion failed!" and the
// failing condition to the debug trace. Used for indices that must never be
// out of range: continuing would read or write outside an array.
[[noreturn]] void AssertFailed(const char* condition, const char* file, int line);

#define KV_ASSERT(condition) \
    ((condition) ? static_cast<void>(0) : AssertFailed(#condition, __FILE__, __LINE__))
