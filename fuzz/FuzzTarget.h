#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One fuzz target per reader of the game's data files.
// KORVANTHE_FUZZ_TARGET(name) opens the body of the function that reads one
// input (`input`, the file's bytes). Built by clang for `make fuzz` it is
// libFuzzer's entry; in the ordinary build it joins the targets that the
// replay driver runs over the seed corpora and every past finding.
//
// Each input is read while a DataProblems collector lives: a file the game
// would end the program over is given up by exception, which the target
// catches. That designed end is not a finding; a crash, a leak, undefined
// behaviour or an allocation of gigabytes is.
using FuzzRead = void (*)(const std::string& input);

// Runs read on one input in the scratch folder, catching a file given up.
void FuzzRun(FuzzRead read, const std::uint8_t* data, std::size_t size);

struct FuzzRegistration {
    FuzzRegistration(const char* name, FuzzRead read);
};

#ifdef KORVANTHE_LIBFUZZER
#define KORVANTHE_FUZZ_TARGET(name)                                                     \
    static void name##Read(const std::string& input);                                   \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
        FuzzRun(name##Read, data, size);                                                \
        return 0;                                                                       \
    }                                                                                   \
    static void name##Read(const std::string& input)
#else
#define KORVANTHE_FUZZ_TARGET(name)                                             \
    static void name##Read(const std::string& input);                           \
    static const FuzzRegistration name##Registration(#name, name##Read);        \
    static void name##Read(const std::string& input)
#endif
