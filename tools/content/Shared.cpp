// The shared part of the default content: materials/ and images/ used by the
// effects, the captions, the menu and the mouse, plus the letters (Letters.cpp).
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "content/BmpWriter.h"
#include "content/Content.h"
#include "content/MatWriter.h"

namespace content {

void WriteLetters();  // Letters.cpp

namespace {

const float PI = 3.14159265f;

float Smooth(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// Distance of a pixel's centre from the image centre, 1 at the middle of an edge.
float Radius(int x, int y, int size) {
    const float h = size / 2.0f;
    const float dx = (x + 0.5f - h) / h, dy = (y + 0.5f - h) / h;
    return std::sqrt(dx * dx + dy * dy);
}

// Black -> orange -> yellow -> white, for fire and embers. Added to a blue
// sky, red without enough green turns pink: the flame stays yellowish, its
// dim fringe dark.
Vector3 Heat(float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    const float glow = Smooth(0.05f, 0.45f, t);
    return Vector3(1.0f, 0.6f + 0.35f * Smooth(0.3f, 0.85f, t), 0.05f + 0.65f * Smooth(0.7f, 1.0f, t)) *
           (glow * glow);
}

void Put(Image& image, int x, int y, const Vector3& c) { image.Set(x, y, c.x, c.y, c.z); }

// A flash: a white core, a golden halo and a four-pointed star; black edges
// so that the additive quad leaves no frame.
void Sparkle() {
    const int S = 64;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float dx = (x + 0.5f - S / 2.0f) / (S / 2.0f);
            const float dy = (y + 0.5f - S / 2.0f) / (S / 2.0f);
            const float r = std::sqrt(dx * dx + dy * dy);
            const float core = std::exp(-r * r / 0.03f);
            const float halo = std::exp(-r * r / 0.2f) * 0.6f;
            const float star = (std::exp(-std::fabs(dx) * 28) * std::exp(-std::fabs(dy) * 3.2f) +
                                std::exp(-std::fabs(dy) * 28) * std::exp(-std::fabs(dx) * 3.2f)) *
                               0.9f;
            const float edge = 1 - Smooth(0.8f, 1.0f, r);
            const float w = (core + star * 0.6f) * edge;
            const float h = halo * edge;
            Put(image, x, y, Vector3(w + h, w + h * 0.75f, w * 0.9f + h * 0.3f));
        }
    image.Write("images/sparkle.bmp");
}

// An ember: hot yellow in the middle, red at the rim.
void Particle() {
    const int S = 32;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float r = Radius(x, y, S);
            const float t = std::exp(-r * r / 0.18f) * (1 - Smooth(0.75f, 1.0f, r));
            Put(image, x, y, Heat(t * 1.15f));
        }
    image.Write("images/particle.bmp");
}

// The shock ring: the disc runs v from 0 at its outer rim to 1 at its inner
// one, and u once around. A bright front near the rim that fades inwards,
// broken into streaks that tile around the ring.
void ExplCylImage() {
    const int S = 64;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y) {
        const float v = (y + 0.5f) / S;
        const float front = Smooth(0.0f, 0.08f, v) * std::exp(-std::max(0.0f, v - 0.1f) * 3.2f) *
                            (1 - Smooth(0.85f, 1.0f, v));
        for (int x = 0; x < S; ++x) {
            const float streak = 0.55f + 0.45f * Fractal(x, y / 4, S, 8, 3, 11);
            const float t = std::min(1.0f, 1.5f * front * streak);
            Put(image, x, y, Vector3(t, t * 0.82f, t * 0.55f + 0.15f * front));
        }
    }
    image.Write("images/explcyl.bmp");
}

// Chrome-like bands running down a letter: v 0 is its top.
Vector3 LetterBands(float v) {
    const float sky = 1 - 0.45f * v / 0.48f;           // bright top, darkening
    const float horizon = 0.22f + 0.5f * (v - 0.52f);  // dark line, then ground glow
    const float t = v < 0.48f ? sky : v < 0.52f ? 0.4f : horizon + 0.25f;
    return {t, t, t};
}

