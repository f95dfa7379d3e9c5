// The default arena: a stone platform in a mountain lake.
//
// A raised platform of flagstones (its top at y 0) stands in water that
// reaches to the mountains; four tall pillars carry braziers at its corners,
// rocks, ruined columns and a gate stand about in the water, wooded islands
// lie further out, and clouds and the sun hang in the sky. Everything that
// rises out of the water has a mirrored copy below the surface, seen through
// the translucent water (Parts 6.1, 6.2, 6.3).
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "content/BmpWriter.h"
#include "content/Content.h"
#include "content/MatWriter.h"
#include "content/MeshWriter.h"

namespace content {

const char* const ARENA_NAME = "lakeshrine";

namespace {

const float PI = 3.14159265f;

// Water puts its surface at 28 below its own position, give or
// take its waves (up to 6); the water object stands at y 0. Mirror images are
// taken in this plane.
const float WATER_Y = -28;
// The feet of everything that stands in the water: below the lowest wave.
const float DEEP = -64;

const float FLOOR_HALF = 230;   // the flagstone slab, a little wider than the fighting area
const float ARENA_SIZE = 450;   // fighters are kept within +-225
const float FALL_DEPTH = -300;  // where a fighter thrown off comes to rest

// The sun, behind the fight camera's left shoulder at the start (the fighters
// stand at z = +-60 and the camera looks along +x): both fighters show their
// lit side, their shadows fall behind them on the floor, and the flare stays
// out of the way until the camera turns towards the sun. Its light comes from
// 38 degrees up; the disc hangs lower in the sky, where the camera can find it.
// The more squarely the sun stands behind the camera, the shorter the shadow
// volumes look on the screen, and a software renderer pays for every pixel
// they cover; a little to the left, the shadows still show beside the fighters.
const Vector3 SUN_AZIMUTH = Vector3(-0.88f, 0, 0.48f);
const float SUN_ELEVATION = 0.66f;  // radians
const Vector3 SUN_LIGHT_FROM =
    SUN_AZIMUTH * std::cos(SUN_ELEVATION) + Vector3(0, std::sin(SUN_ELEVATION), 0);
const Vector3 SUN_DISC = (SUN_AZIMUTH * std::cos(0.35f) + Vector3(0, std::sin(0.35f), 0)) * 950;

using Profile = std::vector<std::pair<float, float>>;  // (y, radius), bottom to top

std::string Dir() { return std::string("scenes/") + ARENA_NAME + "/"; }

float Smooth(float e0, float e1, float x) {
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

float Hash(int i, unsigned seed) {
    uint32_t h = static_cast<uint32_t>(i) * 2654435761u ^ (seed * 40503u + 0x9E3779B9u);
    h = (h ^ (h >> 15)) * 2246822519u;
    h ^= h >> 13;
    return static_cast<float>(h & 0xFFFFFF) / 16777215.0f;
}

Vector3 Mix(const Vector3& a, const Vector3& b, float t) { return a * (1 - t) + b * t; }

void Put(Image& image, int x, int y, const Vector3& c) { image.Set(x, y, c.x, c.y, c.z); }

// ---------------------------------------------------------------- images

// The floor seen from above, once across the slab: eight by eight worn
// flagstones, a dark border, and an inlaid ring with a sandstone star at the
// centre where the fighters meet.
void FloorImage() {
    const int S = 512, TILES = 8, T = S / TILES;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const int tx = x / T, ty = y / T;
            const int ex = std::min(x % T, T - 1 - x % T), ey = std::min(y % T, T - 1 - y % T);
            const float edge = static_cast<float>(std::min(ex, ey));
            const float tint = 0.82f + 0.18f * Hash(tx * 17 + ty * 131, 7);
            const float grain = 0.78f + 0.22f * Fractal(x, y, S, 16, 4, 71);
            const float wear = Fractal(x, y, S, 4, 3, 72);
            Vector3 c = Vector3(0.7f, 0.66f, 0.58f) * (tint * grain);
            c = c * (0.8f + 0.2f * Smooth(0.0f, 5.0f, edge));  // bevelled stone edges
            if (edge < 0.5f) c = Vector3(0.34f, 0.32f, 0.29f) * grain;  // mortar

            const float dx = (x + 0.5f) / (S / 2.0f) - 1, dy = (y + 0.5f) / (S / 2.0f) - 1;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float cheb = std::max(std::fabs(dx), std::fabs(dy));
            const float angle = std::atan2(dy, dx);
            const Vector3 dark = Vector3(0.42f, 0.22f, 0.17f) * grain;
            const Vector3 sand = Vector3(0.86f, 0.74f, 0.52f) * grain;
            if (cheb > 0.9f && cheb < 0.95f) c = dark;
            if (r > 0.4f && r < 0.445f) c = dark;
            if (r > 0.24f && r < 0.26f) c = dark;
            const float star = 0.22f * (0.4f + 0.6f * std::pow(std::fabs(std::cos(4 * angle)), 4.0f));
            if (r < star) c = sand * (0.9f + 0.1f * std::cos(8 * angle));
            if (r < 0.05f) c = dark;
            // Worn paths, darker where feet have gone most.
            c = c * (0.9f + 0.1f * wear) * (0.92f + 0.08f * Smooth(0.0f, 0.5f, r));
            Put(image, x, y, c);
        }
    image.Write("images/lake_floor.bmp");
}

// Courses of dressed stone for the platform's sides: four courses, blocks
// offset from course to course, a green-brown water stain low down.
void BlocksImage() {
    const int S = 128, COURSES = 4, BLOCKS = 2;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const int course = y * COURSES / S;
            const int shift = (course % 2) * S / (2 * BLOCKS);
            const int bx = ((x + shift) % S) * BLOCKS / S;
            const int cy = y % (S / COURSES), cx = (x + shift) % (S / BLOCKS);
            const int edge = std::min(std::min(cy, S / COURSES - 1 - cy), std::min(cx, S / BLOCKS - 1 - cx));
            const float tint = 0.85f + 0.15f * Hash(course * 7 + bx, 9);
            const float grain = 0.75f + 0.25f * Fractal(x, y, S, 8, 4, 81);
            Vector3 c = Vector3(0.62f, 0.6f, 0.54f) * (tint * grain);
            c = c * (0.75f + 0.25f * Smooth(0.0f, 4.0f, static_cast<float>(edge)));
            if (edge < 1) c = Vector3(0.18f, 0.17f, 0.15f);
            const float v = (y + 0.5f) / S;
            c = Mix(c, Vector3(0.2f, 0.26f, 0.16f) * grain, 0.65f * Smooth(0.45f, 0.8f, v));
            Put(image, x, y, c);
        }
    image.Write("images/lake_blocks.bmp");
}

// Pale veined marble for the pillars, with soft vertical flutes.
void MarbleImage() {
    const int S = 128;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float n = Fractal(x, y, S, 4, 5, 91);
            const float vein = std::fabs(std::sin((x * 0.05f + y * 0.02f + n * 6) * PI));
            const float flute = 0.88f + 0.12f * std::fabs(std::sin((x + 0.5f) * PI * 8 / S));
            const float t = (0.8f + 0.2f * n) * (0.88f + 0.12f * std::pow(vein, 0.3f)) * flute;
            const float v = (y + 0.5f) / S;
            Vector3 c = Vector3(0.9f, 0.87f, 0.8f) * t;
            c = Mix(c, Vector3(0.3f, 0.33f, 0.25f) * t, 0.5f * Smooth(0.78f, 0.95f, v));
            Put(image, x, y, c);
        }
    image.Write("images/lake_marble.bmp");
}

