#include "match/FightCamera.h"

#include <algorithm>
#include <cmath>

#include "character/Person.h"

namespace {

const float DEGREES = 0.017453277f;  // radians in one degree
const float QUARTER_TURN = 0.7853982f;
const Vector3 CHEST(0, 45, 0);       // the cameras look at the fighters' chests
// Joints are the bones' origins: the flesh around them and the last limb
// reach this much further.
const float FLESH = 25;
const float ORBIT_ELEVATION = 12;    // degrees: an orbit starts a little above the chests
const float FRAME_MARGIN = 1.25f;    // room around what an orbit starts framing

// A fighter as an upright cylinder around its joints.
struct Body {
    float x, z;           // the axis
    float radius;
    float bottom, top;
};

Body BodyOf(const Person& p) {
    Body b{p.worldPos.x, p.worldPos.z, 0, p.worldPos.y, p.worldPos.y};
    for (int i = 0; i < p.bones.count; ++i) {
        const Vector3& j = p.bones[i]->worldPos;
        b.radius = std::max(b.radius, std::hypot(j.x - b.x, j.z - b.z));
        b.bottom = std::min(b.bottom, j.y);
        b.top = std::max(b.top, j.y);
    }
    b.radius += FLESH;
    b.bottom -= FLESH;
    b.top += FLESH;
    return b;
}

bool Inside(const Body& b, const Vector3& p) {
    return p.y > b.bottom && p.y < b.top && std::hypot(p.x - b.x, p.z - b.z) < b.radius;
}

// An eye inside a body steps out sideways to its skin, or over its head
// when it stands on the axis.
Vector3 OutsideOf(const Body& b, const Vector3& eye) {
    if (!Inside(b, eye)) return eye;
    const float dx = eye.x - b.x, dz = eye.z - b.z;
    const float d = std::hypot(dx, dz);
    if (d < 1e-3f) return Vector3(eye.x, b.top, eye.z);
    const float out = b.radius / d * 1.001f;
    return Vector3(b.x + dx * out, eye.y, b.z + dz * out);
}

// Fighters close together overlap: stepping out of one may step into the
// other, so a few rounds, and over both heads if that is not enough.
Vector3 OutsideOf(const Body (&bodies)[2], Vector3 eye) {
    for (int round = 0; round < 4; ++round) {
        for (const Body& b : bodies) eye = OutsideOf(b, eye);
        if (!Inside(bodies[0], eye) && !Inside(bodies[1], eye)) return eye;
    }
    return Vector3(eye.x, std::max(bodies[0].top, bodies[1].top), eye.z);
}

Vector3 Side(const Vector3& p0, const Vector3& p1) {
    return (p0 - p1).Cross(Vector3(0, 1, 0)).Normalized();
}

// A camera up to 900 above the fight rises freely; beyond, ever slower.
float SoftCeiling(float h) {
    if (h <= 900) return h;
    const float over = h - 900;
    return 900 + over / (0.001f * over * over + 1);
}

}  // namespace

FightCamera::FightCamera()
    : camera(Vector3(-120, 150, -220), Vector3(0, 40, 0), Vector3(0, 1, 0), 0, 1, 5000, QUARTER_TURN) {}

void FightCamera::AutoCamera(float d, float t, float& r, float& h) {
    r = std::clamp(1.8f * d + 150 + 0.05f * t, 100.0f, 1000.0f);
    const float e = d >= 200 ? d - 200 : 0;
    h = SoftCeiling(0.015f * e * e + 0.1f * e + 0.1f * t);
}

void FightCamera::NextMode() {
    mode = static_cast<Mode>((mode + 1) % VICTORY);
    framed = false;
}

void FightCamera::Victory(int now) {
    mode = VICTORY;
    victoryStart = now;
}

void FightCamera::Automatic() {
    mode = AUTOMATIC;
    victoryStart = -1;
}

void FightCamera::Drag(int dx, int dy, bool turn, bool zoom) {
    if (turn) {
        orbitAzimuth += dx * 0.5f;
        orbitElevation = std::clamp(orbitElevation + dy * 0.5f, -90.0f, 90.0f);
    }
    if (zoom) orbitDistance = std::max(orbitDistance + dy, 1.0f);
}

// The orbit starts from where the camera stood, a little above the chests,
// far enough back for its fighter (or both) to fill no more than the view.
void FightCamera::Frame(const Person& p0, const Person& p1) {
    const Body bodies[2] = {BodyOf(p0), BodyOf(p1)};
    const Vector3 centre = mode == ORBIT_0 ? p0.worldPos + CHEST
                         : mode == ORBIT_1 ? p1.worldPos + CHEST
                                           : (p0.worldPos + p1.worldPos) * 0.5f + CHEST;
    float halfWidth = 0, halfHeight = 0;
    for (int i = 0; i < 2; ++i) {
        if ((mode == ORBIT_0 && i == 1) || (mode == ORBIT_1 && i == 0)) continue;
        const Body& b = bodies[i];
        halfWidth = std::max(halfWidth, std::hypot(b.x - centre.x, b.z - centre.z) + b.radius);
        halfHeight = std::max({halfHeight, b.top - centre.y, centre.y - b.bottom});
    }
    // The projection shows tan(fov / 2) of the distance above and below the
    // middle, and 1.2 times that to either side.
    const float spread = std::tan(camera.fov / 2);
    orbitDistance = FRAME_MARGIN * std::max(halfHeight / spread, halfWidth / (1.2f * spread)) + halfWidth;
    const Vector3 back = camera.from - camera.at;
    orbitAzimuth = std::atan2(back.x, back.z) / DEGREES;
    orbitElevation = ORBIT_ELEVATION;
    framed = true;
}

void FightCamera::Update(const Person& p0, const Person& p1, int now) {
    const Vector3 c0 = p0.worldPos + CHEST, c1 = p1.worldPos + CHEST;
    const Vector3 middle = (c0 + c1) * 0.5f;
    if (mode == AUTOMATIC || mode == VICTORY) {
        const float d = std::max((c1 - c0).Length(), 40.0f);
        const float t = mode == VICTORY ? static_cast<float>(now - victoryStart) : 0;
        float r = 0, h = 0;
        AutoCamera(d, t, r, h);
        camera.SetAt(middle);
        camera.SetFrom(middle + Side(c0, c1) * r + Vector3(0, h + 30, 0));
        return;
    }
    if (!framed) Frame(p0, p1);
    const Vector3 centre = mode == ORBIT_0 ? c0 : mode == ORBIT_1 ? c1 : middle;
    const float a = orbitAzimuth * DEGREES, e = orbitElevation * DEGREES;
    Vector3 eye = centre + Vector3(std::cos(e) * std::sin(a), std::sin(e), std::cos(e) * std::cos(a)) * orbitDistance;
    const Body bodies[2] = {BodyOf(p0), BodyOf(p1)};
    eye = OutsideOf(bodies, eye);
    camera.SetAt(centre);
    camera.SetFrom(eye);
}
