#include "frontend/Sound.h"

#include <cstring>

bool Sound::Load(const char*) { return true; }

void Sound::PlayOnce() {
    Manager* manager = Manager::instance();
    if (!manager->deviceOpen) return;
    // The mixer runs on SDL's audio thread and walks the same vectors.
    SDL_LockAudio();
    manager->newSound(this);
    SDL_UnlockAudio();
}

Sound::Manager* Sound::Manager::instance() {
    static Manager* manager = new Manager();
    return manager;
}

void Sound::Manager::newSound(Sound* s) {
    playing.push_back(s);
    positions.push_back(0);
}

void Sound::Manager::callback(void* userdata, Uint8* stream, int len) {
    static_cast<Manager*>(userdata)->callback(stream, len);
}

void Sound::Manager::callback(Uint8* stream, int len) {
    if (len <= 0) return;
    std::memset(stream, spec.silence, static_cast<size_t>(len));
    const Uint32 room = static_cast<Uint32>(len);
    const Uint32 n = static_cast<Uint32>(playing.size());

    std::vector<Sound*> keptSounds;
    std::vector<Uint32> keptPositions;
    for (size_t i = 0; i < playing.size(); ++i) {
        const Sound* sound = playing[i];
        Uint32 position = positions[i];
        // A sound without samples has nothing left, whatever its length says.
        const Uint32 end = sound->data != nullptr ? sound->length : 0;
        for (Uint32 out = 0; position < end && out < room; ++position, ++out) {
            stream[out] = static_cast<Uint8>(stream[out] + sound->data[position] / n);
        }
        if (position < end) {
            keptSounds.push_back(playing[i]);
            keptPositions.push_back(position);
        }
    }
    playing.swap(keptSounds);
    positions.swap(keptPositions);
}