// Dark lichen-spotted rock.
void RockImage() {
    const int S = 128;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float n = Fractal(x, y, S, 8, 5, 101);
            const float lichen = Smooth(0.6f, 0.7f, Fractal(x, y, S, 4, 4, 102));
            Vector3 c = Vector3(0.48f, 0.45f, 0.42f) * (0.6f + 0.5f * n);
            c = Mix(c, Vector3(0.55f, 0.58f, 0.36f) * (0.7f + 0.3f * n), 0.6f * lichen);
            Put(image, x, y, c);
        }
    image.Write("images/lake_rock.bmp");
}

// An island from its crown down: grass, then a sandy beach at the water.
void IslandImage() {
    const int S = 128;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float v = (y + 0.5f) / S;
            const float n = Fractal(x, y, S, 8, 4, 111);
            const Vector3 grass = Vector3(0.3f, 0.45f, 0.2f) * (0.7f + 0.4f * n);
            const Vector3 sand = Vector3(0.8f, 0.72f, 0.52f) * (0.85f + 0.2f * n);
            Put(image, x, y, Mix(grass, sand, Smooth(0.55f, 0.7f, v + 0.1f * (n - 0.5f))));
        }
    image.Write("images/lake_island.bmp");
}

// Pine needles: dark green, darker at the foot of each tree.
void PineImage() {
    const int S = 64;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float n = Fractal(x, y, S, 16, 3, 121);
            const float v = (y + 0.5f) / S;
            const float t = (0.7f + 0.5f * n) * (1 - 0.4f * v);
            Put(image, x, y, Vector3(0.13f, 0.28f, 0.15f) * t);
        }
    image.Write("images/lake_pine.bmp");
}

// The mountains, mapped round the ring (u) and from the highest peak down (v):
// snow, grey rock, then forest at the lake.
void MountainImage() {
    const int W = 256, H = 128;
    Image image(W, H, true);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const float v = (y + 0.5f) / H;
            const float n = Fractal(x, y * 2, W, 8, 5, 131);
            const float streak = Fractal(x, y / 4, W, 32, 2, 132);
            // Far away: blue-grey, with little contrast left.
            const Vector3 snow = Vector3(0.93f, 0.95f, 1.0f) * (0.9f + 0.1f * n);
            const Vector3 rock = Vector3(0.52f, 0.56f, 0.64f) * (0.75f + 0.35f * n) * (0.9f + 0.1f * streak);
            const Vector3 forest = Vector3(0.3f, 0.4f, 0.42f) * (0.8f + 0.3f * n);
            const float snowLine = Smooth(0.3f, 0.18f, v + 0.15f * (n - 0.5f) + 0.1f * (streak - 0.5f));
            const float forestLine = Smooth(0.55f, 0.75f, v + 0.12f * (n - 0.5f));
            Put(image, x, y, Mix(Mix(rock, forest, forestLine), snow, snowLine));
        }
    image.Write("images/lake_mountain.bmp");
}

