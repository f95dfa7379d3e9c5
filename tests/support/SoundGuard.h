#pragma once

#include "frontend/Sound.h"

// Starts the mixer from an empty queue, as if a device were open (so that the
// game queues what it plays) or closed, and gives it back closed, empty, at
// full volume and unmuted.
class SoundGuard {
public:
    explicit SoundGuard(bool deviceOpen = true) {
        Restore();
        manager->deviceOpen = deviceOpen;
    }
    ~SoundGuard() { Restore(); }
    SoundGuard(const SoundGuard&) = delete;
    SoundGuard& operator=(const SoundGuard&) = delete;

    Sound::Manager* const manager = Sound::Manager::instance();

private:
    void Restore() {
        manager->deviceOpen = false;
        manager->SetFormat(Sound::Manager::RATE, Sound::Manager::CHANNELS);
        manager->volume = 100;
        manager->muted = false;
    }
};
