// The default sounds, synthesised from noise, tones and filters: the
// swings, blows, guard and burst the fighters' keyframes name, and the
// sounds of the game's own events.
#include "content/Sounds.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <string>

#include "content/Content.h"
#include "content/Synth.h"
#include "content/WavWriter.h"
#include "frontend/GameSounds.h"

namespace content {

namespace {

// A blade of air: band-passed noise whose pitch rises as the weapon comes
// and falls as it goes. A slow weapon sweeps lower and longer.
Wave Swish(float seconds, float low, float high, float peak, uint32_t seed) {
    Wave w(seconds);
    Noise noise(seed);
    Filter band(Filter::BAND, 2.5f);
    for (size_t i = 0; i < w.Samples(); ++i) {
        const float t = Wave::Time(i), shape = Hump(t, seconds, 0.7f);
        w.samples[i] = band(noise(), low + (high - low) * shape) * shape;
    }
    w.Finish(peak);
    return w;
}

// A blow on a body: a low knock that drops in pitch, and the smack of the
// contact on top. `weight` 1 is a plain blow; more is deeper and longer.
Wave Blow(float weight, float peak, uint32_t seed) {
    Wave w(0.22f * weight + 0.05f);
    Noise noise(seed);
    Tone knock;
    Filter smack(Filter::LOW);
    for (size_t i = 0; i < w.Samples(); ++i) {
        const float t = Wave::Time(i);
        const float body = knock(Glide(t, 170 / weight, 70 / weight, 0.04f * weight)) *
                           Decay(t, 0.055f * weight);
        const float contact = smack(noise(), 2600 / weight) * Decay(t, 0.012f * weight);
        // A little saturation makes the heavy blow crunch.
        w.samples[i] = std::tanh((body + 1.4f * contact) * (1 + 0.6f * (weight - 1)));
    }
    w.Finish(peak);
    return w;
}

// A body dropping on stone: duller than a blow, no smack.
Wave Thud() {
    Wave w(0.35f);
    Noise noise(21);
    Tone knock;
    Filter dull(Filter::LOW);
    for (size_t i = 0; i < w.Samples(); ++i) {
        const float t = Wave::Time(i);
        w.samples[i] = knock(Glide(t, 95, 48, 0.06f)) * Decay(t, 0.08f) +
                       0.8f * dull(noise(), 500) * Decay(t, 0.05f);
    }
    w.Finish(0.65f);
    return w;
}

// Cloth seized in a fist: a short soft rustle.
Wave Grab() {
    Wave w(0.14f);
    Noise noise(31);
    Filter cloth(Filter::BAND, 0.8f);
    Tone bump;
    for (size_t i = 0; i < w.Samples(); ++i) {
        const float t = Wave::Time(i);
        w.samples[i] = cloth(noise(), 900) * Hump(t, 0.14f, 0.5f) + 0.3f * bump(120) * Decay(t, 0.03f);
    }
    w.Finish(0.5f);
    return w;
}

// Wood on wood: a few short resonances over a click.
Wave Guard() {
    Wave w(0.15f);
    Noise noise(41);
    Filter click(Filter::BAND, 1.5f);
    Tone a, b, c;
    for (size_t i = 0; i < w.Samples(); ++i) {
        const float t = Wave::Time(i);
        w.samples[i] = a(1150) * Decay(t, 0.025f) + 0.7f * b(1870) * Decay(t, 0.018f) +
                       0.4f * c(2930) * Decay(t, 0.01f) + click(noise(), 3200) * Decay(t, 0.003f);
    }
    w.Finish(0.8f);
    return w;
}

// The heavy move hitting the floor: a boom under a roar that darkens.
Wave Burst() {
    Wave w(0.8f);
    Noise noise(51);
    Filter roar(Filter::LOW);
    Tone boom;
    for (size_t i = 0; i < w.Samples(); ++i) {
        const float t = Wave::Time(i);
        const float air = roar(noise(), Glide(t, 4000, 250, 0.15f)) * Decay(t, 0.22f) * Rise(t, 0.004f);
        const float ground = boom(Glide(t, 60, 34, 0.2f)) * Decay(t, 0.3f);
        w.samples[i] = std::tanh(1.6f * (air + ground));
    }
    w.Finish(0.7f);
    return w;
}

// Knocked off the floor: the wind of the drop, falling in pitch.
Wave Fall() {
    Wave w(0.8f);
    Noise noise(61);
    Filter wind(Filter::BAND, 1.8f);
    for (size_t i = 0; i < w.Samples(); ++i) {
        const float t = Wave::Time(i);
        w.samples[i] = wind(noise(), Glide(t, 1500, 250, 0.3f)) * Hump(t, 0.8f, 0.6f);
    }
    w.Finish(0.45f);
    return w;
}

// Into the lake: a thump, a hiss of spray, then droplets.
Wave Splash() {
    Wave w(0.75f);
    Noise noise(71);
    Noise drops(72);
    Filter spray(Filter::HIGH), soft(Filter::LOW);
    Tone thump, drop;
    float dropStart = -1, dropPitch = 0;
    for (size_t i = 0; i < w.Samples(); ++i) {
        const float t = Wave::Time(i);
        float s = 0.6f * thump(Glide(t, 110, 60, 0.05f)) * Decay(t, 0.05f);
        s += soft(spray(noise(), 500), 4500) * Decay(t, 0.12f) * Rise(t, 0.006f);
        // Now and then a droplet: a short rising chirp.
        if (t > 0.08f && drops() > 0.9992f) {
            dropStart = t;
            dropPitch = 900 + 700 * (drops() + 1);
        }
        if (dropStart >= 0) {
            const float d = t - dropStart;
            s += 0.4f * drop(dropPitch * (1 + 3 * d)) * Decay(d, 0.02f) * Decay(t, 0.35f);
        }
        w.samples[i] = s;
    }
    w.Finish(0.8f);
    return w;
}

// A ring bell struck twice: the partials of a small bell, each dying at
// its own pace.
Wave Bell() {
    const float partials[][3] = {
        // ratio to the fundamental, loudness, seconds to fade by e
        {1.0f, 1.0f, 0.5f}, {2.0f, 0.5f, 0.35f}, {2.76f, 0.45f, 0.25f},
        {3.2f, 0.25f, 0.2f}, {5.4f, 0.15f, 0.1f},
    };
    const float fundamental = 880, strikes[] = {0, 0.28f};
    Wave w(1.1f);
    for (float strike : strikes) {
        Tone tones[5];
        for (size_t i = static_cast<size_t>(strike * Wave::RATE); i < w.Samples(); ++i) {
            const float t = Wave::Time(i) - strike;
            for (int p = 0; p < 5; ++p) {
                w.samples[i] += partials[p][1] * tones[p](fundamental * partials[p][0]) *
                                Decay(t, partials[p][2]) * Rise(t, 0.002f);
            }
        }
    }
    w.Finish(0.7f);
    return w;
}

// The winner's sting: a brassy call up a major chord, the top note held.
Wave Winner() {
    const float notes[][2] = {{523.25f, 0}, {659.25f, 0.12f}, {783.99f, 0.24f}, {1046.5f, 0.36f}};
    Wave w(1.05f);
    for (const auto& note : notes) {
        const float pitch = note[0], start = note[1];
        const float held = pitch > 1000 ? 0.6f : 0.62f - start;
        Tone harmonics[6];
        for (size_t i = static_cast<size_t>(start * Wave::RATE); i < w.Samples(); ++i) {
            const float t = Wave::Time(i) - start;
            const float vibrato = 1 + 0.005f * std::sin(TAU * 5 * t) * Rise(t, 0.25f);
            const float envelope = Rise(t, 0.015f) * (t < held ? 1.0f : Decay(t - held, 0.08f));
            for (int h = 0; h < 6; ++h) {
                w.samples[i] += 0.18f * harmonics[h](pitch * (h + 1) * vibrato) * envelope /
                                std::pow(h + 1.0f, 1.3f);
            }
        }
    }
    w.Finish(0.6f);
    return w;
}

// The menu's tick as the selection moves.
Wave MenuMove() {
    Wave w(0.04f);
    Tone a, b;
    for (size_t i = 0; i < w.Samples(); ++i) {
        const float t = Wave::Time(i);
        w.samples[i] = (a(1800) + 0.3f * b(3600)) * Decay(t, 0.008f);
    }
    w.Finish(0.35f);
    return w;
}

// The menu's confirmation: two rising blips.
Wave MenuChoice() {
    Wave w(0.14f);
    Tone tone;
    for (size_t i = 0; i < w.Samples(); ++i) {
        const float t = Wave::Time(i);
        const bool second = t >= 0.05f;
        const float local = second ? t - 0.05f : t;
        w.samples[i] = tone(second ? 1500 : 1000) * Rise(local, 0.003f) * Decay(local, 0.03f);
    }
    w.Finish(0.5f);
    return w;
}

}  // namespace

void WriteSounds() {
    std::filesystem::create_directories("sounds");
    const std::map<std::string, std::function<Wave()>> made = {
        {sound::SWISH_FAST, [] { return Swish(0.16f, 700, 2600, 0.35f, 1); }},
        {sound::SWISH_MID, [] { return Swish(0.22f, 500, 1800, 0.4f, 2); }},
        {sound::SWISH_SLOW, [] { return Swish(0.32f, 250, 1000, 0.45f, 3); }},
        {sound::HIT, [] { return Blow(1, 0.7f, 11); }},
        {sound::HIT_HEAVY, [] { return Blow(1.7f, 0.75f, 12); }},
        {sound::GRAB, Grab},
        {sound::GUARD, Guard},
        {sound::BURST, Burst},
        {sound::THUD, Thud},
        {GameSounds::File(GameSounds::BELL), Bell},
        {GameSounds::File(GameSounds::WINNER), Winner},
        {GameSounds::File(GameSounds::FALL), Fall},
        {GameSounds::File(GameSounds::SPLASH), Splash},
        {GameSounds::File(GameSounds::LAND), Thud},
        {GameSounds::File(GameSounds::MENU_MOVE), MenuMove},
        {GameSounds::File(GameSounds::MENU_CHOICE), MenuChoice},
    };
    for (const auto& [file, make] : made) {
        if (!make().Write("sounds/" + file)) std::cerr << "sounds/" << file << ": cannot be written\n";
    }
}

}  // namespace content
