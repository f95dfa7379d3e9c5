#pragma once

#include "math/Matrix.h"
#include "math/Vector3.h"

// A viewpoint with its projection, the matrices derived from them and a
// vertical shake. Every setter rebuilds the matrices, so they are always current.
class Camera {
public:
    Camera();
    Camera(const Vector3& from, const Vector3& at, const Vector3& up, float roll);
    Camera(const Vector3& from, const Vector3& at, const Vector3& up, float roll,
           float near, float far, float fov);
    Camera(const Camera& other);  // copies viewpoint and projection, not the shake
    Camera& operator=(const Camera& other);

    void SetFrom(const Vector3& p);  // eye point, shaken
    void SetAt(const Vector3& p);    // target point, shaken
    void SetUp(const Vector3& u);
    void SetRoll(float r);
    void SetProj(float near, float far, float fov);
    void StartShake(long ms);        // bob vertically for ms of game time
    void CreateFlatRM();             // rebuild `flat` from the viewpoint

    float near = 1;
    float far = 5000;
    float fov = 0.8f;      // full vertical angle in radians
    Vector3 from;          // eye point as used, shake included
    Vector3 at;            // target point as used, shake included
    Vector3 up;
    float roll = 0;        // kept and handed on; the view matrix ignores it
    Matrix view;
    Matrix projection;
    Matrix flat;           // turns a quad in the x–y plane to face the camera
    long shakeLength = 0;  // ms
    long shakeEnd = 0;     // game time the shake ends; 0 when none was started
    Vector3 target;        // the target last given to SetAt, without shake

private:
    Vector3 Shaken(const Vector3& p) const;
    void Rebuild();  // view, projection and flat
};
