#include "frontend/Sound.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>

#include "core/DataProblems.h"
#include "core/Trace.h"

namespace {

// A sound effect is short: anything bigger is a mistake, not a sound.
const std::streamoff MAX_FILE_BYTES = 16 << 20;
const int MAX_SECONDS = 10;

// The gain of a sound as a fraction of 2^GAIN_BITS, so that mixing stays in
// integers.
const int GAIN_BITS = 12;

Uint32 Le32(const std::vector<Uint8>& b, size_t at) {
    return static_cast<Uint32>(b[at]) | static_cast<Uint32>(b[at + 1]) << 8 |
           static_cast<Uint32>(b[at + 2]) << 16 | static_cast<Uint32>(b[at + 3]) << 24;
}

Uint16 Le16(const std::vector<Uint8>& b, size_t at) {
    return static_cast<Uint16>(b[at] | b[at + 1] << 8);
}

// The whole file, when it can be read and is not too big to be a sound.
bool ReadFile(const char* path, std::vector<Uint8>& bytes, std::string& problem) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        problem = "cannot be read";
        return false;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || size > MAX_FILE_BYTES) {
        problem = "is " + std::to_string(size) + " bytes, more than a sound may be";
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        problem = "cannot be read";
        return false;
    }
    return true;
}

// Walks the RIFF chunks before SDL does: every chunk must lie within the
// file, and the samples must be plain PCM, which is all the game needs and
// spares SDL's compressed-format decoders files from strangers.
bool CheckWav(const std::vector<Uint8>& b, Uint32& dataBytes, std::string& problem) {
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 ||
        std::memcmp(b.data() + 8, "WAVE", 4) != 0) {
        problem = "expected a WAV file (RIFF, WAVE)";
        return false;
    }
    bool format = false, samples = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        const std::string id(reinterpret_cast<const char*>(b.data() + at), 4);
        const Uint32 size = Le32(b, at + 4);
        const size_t room = b.size() - at - 8;
        if (size > room) {
            problem = "the '" + id + "' chunk claims " + std::to_string(size) + " bytes, " +
                      std::to_string(room) + " follow";
            return false;
        }
        if (id == "fmt ") {
            const Uint16 tag = size >= 16 ? Le16(b, at + 8) : 0;
            const Uint16 channels = size >= 16 ? Le16(b, at + 10) : 0;
            const Uint32 rate = size >= 16 ? Le32(b, at + 12) : 0;
            const Uint16 bits = size >= 16 ? Le16(b, at + 22) : 0;
            if (tag != 1 || (bits != 8 && bits != 16) || channels < 1 || channels > 2 ||
                rate < 1000 || rate > 192000) {
                problem = "expected PCM samples of 8 or 16 bits, mono or stereo, 1000 to 192000 Hz";
                return false;
            }
            format = true;
        }
        if (id == "data") {
            samples = true;
            dataBytes = size;
        }
        at += 8 + size + (size & 1);
    }
    if (!format || !samples) {
        problem = "expected a 'fmt ' and a 'data' chunk";
        return false;
    }
    return true;
}

// The samples of a WAV file in the file's own format, as SDL decodes them.
bool Decode(const char* path, SDL_AudioSpec& format, std::vector<Uint8>& samples,
            std::string& problem) {
    std::vector<Uint8> file;
    Uint32 dataBytes = 0;
    if (!ReadFile(path, file, problem) || !CheckWav(file, dataBytes, problem)) return false;
    // SDL refuses a data chunk without samples; it is a sound all the same.
    if (dataBytes == 0) return true;
    Uint8* decoded = nullptr;
    Uint32 decodedBytes = 0;
    SDL_RWops* in = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (SDL_LoadWAV_RW(in, 1, &format, &decoded, &decodedBytes) == nullptr) {
        problem = SDL_GetError();
        return false;
    }
    samples.assign(decoded, decoded + decodedBytes);
    SDL_FreeWAV(decoded);
    return true;
}

// Samples from `from` into `to`, in place, cut to whole sample frames.
bool Convert(std::vector<Uint8>& samples, const SDL_AudioSpec& from, const SDL_AudioSpec& to,
             std::string& problem) {
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, from.format, from.channels, from.freq, to.format, to.channels,
                          to.freq) < 0) {
        problem = std::string("cannot be converted: ") + SDL_GetError();
        return false;
    }
    const size_t given = samples.size();
    // SDL converts in place and may need the buffer several times longer.
    samples.resize(given * static_cast<size_t>(std::max(cvt.len_mult, 1)) + 16);
    cvt.buf = samples.data();
    cvt.len = static_cast<int>(given);
    cvt.len_cvt = cvt.len;
    if (cvt.needed && SDL_ConvertAudio(&cvt) < 0) {
        problem = std::string("cannot be converted: ") + SDL_GetError();
        return false;
    }
    const size_t frame = sizeof(Sint16) * to.channels;
    const size_t bytes = std::min(static_cast<size_t>(std::max(cvt.len_cvt, 0)), samples.size());
    if (bytes > static_cast<size_t>(MAX_SECONDS) * to.freq * frame) {
        problem = "longer than " + std::to_string(MAX_SECONDS) + " s, more than a sound may be";
        return false;
    }
    samples.resize(bytes - bytes % frame);
    return true;
}

