#include "frontend/GameSounds.h"

#include <string>

#include "core/Preferences.h"
#include "core/UserDirs.h"

namespace {

struct EventSound {
    const char* file;
    float gain;  // balanced against the fight's own sounds
};

const EventSound FILES[GameSounds::EVENTS] = {
    {"bell.wav", 0.8f},     {"winner.wav", 0.55f},     {"fall.wav", 0.8f},
    {"splash.wav", 0.9f},   {"thud.wav", 1.0f},       {"menu_move.wav", 0.6f},
    {"menu_choice.wav", 0.7f},
};

}  // namespace

GameSounds::GameSounds() {
    for (int i = 0; i < EVENTS; ++i) {
        sounds[i].Load((std::string("sounds/") + FILES[i].file).c_str());
        sounds[i].gain = FILES[i].gain;
    }
}

const char* GameSounds::File(Event event) { return FILES[event].file; }

void GameSounds::Play(Event event) {
    if (!Sound::Manager::instance()->deviceOpen || event < 0 || event >= EVENTS) return;
    // Made on first use: by then the device, and so the format, is settled.
    static GameSounds* const made = new GameSounds();
    made->sounds[event].PlayOnce();
}

void GameSounds::SetVolume(int percent) {
    Sound::Manager* manager = Sound::Manager::instance();
    manager->SetVolume(percent);
    preferences.volume = manager->volume;
    const std::string path = Preferences::Path();
    if (!path.empty() && UserDirs::Make(UserDirs::Config())) preferences.Save(path);
}
