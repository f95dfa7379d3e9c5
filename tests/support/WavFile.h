#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/ScratchDir.h"

// WAV files for the tests: PCM samples in any of the layouts a player's file
// may have, and headers that lie about their size.
namespace wav {

struct Format {
    int rate = 22050;
    int channels = 1;
    int bits = 16;  // 8: unsigned bytes; 16: signed
};

// The file's bytes. `samples` are stored as given (interleaved for stereo);
// the data chunk claims `claimed` bytes instead of its true size when given.
inline std::string Bytes(const Format& f, const std::vector<int>& samples,
                         std::optional<std::uint32_t> claimed = std::nullopt) {
    std::string out;
    const auto put = [&out](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const std::uint32_t sampleBytes = static_cast<std::uint32_t>(f.bits / 8);
    const std::uint32_t size = static_cast<std::uint32_t>(samples.size()) * sampleBytes;
    out += "RIFF";
    put(36 + size, 4);
    out += "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(static_cast<std::uint32_t>(f.channels), 2);
    put(static_cast<std::uint32_t>(f.rate), 4);
    put(static_cast<std::uint32_t>(f.rate * f.channels) * sampleBytes, 4);
    put(static_cast<std::uint32_t>(f.channels) * sampleBytes, 2);
    put(static_cast<std::uint32_t>(f.bits), 2);
    out += "data";
    put(claimed.value_or(size), 4);
    for (int s : samples) put(static_cast<std::uint32_t>(s), static_cast<int>(sampleBytes));
    return out;
}

// A short 16-bit mono sound at `path`, for animation files that name one.
inline void Write(const std::string& path, const std::vector<int>& samples = {1000, -1000, 500}) {
    WriteFile(path, Bytes(Format(), samples));
}

}  // namespace wav