// Gold letters for the winner captions (24-bit) and a grey version for the
// menu entries, whose materials tint it (8-bit).
void LetterImages() {
    const int S = 64;
    Image gold(S, S, true), grey(S, S, false);
    for (int y = 0; y < S; ++y) {
        const float v = (y + 0.5f) / S;
        const float t = LetterBands(v).x;
        for (int x = 0; x < S; ++x) {
            const float grain = 0.93f + 0.07f * Fractal(x, y, S, 8, 2, 5);
            Put(gold, x, y, Vector3(1.0f, 0.78f, 0.38f) * (t * grain) + Vector3(0.1f, 0.06f, 0));
            grey.Set(x, y, 0.25f + 0.75f * t * grain);
        }
    }
    gold.Write("images/gold.bmp");
    grey.Write("images/chrome.bmp");
}

// Weathered grey stone with darker veins; tiles.
void Stone() {
    const int S = 128;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float n = Fractal(x, y, S, 4, 5, 21);
            const float vein = std::fabs(Fractal(x, y, S, 3, 4, 22) - 0.5f);
            const float t = 0.55f + 0.45f * n - 0.25f * (1 - Smooth(0.0f, 0.04f, vein));
            Put(image, x, y, Vector3(0.62f, 0.6f, 0.56f) * t);
        }
    image.Write("images/stone.bmp");
}

// Fine warm sand; tiles.
void Sand() {
    const int S = 128;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float n = Fractal(x, y, S, 16, 3, 31);
            const float ripple = 0.5f + 0.5f * std::sin((y + 6 * Fractal(x, y, S, 4, 2, 32)) *
                                                        2 * PI * 8 / S);
            const float t = 0.75f + 0.17f * n + 0.08f * ripple;
            Put(image, x, y, Vector3(0.86f, 0.74f, 0.52f) * t);
        }
    image.Write("images/sand.bmp");
}

// Water ripples: deep blue-green with lighter crests; tiles (the water
// repeats it every 60 units).
void Water() {
    const int S = 128;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float a = Fractal(x, y, S, 4, 4, 41);
            const float b = Fractal(x, y, S, 8, 3, 42);
            const float crest = 1 - std::fabs(a - 0.5f) * 2;  // ridges where a crosses 0.5
            const float t = std::pow(crest, 6.0f) * 0.35f + b * 0.1f;
            Put(image, x, y, Vector3(0.06f, 0.2f, 0.26f) + Vector3(0.45f, 0.6f, 0.6f) * t);
        }
    image.Write("images/water.bmp");
}

// The sky seen in the water: blue, paler towards the edges (the horizon,
// where the reflected rays run flat), with soft clouds; tiles.
void Sky() {
    const int S = 128;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float r = std::min(1.0f, Radius(x, y, S));
            const float cloud = Smooth(0.5f, 0.8f, Fractal(x, y, S, 4, 5, 51));
            const Vector3 blue = Vector3(0.32f, 0.5f, 0.78f) * (1 - r) + Vector3(0.66f, 0.74f, 0.84f) * r;
            Put(image, x, y, blue * (1 - cloud) + Vector3(0.95f, 0.95f, 0.97f) * cloud);
        }
    image.Write("images/sky.bmp");
}

