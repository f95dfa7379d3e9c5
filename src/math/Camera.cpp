#include "math/Camera.h"

#include <cmath>

#include "core/Clock.h"
#include "core/System.h"

Camera::Camera() : Camera(Vector3(0, 100, -100), Vector3(0, 0, 0), Vector3(0, 1, 0), 0) {}

Camera::Camera(const Vector3& from_, const Vector3& at_, const Vector3& up_, float roll_)
    : from(from_), at(at_), up(up_), roll(roll_), target(at_) {
    Rebuild();
}

Camera::Camera(const Vector3& from_, const Vector3& at_, const Vector3& up_, float roll_,
               float near_, float far_, float fov_)
    : near(near_), far(far_), fov(fov_), from(from_), at(at_), up(up_), roll(roll_),
      target(at_) {
    Rebuild();
}

Camera::Camera(const Camera& other)
    : near(other.near), far(other.far), fov(other.fov), from(other.from), at(other.at),
      up(other.up), roll(other.roll), target(other.target) {
    Rebuild();
}

Camera& Camera::operator=(const Camera& other) {
    near = other.near;
    far = other.far;
    fov = other.fov;
    from = other.from;
    at = other.at;
    up = other.up;
    roll = other.roll;
    target = other.target;
    shakeLength = 0;
    shakeEnd = 0;
    Rebuild();
    return *this;
}

void Camera::Rebuild() {
    view.CreateView(from, at, up, roll);
    projection.CreateProjection(near, far, fov);
    CreateFlatRM();
}

// The offset falls with the square of the remaining fraction of the shake
// and swings with a period of about 188 ms of game time.
Vector3 Camera::Shaken(const Vector3& p) const {
    const long t = shakeEnd - System::instance()->clock->time;
    if (t < 1 || shakeLength <= 0) return p;
    const float k = static_cast<float>(t) / static_cast<float>(shakeLength);
    const float s = static_cast<float>(shakeLength - t);
    return p + Vector3(0, 7 * k * k * std::sin(s / 30), 0);
}

void Camera::SetFrom(const Vector3& p) {
    from = Shaken(p);
    view.CreateView(from, at, up, roll);
    CreateFlatRM();
}

void Camera::SetAt(const Vector3& p) {
    target = p;
    at = Shaken(p);
    view.CreateView(from, at, up, roll);
    CreateFlatRM();
}

void Camera::SetUp(const Vector3& u) {
    up = u;
    view.CreateView(from, at, up, roll);
    CreateFlatRM();
}

void Camera::SetRoll(float r) {
    roll = r;
    view.CreateView(from, at, up, roll);
    CreateFlatRM();
}

void Camera::SetProj(float near_, float far_, float fov_) {
    near = near_;
    far = far_;
    fov = fov_;
    projection.CreateProjection(near, far, fov);
}

void Camera::StartShake(long ms) {
    shakeLength = ms;
    shakeEnd = System::instance()->clock->time + ms;
}

void Camera::CreateFlatRM() {
    const Vector3 d = (at - from).Normalized();
    Vector3 r = up.Cross(d);
    Vector3 u = d.Cross(r);
    r.Normalize();
    u.Normalize();
    flat.CreateIdentity();
    flat.ReplaceCol(0, r);
    flat.ReplaceCol(1, u);
    flat.ReplaceCol(2, d);
    flat.Inverse();
}
