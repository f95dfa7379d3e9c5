#pragma once

#include <SDL.h>

#include <string>
#include <vector>

// A sound effect: a keyframe's, or one of the game's own events. Loaded from
// a WAV file and converted once to the mixer's format, so that mixing is only
// additions.
class Sound {
public:
    class Manager;

    // While one lives, a file loaded again is copied from its first load
    // instead of being read and converted anew: a fighter's moves name the
    // same few sounds dozens of times. Batches nest; the outermost keeps the
    // copies until it ends.
    class Batch {
    public:
        Batch();
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        const bool outermost;
    };

    Sound() = default;
    ~Sound();  // a sound still playing leaves the queue first
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Reads a WAV file (8 or 16 bits, mono or stereo, any rate SDL converts)
    // into the mixer's format. False, with a trace line saying why, when the
    // file cannot be read, is no WAV, is too long or cannot be converted: the
    // sound is then empty and plays as silence.
    bool Load(const char* path);
    // Queues the sound with the manager, but only while a device plays the
    // queue: nothing else would ever drain it.
    void PlayOnce();

    Uint8* data = nullptr;  // samples in the mixer's format; the loaded ones, or set by hand
    Uint32 length = 0;      // bytes in data
    float gain = 1;         // this sound's own loudness, 0 (silent) .. 1 (as recorded)
    std::string name;       // the file it came from, for the trace

private:
    std::vector<Uint8> samples;  // what Load read
};

// The queue of sounds being played and the mixer that SDL's audio thread
// calls. A singleton, created on first use and never destroyed. The mixing
// format is fixed: signed 16-bit samples in the machine's byte order, at
// the rate and channel count of `spec`.
class Sound::Manager {
public:
    static constexpr int RATE = 22050;
    static constexpr int CHANNELS = 1;
    // 512 samples at 22050 Hz: a sound starts within 23 ms of being queued.
    static constexpr int BUFFER_SAMPLES = 512;
    // More at once is noise; a sound queued beyond this is dropped.
    static constexpr size_t MAX_PLAYING = 32;

    static Manager* instance();

    // Opens the audio device and starts the mixer. Without one (no sound
    // card, a refused open, SDL's dummy driver) returns false with a trace
    // line: the game then runs silently and queues nothing.
    bool Open();
    void Close();  // stops the device and empties the queue
    // The format sounds are converted to while no device is open (for the
    // tests and for a game without sound). Empties the queue.
    void SetFormat(int rate, int channels);

    void SetVolume(int percent);  // 0..100; a value outside is brought into it, with a trace line
    void ToggleMute();
    // What a sample at gain 1 is multiplied by: the volume's square, so that
    // the steps of the volume sound even; 0 while muted.
    float MasterGain() const;
    Uint64 StreamBytes() const;  // bytes the mixer has produced since the device opened

    // Queues s to start at the next buffer; it may be queued more than once.
    // False, with nothing queued, while MAX_PLAYING entries are playing.
    bool newSound(Sound* s);
    void Forget(const Sound* s);  // takes every entry of s off the queue
    // The SDL audio callback: userdata is the manager.
    static void callback(void* userdata, Uint8* stream, int len);
    // Mixes every queued sound into stream at its own gain, adding in 16
    // bits and clipping the sum, and drops the sounds that have finished.
    void callback(Uint8* stream, int len);

    SDL_AudioSpec spec{};           // output format; the device's while one is open
    std::vector<Sound*> playing;    // queued or playing, in queue order
    std::vector<Uint32> positions;  // for each entry of playing, the next byte to mix
    bool deviceOpen = false;        // a device drains the queue
    int volume = 100;               // percent
    bool muted = false;

private:
    Manager();
    std::vector<Sint32> sums;  // the mixer's running sums, one per sample of a buffer
    Uint64 streamBytes = 0;
};