// Eight frames of a flame licking upwards, for an animated bitmap list
// (images/fire.bml). The noise scrolls up by one eighth of its period per
// frame, so the loop has no seam. The flame's foot is the picture's bottom.
void Fire() {
    const int S = 64, FRAMES = 8, CELLS = 4;
    std::ofstream list("images/fire.bml");
    list << FRAMES << '\n';
    for (int f = 0; f < FRAMES; ++f) {
        Image image(S, S, true);
        for (int y = 0; y < S; ++y)
            for (int x = 0; x < S; ++x) {
                const float h = 1 - (y + 0.5f) / S;  // height above the foot, 0..1
                const float across = (x + 0.5f) / S - 0.5f;
                // The noise scrolls upwards: sample it lower as frames pass.
                const int shift = f * S / FRAMES;
                const float n = Fractal(x, y + shift, S, CELLS, 4, 61);
                const float sway = (n - 0.5f) * 0.22f * h;
                const float width = 0.4f * std::pow(1 - h, 0.6f) + 0.02f;
                const float body = 1 - std::fabs(across + sway) / width;
                float t = body * 1.3f - h * 0.55f + (n - 0.5f) * 0.8f;
                t *= Smooth(0.0f, 0.12f, h + 0.02f) * (1 - Smooth(0.85f, 1.0f, h));
                Put(image, x, y, Heat(t));
            }
        const std::string name = "fire" + std::to_string(f) + ".bmp";
        image.Write("images/" + name);
        list << name << '\n';
    }
}

void Materials() {
    MatSpec sparkle;  // the flat keeps its own quad coordinates; Sparkle sets the emission
    sparkle.image = "sparkle.bmp";
    sparkle.map = "NONE";
    sparkle.clampR = false;
    sparkle.ambient = sparkle.diffuse = Vector3(0, 0, 0);
    sparkle.emission = Vector3(1, 1, 1);
    sparkle.blend = "ONE";
    WriteMaterial("materials/sparkle.mat", sparkle);

    MatSpec particle = sparkle;
    particle.image = "particle.bmp";
    WriteMaterial("materials/particle.mat", particle);

    MatSpec ring = sparkle;  // additive, and a little translucent: alpha scales nothing
    ring.image = "explcyl.bmp";
    ring.emission = Vector3(0.9f, 0.85f, 0.8f);
    ring.alpha = 0.7f;
    WriteMaterial("materials/explcyl.mat", ring);

    MatSpec white;  // the mouse cursor: plain, unlit lines
    white.ambient = white.diffuse = white.emission = Vector3(1, 1, 1);
    WriteMaterial("materials/white.mat", white);

    MatSpec caption;  // the letters are mapped flat on their face: v runs down a letter
    caption.image = "gold.bmp";
    caption.map = "PLANARZ";
    caption.clampR = false;
    caption.ambient = Vector3(0.7f, 0.6f, 0.4f);
    caption.diffuse = Vector3(1, 0.92f, 0.7f);
    caption.emission = Vector3(0.3f, 0.24f, 0.12f);
    WriteMaterial("materials/strmat.mat", caption);

    // Menu entries. They share the caption letters' mapping (the last String3D::Map wins).
    // Dark steel against the sky-coloured background, bright orange when chosen.
    MatSpec normal = caption;
    normal.image = "chrome.bmp";
    normal.ambient = Vector3(0.25f, 0.3f, 0.45f);
    normal.diffuse = Vector3(0.35f, 0.42f, 0.6f);
    normal.emission = Vector3(0.06f, 0.08f, 0.16f);
    WriteMaterial("materials/menutext1.mat", normal);

    MatSpec highlight = caption;
    highlight.image = "chrome.bmp";
    highlight.ambient = Vector3(0.8f, 0.45f, 0.1f);
    highlight.diffuse = Vector3(1, 0.6f, 0.15f);
    highlight.emission = Vector3(1, 0.55f, 0.08f);
    WriteMaterial("materials/menutext2.mat", highlight);
}

}  // namespace

void WriteShared() {
    std::filesystem::create_directories("materials");
    std::filesystem::create_directories("images");
    std::filesystem::create_directories("letters");
    Sparkle();
    Particle();
    ExplCylImage();
    LetterImages();
    Stone();
    Sand();
    Water();
    Sky();
    Fire();
    Materials();
    WriteLetters();
}

}  // namespace content
