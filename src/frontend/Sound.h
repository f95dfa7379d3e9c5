#pragma once

#include <SDL.h>

#include <vector>

// A sound effect attached to an animation keyframe. The game opens no audio
// device, so sounds are named by the animation files but never read or heard.
class Sound {
public:
    class Manager;

    Sound() = default;

    // No sound format is read yet: succeeds and leaves the sound empty, so that
    // animation files may name sounds that are not shipped.
    bool Load(const char* path);
    // Queues the sound with the manager, but only while a device plays the
    // queue: nothing else would ever drain it.
    void PlayOnce();

    Uint8* data = nullptr;  // the samples, 8 bits each; not owned
    Uint32 length = 0;      // bytes in data
};

// The queue of sounds being played and the mixer that an SDL audio device
// would call. A singleton, created on first use and never destroyed.
class Sound::Manager {
public:
    static Manager* instance();

    void newSound(Sound* s);  // queue s to start at the next buffer; may be queued more than once
    // The SDL audio callback: userdata is the manager.
    static void callback(void* userdata, Uint8* stream, int len);
    // Mixes every queued sound into stream, each scaled by 1/n for n queued, and
    // drops the sounds that have finished.
    void callback(Uint8* stream, int len);

    SDL_AudioSpec spec{};           // output format; the mixer starts from its silence byte
    std::vector<Sound*> playing;    // queued or playing, in queue order
    std::vector<Uint32> positions;  // for each entry of playing, the next byte to mix
    bool deviceOpen = false;        // no audio device is ever opened

private:
    Manager() = default;
};