// A soft cumulus on black (the clouds are added to the sky): bright tops,
// bluish undersides.
void CloudImage() {
    const int W = 128, H = 64, PUFFS = 7;
    Image image(W, H, true);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const float dx = (x + 0.5f) / W * 2 - 1, dy = (y + 0.5f) / H * 2 - 1;
            // Puffs along a flat base, the middle ones biggest.
            float body = 0;
            for (int i = 0; i < PUFFS; ++i) {
                const float cx = -0.62f + 1.24f * i / (PUFFS - 1) + 0.08f * (Hash(i, 3) - 0.5f);
                const float size = 0.55f - 0.3f * std::fabs(cx) + 0.12f * Hash(i, 4);
                const float cy = 0.35f - size * 0.9f;
                const float ex = (dx - cx) / (size * 0.55f), ey = (dy - cy) / size;
                body = std::max(body, 1 - (ex * ex + ey * ey));
            }
            const float n = Fractal(x, y * 2, W, 8, 4, 141);
            const float base = 1 - Smooth(0.25f, 0.45f, dy);
            const float d = Smooth(0.0f, 0.5f, body + (n - 0.5f) * 0.5f) * base *
                            (1 - Smooth(0.85f, 1.0f, std::max(std::fabs(dx), std::fabs(dy))));
            const float light = 1 - 0.5f * Smooth(-0.6f, 0.45f, dy);
            Put(image, x, y, Mix(Vector3(0.5f, 0.56f, 0.7f), Vector3(1, 0.98f, 0.94f), light) * d);
        }
    image.Write("images/lake_cloud.bmp");
}

// The sun: a white disc in a warm glow that falls to black at the edges.
void SunImage() {
    const int S = 128;
    Image image(S, S, true);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float dx = (x + 0.5f) / (S / 2.0f) - 1, dy = (y + 0.5f) / (S / 2.0f) - 1;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float disc = 1 - Smooth(0.14f, 0.18f, r);
            const float glow = std::exp(-r * r / 0.08f) * 0.7f + std::exp(-r * 6) * 0.3f;
            const float fade = 1 - Smooth(0.85f, 1.0f, r);
            const Vector3 c = Vector3(1, 1, 0.96f) * disc + Vector3(1, 0.78f, 0.45f) * (glow * (1 - disc));
            Put(image, x, y, c * fade);
        }
    image.Write("images/lake_sun.bmp");
}

// Grey flare shapes; the flare materials colour them.
void FlareImages() {
    const int S = 64;
    Image glow(S, S, false), ring(S, S, false), disc(S, S, false), hex(S, S, false);
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) {
            const float dx = (x + 0.5f) / (S / 2.0f) - 1, dy = (y + 0.5f) / (S / 2.0f) - 1;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float fade = 1 - Smooth(0.9f, 1.0f, r);
            glow.Set(x, y, std::exp(-r * r / 0.1f) * fade);
            ring.Set(x, y, std::exp(-std::pow((r - 0.75f) / 0.07f, 2.0f)) * fade);
            disc.Set(x, y, (0.55f + 0.45f * Smooth(0.5f, 0.8f, r)) * (1 - Smooth(0.78f, 0.84f, r)));
            float h = 0;  // distance to a hexagon's edge
            const float a = std::atan2(dy, dx);
            const float sector = std::fmod(a + PI * 2, PI / 3) - PI / 6;
            h = r * std::cos(sector);
            hex.Set(x, y, 0.6f * (1 - Smooth(0.7f, 0.76f, h)) + 0.4f * std::exp(-r * r / 0.2f) * fade);
        }
    glow.Write("images/lake_flareglow.bmp");
    ring.Write("images/lake_flarering.bmp");
    disc.Write("images/lake_flaredisc.bmp");
    hex.Write("images/lake_flarehex.bmp");
}

// ---------------------------------------------------------------- shapes

// The part of a profile at or above `cut`, with a ring exactly at `cut`.
Profile Cut(const Profile& profile, float cut) {
    Profile out;
    for (size_t i = 0; i < profile.size(); ++i) {
        if (profile[i].first >= cut) {
            if (out.empty() && i > 0 && profile[i].first > cut) {
                const auto& a = profile[i - 1];
                const auto& b = profile[i];
                const float t = (cut - a.first) / (b.first - a.first);
                out.push_back({cut, a.second + (b.second - a.second) * t});
            }
            out.push_back(profile[i]);
        }
    }
    return out;
}

// A square band between the profile's rings (y, half-size): the sides facing
// +-x (xSides) or +-z, mitred at the corners, so that each pair can take a
// flat mapping of its own.
MeshBuilder SquareSides(const Profile& profile, bool xSides) {
    MeshBuilder mesh;
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        const float y0 = profile[i].first, h0 = profile[i].second;
        const float y1 = profile[i + 1].first, h1 = profile[i + 1].second;
        if (y0 == y1 && h0 == h1) continue;
        const Vector3 slope(0, h0 - h1, 0);  // outward tilt of a flaring band
        for (int s = -1; s <= 1; s += 2) {
            if (xSides) {
                mesh.Polygon({{s * h0, y0, -h0}, {s * h0, y0, h0}, {s * h1, y1, h1}, {s * h1, y1, -h1}},
                             Vector3(static_cast<float>(s), 0, 0) * std::max(1e-3f, y1 - y0) + slope);
            } else {
                mesh.Polygon({{-h0, y0, s * h0}, {h0, y0, s * h0}, {h1, y1, s * h1}, {-h1, y1, s * h1}},
                             Vector3(0, 0, static_cast<float>(s)) * std::max(1e-3f, y1 - y0) + slope);
            }
        }
    }
    return mesh;
}