// Standard error sent nowhere while it lives. The audio libraries SDL tries
// in turn write their complaints there (ALSA without a sound card, a dozen
// lines); SDL's own error, which says what matters, goes to the trace.
class StderrMuted {
public:
    StderrMuted() : saved(dup(STDERR_FILENO)) {
        std::fflush(stderr);
        const int nowhere = open("/dev/null", O_WRONLY);
        if (nowhere >= 0) {
            dup2(nowhere, STDERR_FILENO);
            close(nowhere);
        }
    }
    ~StderrMuted() {
        std::fflush(stderr);
        if (saved < 0) return;
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    StderrMuted(const StderrMuted&) = delete;
    StderrMuted& operator=(const StderrMuted&) = delete;

private:
    int saved;
};

template <class Call>
auto Quietly(Call call) {
    const StderrMuted quiet;
    return call();
}

Sint16 Sample(const Uint8* at) {
    Sint16 s;
    std::memcpy(&s, at, sizeof s);
    return s;
}

}  // namespace

Sound::~Sound() {
    if (!samples.empty() || data != nullptr) Manager::instance()->Forget(this);
}

namespace {

// The samples of every file loaded while a batch lives; null outside batches.
std::map<std::string, std::vector<Uint8>>* batchLoads = nullptr;

}  // namespace

Sound::Batch::Batch() : outermost(batchLoads == nullptr) {
    if (outermost) batchLoads = new std::map<std::string, std::vector<Uint8>>;
}

Sound::Batch::~Batch() {
    if (!outermost) return;
    delete batchLoads;
    batchLoads = nullptr;
}

bool Sound::Load(const char* path) {
    Manager* manager = Manager::instance();
    // A sound loaded again must not be mixed while its samples change.
    manager->Forget(this);
    samples.clear();
    data = nullptr;
    length = 0;
    name = path;

    std::vector<Uint8> read;
    if (batchLoads != nullptr && batchLoads->count(path) != 0) {
        read = batchLoads->at(path);
    } else {
        SDL_AudioSpec format{};
        std::string problem;
        if (!Decode(path, format, read, problem) ||
            (!read.empty() && !Convert(read, format, manager->spec, problem))) {
            DataProblems::Trace(std::string(path) + ": " + problem);
            return false;
        }
        if (batchLoads != nullptr) (*batchLoads)[path] = read;
    }
    samples = std::move(read);
    data = samples.empty() ? nullptr : samples.data();
    length = static_cast<Uint32>(samples.size());
    return true;
}

void Sound::PlayOnce() {
    Manager* manager = Manager::instance();
    if (!manager->deviceOpen) return;
    // The mixer runs on SDL's audio thread and walks the same vectors.
    SDL_LockAudio();
    const Uint64 at = manager->StreamBytes();
    const bool queued = manager->newSound(this);
    SDL_UnlockAudio();
    if (queued) {
        debug << "sound " << name << " starts at stream byte " << at << std::endl;
    } else {
        debug << "sound " << name << " dropped: " << Manager::MAX_PLAYING << " are playing"
              << std::endl;
    }
}

Sound::Manager* Sound::Manager::instance() {
    static Manager* manager = new Manager();
    return manager;
}

Sound::Manager::Manager() { SetFormat(RATE, CHANNELS); }

bool Sound::Manager::Open() {
    if (deviceOpen) return true;
    const auto silent = [](const std::string& why) {
        debug << "sound: " << why << "; the game is silent" << std::endl;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    };
    if (Quietly([] { return SDL_InitSubSystem(SDL_INIT_AUDIO); }) < 0) return silent(SDL_GetError());
    char driver[32] = "";
    if (SDL_AudioDriverName(driver, sizeof driver) == nullptr) {
        return silent(std::string("no audio driver: ") + SDL_GetError());
    }
    // The dummy driver takes the sound and plays nothing: no device at all.
    if (std::strcmp(driver, "dummy") == 0) return silent("the dummy audio driver plays nothing");

    SDL_AudioSpec wanted{};
    wanted.freq = RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = CHANNELS;
    wanted.samples = BUFFER_SAMPLES;
    wanted.callback = &Manager::callback;
    wanted.userdata = this;
    // Without a spec to take what the device offers, SDL converts to it
    // itself: the mixer always sees the format it asked for.
    if (Quietly([&wanted] { return SDL_OpenAudio(&wanted, nullptr); }) < 0) {
        return silent(std::string("the audio device cannot be opened: ") + SDL_GetError());
    }
    spec = wanted;
    playing.clear();
    positions.clear();
    sums.assign(spec.size / sizeof(Sint16), 0);
    streamBytes = 0;
    deviceOpen = true;
    debug << "sound: " << driver << ", " << spec.freq << " Hz, buffers of " << spec.samples
          << " samples" << std::endl;
    SDL_PauseAudio(0);
    return true;
}