// The platform's sides below the slab: a wall, then a skirt flaring out into
// the water. The mirror copy also shows the slab's edge.
Profile PlinthProfile(bool withSlabEdge) {
    Profile p = {{DEEP, 262}, {-40, 262}, {-14, 222}, {-3, 222}};
    if (withSlabEdge) {
        p.push_back({-4, FLOOR_HALF});
        p.push_back({0, FLOOR_HALF});
    }
    return p;
}

// A pillar with a base, a shaft, a capital and a brazier bowl on top.
Profile PillarProfile() {
    return {{DEEP, 24}, {-10, 24}, {-10, 24}, {-6, 21}, {-2, 16}, {-2, 16},
            {60, 15.5f}, {128, 14}, {128, 14}, {134, 19}, {140, 21}, {140, 24}, {146, 24},
            {146, 9}, {150, 7}, {154, 10}, {154, 10}, {162, 20}, {166, 23}, {166, 20}};
}
const float PILLAR_TOP = 166;

// A broken column: the pillar's lower part, snapped off at `height`.
Profile RuinProfile(float height) {
    Profile p;
    for (const auto& ring : PillarProfile())
        if (ring.first < height) p.push_back(ring);
    p.push_back({height, 15.5f});
    return p;
}

MeshBuilder Lathe(const Profile& profile, int segments) {
    MeshBuilder mesh;
    mesh.Lathe(Vector3(0, 0, 0), profile, segments);
    return mesh;
}

// A rough boulder: a lathe whose rings are pushed in and out by noise
// (a function of the place only, so the mirror copy matches), faceted.
MeshBuilder Rock(float radius, float height, unsigned seed, float cut) {
    const Profile full = {{DEEP, radius}, {-20, radius}, {height * 0.35f, radius * 0.92f},
                          {height * 0.7f, radius * 0.62f}, {height * 0.92f, radius * 0.3f},
                          {height, 0}};
    const int SEGMENTS = 11;
    MeshBuilder mesh;
    mesh.Lathe(Vector3(0, 0, 0), Cut(full, cut), SEGMENTS, true, [&](int, int k, const Vector3& p) {
        const float bump = 0.7f + 0.6f * Noise(static_cast<float>(k), p.y / 25, SEGMENTS, seed);
        const float lean = 0.15f * radius * std::max(0.0f, p.y) / height;
        return Vector3(p.x * bump + lean, p.y, p.z * bump);
    });
    mesh.Facet();
    return mesh;
}

// An island: a low mound with a beach, and pine trees on its crown.
Profile IslandProfile(float radius) {
    return {{DEEP, radius}, {-24, radius}, {-18, radius * 0.88f}, {6, radius * 0.66f},
            {24, radius * 0.38f}, {32, radius * 0.12f}, {34, 0}};
}

MeshBuilder Island(float radius, unsigned seed, float cut) {
    const int SEGMENTS = 14;
    MeshBuilder mesh;
    mesh.Lathe(Vector3(0, 0, 0), Cut(IslandProfile(radius), cut), SEGMENTS, true,
               [&](int, int k, const Vector3& p) {
                   const float bump = 0.8f + 0.4f * Noise(static_cast<float>(k) / 2, 0, SEGMENTS / 2, seed);
                   return Vector3(p.x * bump, p.y, p.z * bump);
               });
    return mesh;
}

// Pines on an island's crown: stacked cones, standing on the mound.
MeshBuilder Pines(float radius, unsigned seed, float cut) {
    MeshBuilder mesh;
    const int COUNT = 5;
    for (int i = 0; i < COUNT; ++i) {
        const float a = 2 * PI * (i + Hash(i, seed)) / COUNT;
        const float d = radius * (0.15f + 0.4f * Hash(i + 50, seed));
        const float ground = 30 - 40 * d / radius;
        const float h = 70 + 60 * Hash(i + 100, seed);
        const Vector3 base(d * std::cos(a), ground, d * std::sin(a));
        if (ground < cut) continue;
        for (int tier = 0; tier < 3; ++tier) {
            const float y = h * (0.12f + 0.26f * tier);
            const float r = h * (0.3f - 0.07f * tier);
            mesh.Frustum(base + Vector3(0, y, 0), r, 0, h * 0.45f, 6);
        }
        // The trunk's ends are inside the mound and the lowest tier.
        mesh.Cylinder(base, h * 0.05f, h * 0.14f, 4, false);
    }
    return mesh;
}

// The mountains all round the lake: for each of many directions a cross
// section from the foot (in the water) up to the ridge. Their far side would
// face away from every place a camera can be: it is left out. Rings run
// across the sections, from the foot upwards.
std::vector<std::vector<Vector3>> MountainRings() {
    const int SEGMENTS = 48;
    const float dist[] = {3250, 3420, 3620, 3780};
    const float rise[] = {0, 0.3f, 0.72f, 1};
    const int RINGS = 4;
    std::vector<std::vector<Vector3>> rings(RINGS);
    for (int k = 0; k < SEGMENTS; ++k) {
        const float a = 2 * PI * k / SEGMENTS;
        // Peaks: a few broad swells and sharper summits, periodic round the ring.
        const float swell = 0.5f + 0.25f * std::sin(3 * a + 1.3f) + 0.25f * std::sin(5 * a + 0.4f);
        const float summits = std::pow(Noise(static_cast<float>(k) / 4, 0.5f, SEGMENTS / 4, 151), 2.0f);
        const float jag = Noise(static_cast<float>(k), 0.5f, SEGMENTS, 152);
        const float height = 110 + 250 * swell + 260 * summits + 40 * jag;
        const float wobble = 1 + 0.06f * (Noise(static_cast<float>(k) / 2, 3.5f, SEGMENTS / 2, 153) - 0.5f);
        for (int r = 0; r < RINGS; ++r) {
            const float y = r == 0 ? -40 : height * rise[r];
            rings[r].push_back(Vector3(std::cos(a), 0, std::sin(a)) * (dist[r] * wobble) + Vector3(0, y, 0));
        }
    }
    return rings;
}

MeshBuilder Mountains(float cut) {
    std::vector<std::vector<Vector3>> rings = MountainRings();
    if (cut > -40) {  // the foot lies at -40: move it up to the cut along the slope
        for (size_t k = 0; k < rings[0].size(); ++k) {
            Vector3& foot = rings[0][k];
            const Vector3& up = rings[1][k];
            foot = foot + (up - foot) * ((cut - foot.y) / (up.y - foot.y));
        }
    }
    MeshBuilder mesh;
    mesh.Loft(rings, true);
    return mesh;
}

// A stone gate facing the platform across the water.
MeshBuilder Gate(float cut) {
    MeshBuilder mesh;
    const float bottom = std::max(cut, DEEP);
    mesh.Box({-14, bottom, -110}, {14, 190, -80});
    mesh.Box({-14, bottom, 80}, {14, 190, 110});
    mesh.Box({-18, 190, -140}, {18, 212, 140});
    mesh.Box({-12, 150, -80}, {12, 164, 80});
    return mesh;
}

// Billboards stand in their x-y plane facing -z, as Flat turns them to the camera.
MeshBuilder Billboard(float width, float height, float bottom) {
    MeshBuilder mesh;
    mesh.Polygon({{-width / 2, bottom, 0}, {width / 2, bottom, 0}, {width / 2, bottom + height, 0},
                  {-width / 2, bottom + height, 0}},
                 {0, 0, -1});
    return mesh;
}

// ---------------------------------------------------------------- writing

struct Bounds {
    Vector3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    explicit Bounds(const MeshBuilder& mesh) {
        for (const Vector3& p : mesh.positions) {
            lo = Vector3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
            hi = Vector3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
        }
    }
};

// Mesh::RemapCoords maps a coordinate c as t = (c - A) / (B - A) with the
// mesh's own bounds. The mirror copy has other bounds (it is cut at the water)
// and, on y, mirrored values; this is the scale and offset that take its t
// back to the original's, so the texture lines up in the reflection.
void Realign(float aOrig, float bOrig, float aMirror, float bMirror, bool mirrored, float& scale,
             float& offset) {
    const float span = bOrig - aOrig;
    if (mirrored) {
        offset = (2 * WATER_Y - aMirror - aOrig) / span;
        scale = -(bMirror - aMirror) / span;
    } else {
        offset = (aMirror - aOrig) / span;
        scale = (bMirror - aMirror) / span;
    }
}

class SceneWriter {
public:
    SceneWriter() : dir(Dir()) {
        std::filesystem::create_directories(dir + "materials");
    }

    void Material(const std::string& name, const MatSpec& surface) {
        WriteMaterial(dir + "materials/" + name + ".mat", surface);
    }

    // A solid standing in the water: its mesh as built by build(DEEP), and
    // the mirror image of the part above the water, build(WATER_Y) turned
    // upside down in the water plane, with a material of its own whose
    // mapping matches the original's and whose light is softer (the mirror
    // copy's faces point the wrong way for the sun).
    void Solid(const std::string& name, const std::function<MeshBuilder(float)>& build,
               const MatSpec& surface) {
        const MeshBuilder real = build(DEEP);
        MeshBuilder mirror = build(WATER_Y);
        mirror.MirrorY(WATER_Y);
        real.Write(dir + name + ".asc", false, name);
        mirror.Write(dir + name + "_r.asc", false, name + " mirrored");
        Material(name, surface);
        Material(name + "_r", MirrorMaterial(surface, Bounds(real), Bounds(mirror)));
    }
    // Places a solid (at water level: its y must be 0) and its mirror copy.
    void Place(const std::string& name, float x, float z) {
        Record("STATIC", false, name + ".asc", name + ".mat", Vector3(x, 0, z));
        Record("STATIC", true, name + "_r.asc", name + "_r.mat", Vector3(x, 0, z));
    }

    void Mesh(const std::string& name, const MeshBuilder& mesh) {
        mesh.Write(dir + name + ".asc", false, name);
    }
    void Record(const std::string& type, bool reflect, const std::string& mesh,
                const std::string& material, const Vector3& pos) {
        std::ostringstream out;
        out << type << ' ' << (reflect ? "R" : "-") << ' ' << mesh << " 0 " << material << ' '
            << pos.x << ' ' << pos.y << ' ' << pos.z;
        records.push_back(out.str());
    }

    void Finish(const std::string& fog, const std::string& background) const {
        std::ofstream out(dir + "scene.sdf");
        out << fog << '\n' << background << '\n' << ARENA_SIZE << ' ' << FALL_DEPTH << '\n'
            << records.size() << '\n';
        for (const std::string& record : records) out << record << '\n';
    }