void Sound::Manager::Close() {
    if (!deviceOpen) return;
    SDL_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    deviceOpen = false;
    playing.clear();
    positions.clear();
}

void Sound::Manager::SetFormat(int rate, int channels) {
    if (deviceOpen) return;  // the open device's format is the mixer's
    spec = SDL_AudioSpec{};
    spec.freq = rate;
    spec.format = AUDIO_S16SYS;
    spec.channels = static_cast<Uint8>(channels);
    spec.silence = 0;
    spec.samples = BUFFER_SAMPLES;
    spec.size = static_cast<Uint32>(BUFFER_SAMPLES * channels * sizeof(Sint16));
    playing.clear();
    positions.clear();
}

void Sound::Manager::SetVolume(int percent) {
    const int kept = std::clamp(percent, 0, 100);
    if (kept != percent) {
        debug << "sound: volume " << percent << " is outside 0..100; " << kept << " is used"
              << std::endl;
    }
    SDL_LockAudio();
    volume = kept;
    SDL_UnlockAudio();
}

void Sound::Manager::ToggleMute() {
    SDL_LockAudio();
    muted = !muted;
    SDL_UnlockAudio();
    debug << (muted ? "sound: muted" : "sound: on") << std::endl;
}

float Sound::Manager::MasterGain() const {
    const float v = static_cast<float>(volume) / 100;
    return muted ? 0 : v * v;
}

Uint64 Sound::Manager::StreamBytes() const { return streamBytes; }

bool Sound::Manager::newSound(Sound* s) {
    if (playing.size() >= MAX_PLAYING) return false;
    playing.push_back(s);
    positions.push_back(0);
    return true;
}

void Sound::Manager::Forget(const Sound* s) {
    if (deviceOpen) SDL_LockAudio();
    size_t kept = 0;
    for (size_t i = 0; i < playing.size(); ++i) {
        if (playing[i] == s) continue;
        playing[kept] = playing[i];
        positions[kept] = positions[i];
        ++kept;
    }
    playing.resize(kept);
    positions.resize(kept);
    if (deviceOpen) SDL_UnlockAudio();
}

void Sound::Manager::callback(void* userdata, Uint8* stream, int len) {
    static_cast<Manager*>(userdata)->callback(stream, len);
}

void Sound::Manager::callback(Uint8* stream, int len) {
    if (len <= 0) return;
    // Silence first: an odd last byte cannot hold a sample.
    std::memset(stream, spec.silence, static_cast<size_t>(len));
    const size_t room = static_cast<size_t>(len) / sizeof(Sint16);
    // Only a caller with a buffer bigger than the device's makes this grow.
    if (sums.size() < room) sums.resize(room);
    std::fill(sums.begin(), sums.begin() + static_cast<std::ptrdiff_t>(room), 0);
    const float master = MasterGain();

    size_t kept = 0;
    for (size_t i = 0; i < playing.size(); ++i) {
        Sound* sound = playing[i];
        Uint32 position = positions[i];
        // Whole samples only; a sound without samples has nothing left,
        // whatever its length says.
        const Uint32 end = sound->data != nullptr ? sound->length & ~1u : 0;
        const size_t count = std::min<size_t>((end - std::min(position, end)) / 2, room);
        const Sint32 gain = static_cast<Sint32>(
            std::clamp(sound->gain, 0.0f, 1.0f) * master * (1 << GAIN_BITS) + 0.5f);
        if (gain != 0) {
            const Uint8* from = sound->data + position;
            for (size_t j = 0; j < count; ++j) {
                sums[j] += (Sample(from + 2 * j) * gain) >> GAIN_BITS;
            }
        }
        position += static_cast<Uint32>(2 * count);
        if (position < end) {
            playing[kept] = sound;
            positions[kept] = position;
            ++kept;
        }
    }
    playing.resize(kept);
    positions.resize(kept);

    for (size_t j = 0; j < room; ++j) {
        const Sint16 out = static_cast<Sint16>(std::clamp<Sint32>(sums[j], -32768, 32767));
        std::memcpy(stream + 2 * j, &out, sizeof out);
    }
    streamBytes += static_cast<Uint64>(len);
}