    const std::string dir;

private:
    static MatSpec MirrorMaterial(const MatSpec& surface, const Bounds& o, const Bounds& m) {
        MatSpec r = surface;
        r.ambient = surface.ambient * 0.85f + surface.diffuse * 0.3f;
        r.diffuse = surface.diffuse * 0.35f;
        r.emission = surface.emission * 0.6f;
        float su = 1, ou = 0, sv = 1, ov = 0;
        // (A, B) of each rule of Mesh::RemapCoords.
        if (surface.map == "PLANARX") {
            Realign(o.hi.z, o.lo.z, m.hi.z, m.lo.z, false, su, ou);
            Realign(o.hi.y, o.lo.y, m.hi.y, m.lo.y, true, sv, ov);
        } else if (surface.map == "PLANARZ") {
            // u = (x - maxX) / (maxX - minX): A = maxX, B = 2 maxX - minX.
            Realign(o.hi.x, 2 * o.hi.x - o.lo.x, m.hi.x, 2 * m.hi.x - m.lo.x, false, su, ou);
            Realign(o.hi.y, o.lo.y, m.hi.y, m.lo.y, true, sv, ov);
        } else if (surface.map == "PLANARY") {
            Realign(o.lo.x, o.hi.x, m.lo.x, m.hi.x, false, su, ou);
            Realign(o.hi.z, o.lo.z, m.hi.z, m.lo.z, false, sv, ov);
        } else if (surface.map == "CYL") {
            Realign(o.hi.y, o.lo.y, m.hi.y, m.lo.y, true, sv, ov);
        }
        // Then the original's own scale and offset.
        r.scaleU = surface.scaleU * su;
        r.offsetU = surface.scaleU * ou + surface.offsetU;
        r.scaleV = surface.scaleV * sv;
        r.offsetV = surface.scaleV * ov + surface.offsetV;
        return r;
    }

    std::vector<std::string> records;
};

MatSpec Stone(const std::string& image, const std::string& map, float scaleU, float scaleV) {
    MatSpec m;
    m.image = image;
    m.map = map;
    m.scaleU = scaleU;
    m.scaleV = scaleV;
    m.clampR = map == "CYL";  // splits the wrap-around seam of a repeated CYL texture
    m.ambient = Vector3(0.85f, 0.85f, 0.85f);
    m.diffuse = Vector3(0.9f, 0.9f, 0.88f);
    return m;
}

// Additive, unlit: the billboards, the sun and the fire.
MatSpec Glow(const std::string& image, const Vector3& emission) {
    MatSpec m;
    m.image = image;
    m.map = "PLANARZ";
    m.clampR = false;
    m.ambient = m.diffuse = Vector3(0, 0, 0);
    m.emission = emission;
    m.blend = "ONE";
    return m;
}

// Its mirror: upside down (the quad hangs from the water plane) and dimmer.
MatSpec GlowMirror(MatSpec m, float dim) {
    m.scaleV = -1;
    m.offsetV = 1;
    m.emission = m.emission * dim;
    return m;
}

void Lights(const std::string& dir) {
    std::ofstream out(dir + "lights.txt");
    const Vector3 sun = SUN_LIGHT_FROM.Normalized() * -1;
    out << "AMBIENT 0.34 0.36 0.42\n"
        << "3\n"
        // Light 0, the sun: both shadow methods follow it.
        << "DIRECTIONAL 1.0 0.9 0.74  " << sun.x << ' ' << sun.y << ' ' << sun.z << '\n'
        // Sky light from the other side, so faces turned from the sun keep their shape.
        << "DIRECTIONAL 0.3 0.36 0.48  -0.55 -0.45 0.7\n"
        // Light thrown back up by the lake.
        << "DIRECTIONAL 0.1 0.14 0.16  0 1 0\n";
}

void LensFlare(SceneWriter& scene) {
    struct Flare { const char* name; const char* image; Vector3 colour; };
    const Flare materials[] = {
        {"flare_glow", "lake_flareglow.bmp", {1.2f, 1.1f, 0.9f}},
        {"flare_ring", "lake_flarering.bmp", {0.5f, 0.8f, 0.6f}},
        {"flare_disc", "lake_flaredisc.bmp", {0.8f, 0.5f, 0.25f}},
        {"flare_blue", "lake_flaredisc.bmp", {0.3f, 0.45f, 0.9f}},
        {"flare_hex", "lake_flarehex.bmp", {0.6f, 0.55f, 0.85f}},
    };
    std::ofstream out(scene.dir + "lensflare.txt");
    out << std::size(materials) << '\n';
    for (const Flare& f : materials) {
        MatSpec m = Glow(f.image, f.colour);
        m.map = "NONE";
        scene.Material(f.name, m);
        out << f.name << ".mat\n";
    }
    // material, half size in pixels, place on the line through the centre
    // (Display::WorldToScreen stretches heights, so nothing sits on the sun
    // itself, at -1: it would float beside the disc.)
    const float flares[][3] = {{4, 14, -0.6f}, {2, 22, -0.35f}, {3, 10, -0.12f}, {0, 40, 0.1f},
                               {1, 50, 0.25f}, {2, 14, 0.45f},  {4, 28, 0.65f},  {3, 18, 0.85f},
                               {1, 90, 1.1f},  {2, 32, 1.3f}};
    out << std::size(flares) << '\n';
    for (const auto& f : flares) out << static_cast<int>(f[0]) << ' ' << f[1] << ' ' << f[2] << '\n';
}

}  // namespace

void WriteArena() {
    std::filesystem::create_directories("images");
    FloorImage();
    BlocksImage();
    MarbleImage();
    RockImage();
    IslandImage();
    PineImage();
    MountainImage();
    CloudImage();
    SunImage();
    FlareImages();

    SceneWriter scene;
    Lights(scene.dir);

    MatSpec sky;  // the clear colour: the sky above the lake
    sky.diffuse = Vector3(0.46f, 0.62f, 0.84f);
    scene.Material("sky", sky);

    // The fighting floor: one slab of flagstones, mapped once from above.
    MeshBuilder slab;
    slab.Box({-FLOOR_HALF, -4, -FLOOR_HALF}, {FLOOR_HALF, 0, FLOOR_HALF});
    scene.Mesh("floor", slab);
    const MatSpec floor = Stone("lake_floor.bmp", "PLANARY", 1, 1);
    scene.Material("floor", floor);
    scene.Record("ARENA", false, "floor.asc", "floor.mat", Vector3(0, 0, 0));

    // Its sides, one pair of walls per flat mapping; the mirror copies show the slab's edge too.
    for (const bool x : {true, false}) {
        const std::string name = x ? "plinth_x" : "plinth_z";
        scene.Solid(name,
                    [x](float cut) {
                        return SquareSides(Cut(PlinthProfile(cut > DEEP), cut), x);
                    },
                    Stone("lake_blocks.bmp", x ? "PLANARX" : "PLANARZ", 4, 1));
        scene.Place(name, 0, 0);
    }

    // The lake: a grid the Water shapes into waves, finer near the platform,
    // with a hole under the slab. The slab and its skirt hide that water from
    // every camera, and a software renderer would still pay for each of its
    // pixels in all three of the water's layers.
    MeshBuilder lake;
    {
        const float R = 3400;
        const int OUTER = 8;  // grid lines from the slab's edge out to R, on each side
        std::vector<float> lines;
        for (int i = OUTER; i >= 1; --i)
            lines.push_back(-(FLOOR_HALF + (R - FLOOR_HALF) * std::pow(i / float(OUTER), 1.7f)));
        for (const float t : {-1.0f, -0.5f, 0.0f, 0.5f, 1.0f}) lines.push_back(t * FLOOR_HALF);
        for (int i = 1; i <= OUTER; ++i)
            lines.push_back(FLOOR_HALF + (R - FLOOR_HALF) * std::pow(i / float(OUTER), 1.7f));
        const int N = static_cast<int>(lines.size()) - 1;
        for (int j = 0; j <= N; ++j)
            for (int i = 0; i <= N; ++i) lake.AddVertex({lines[i], WATER_Y, lines[j]});
        auto underSlab = [&](int cell) { return lines[cell] >= -FLOOR_HALF && lines[cell + 1] <= FLOOR_HALF; };
        for (int j = 0; j < N; ++j)
            for (int i = 0; i < N; ++i) {
                if (underSlab(i) && underSlab(j)) continue;
                const int a = j * (N + 1) + i, b = a + 1, c = a + N + 1, d = c + 1;
                lake.Triangle(a, b, d, {0, 1, 0});
                lake.Triangle(a, d, c, {0, 1, 0});
            }
    }
    scene.Mesh("lake", lake);
    MatSpec water;
    water.image = "water.bmp";
    water.reflection = "sky.bmp";
    water.map = "NONE";  // the Water makes its own coordinates every frame
    water.clampR = false;
    water.ambient = Vector3(0.3f, 0.4f, 0.45f);
    water.diffuse = Vector3(0.55f, 0.7f, 0.8f);
    water.alpha = 0.5f;
    water.blend = "SRCALPHA";
    scene.Material("lake", water);
    scene.Record("WATER", false, "lake.asc", "lake.mat", Vector3(0, 0, 0));

    // Pillars with braziers at the corners, and their fires.
    scene.Solid("pillar", [](float cut) { return Lathe(Cut(PillarProfile(), cut), 8); },
                Stone("lake_marble.bmp", "CYL", 2, 1));
    scene.Mesh("fire", Billboard(44, 58, -6));
    MeshBuilder fireMirror = Billboard(44, 58, -6);
    fireMirror.MirrorY(0);
    scene.Mesh("fire_r", fireMirror);
    const MatSpec fire = Glow("fire.bml", Vector3(1, 1, 1));
    scene.Material("fire", fire);
    scene.Material("fire_r", GlowMirror(fire, 0.7f));
    for (const float x : {-300.0f, 300.0f})
        for (const float z : {-300.0f, 300.0f}) {
            scene.Place("pillar", x, z);
            const float top = PILLAR_TOP - 2;
            scene.Record("FIRE", false, "fire.asc", "fire.mat", Vector3(x, top, z));
            scene.Record("FLAT", true, "fire_r.asc", "fire_r.mat", Vector3(x, 2 * WATER_Y - top, z));
        }

    // Broken columns of an older ring of the shrine. Few, and few boulders
    // and trees below: every object in the scene costs three draws a frame
    // (its mirror image, and its shadowed and lit passes).
    const float ruins[][3] = {{-20, 560, 70}, {35, 610, 118}, {140, 600, 96}, {255, 620, 60}};
    for (size_t i = 0; i < std::size(ruins); ++i) {
        const std::string name = "ruin" + std::to_string(i);
        const float height = ruins[i][2];
        scene.Solid(name, [height](float cut) { return Lathe(Cut(RuinProfile(height), cut), 8); },
                    Stone("lake_marble.bmp", "CYL", 2, 1));
        const float a = ruins[i][0] * PI / 180;
        scene.Place(name, ruins[i][1] * std::cos(a), ruins[i][1] * std::sin(a));
    }

    // The gate, facing the platform, seen behind the fighters at the start.
    scene.Solid("gate", Gate, Stone("stone.bmp", "PLANARX", 3, 1));
    scene.Place("gate", 1000, -120);

    // Boulders.
    const float rocks[][5] = {{300, 430, 38, 60, 1}, {60, 820, 70, 130, 3}, {170, 760, 52, 80, 4},
                              {230, 900, 90, 150, 5}, {-40, 880, 60, 95, 6}};
    for (size_t i = 0; i < std::size(rocks); ++i) {
        const std::string name = "rock" + std::to_string(i);
        const float radius = rocks[i][2], height = rocks[i][3];
        const unsigned seed = static_cast<unsigned>(rocks[i][4]);
        scene.Solid(name, [=](float cut) { return Rock(radius, height, seed, cut); },
                    Stone("lake_rock.bmp", "CYL", 2, 1));
        const float a = rocks[i][0] * PI / 180;
        scene.Place(name, rocks[i][1] * std::cos(a), rocks[i][1] * std::sin(a));
    }

    // Wooded islands further out: all the mounds, then all the trees, so
    // that the renderer switches between their two images only once a pass.
    const float islands[][4] = {{15, 1650, 240, 11}, {120, 1500, 180, 12}, {215, 1750, 300, 13},
                                {300, 1450, 160, 14}};
    for (const bool trees : {false, true}) {
        for (int i = 0; i < 4; ++i) {
            const std::string name = (trees ? "pines" : "island") + std::to_string(i);
            const float radius = islands[i][2];
            const unsigned seed = static_cast<unsigned>(islands[i][3]);
            if (trees) {
                scene.Solid(name, [=](float cut) { return Pines(radius, seed, cut); },
                            Stone("lake_pine.bmp", "CYL", 4, 1));
            } else {
                scene.Solid(name, [=](float cut) { return Island(radius, seed, cut); },
                            Stone("lake_island.bmp", "CYL", 3, 1));
            }
            const float a = islands[i][0] * PI / 180;
            scene.Place(name, islands[i][1] * std::cos(a), islands[i][1] * std::sin(a));
        }
    }

    // The mountains round the lake.
    MatSpec rockFace = Stone("lake_mountain.bmp", "CYL", 6, 1);
    rockFace.ambient = Vector3(1.2f, 1.22f, 1.3f);  // far away: lit mostly by the sky
    rockFace.diffuse = Vector3(0.5f, 0.5f, 0.5f);
    scene.Solid("mountains", Mountains, rockFace);
    scene.Place("mountains", 0, 0);

    // Clouds, and their reflections.
    scene.Mesh("cloud", Billboard(520, 180, -90));
    MeshBuilder cloudMirror = Billboard(520, 180, -90);
    cloudMirror.MirrorY(0);
    scene.Mesh("cloud_r", cloudMirror);
    scene.Material("cloud", Glow("lake_cloud.bmp", Vector3(0.62f, 0.62f, 0.62f)));
    scene.Material("cloud_r", GlowMirror(Glow("lake_cloud.bmp", Vector3(0.62f, 0.62f, 0.62f)), 0.5f));
    const float clouds[][3] = {{-12, 1250, 470}, {70, 1200, 430}, {125, 1300, 520},
                               {250, 1350, 600}, {320, 1200, 450}};
    for (const auto& c : clouds) {
        const float a = c[0] * PI / 180;
        const float x = c[1] * std::cos(a), z = c[1] * std::sin(a);
        scene.Record("FLAT", false, "cloud.asc", "cloud.mat", Vector3(x, c[2], z));
        scene.Record("FLAT", true, "cloud_r.asc", "cloud_r.mat", Vector3(x, 2 * WATER_Y - c[2], z));
    }

    // The sun, its glow in the lake, and its lens flare.
    scene.Mesh("sun", Billboard(180, 180, -90));
    scene.Material("sun", Glow("lake_sun.bmp", Vector3(1, 0.97f, 0.9f)));
    scene.Material("sun_r", GlowMirror(Glow("lake_sun.bmp", Vector3(1, 0.97f, 0.9f)), 0.6f));
    scene.Record("SUN", false, "sun.asc", "sun.mat", SUN_DISC);
    scene.Record("FLAT", true, "sun.asc", "sun_r.mat",
                 Vector3(SUN_DISC.x, 2 * WATER_Y - SUN_DISC.y, SUN_DISC.z));
    LensFlare(scene);

    // A little haze on the far shore only. The fog runs on the world's z (the
    // camera lives in the projection matrix), so it must stay light, and the
    // additive billboards must keep well inside its start, or their black
    // corners would turn to haze. The mountains' pale colours do the rest.
    scene.Finish("FOG 2800 7000 0.72 0.78 0.86", "sky.mat");
}

}  // namespace content
