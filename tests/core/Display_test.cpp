#include "core/Display.h"

#include <gtest/gtest.h>

#include "math/Camera.h"
#include "math/Vector4.h"
#include "scene/DirectionalLight.h"

namespace {

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        display.width = 800;
        display.height = 600;
        display.camera = &camera;  // conversions need no window, only the camera
    }
    void TearDown() override { display.lights.count = 0; }

    Display display;
    Camera camera{Vector3(30, 80, -300), Vector3(10, 40, 0), Vector3(0, 1, 0), 0};
};

TEST_F(DisplayTest, TheCameraTargetLandsAtTheWindowCentre) {
    const Vector3 screen = display.WorldToScreen(camera.target);
    EXPECT_NEAR(screen.x, 400, 1e-3);
    EXPECT_NEAR(screen.y, 300, 1e-3);
    EXPECT_EQ(screen.z, 1);
    const Vector3 device = display.WorldToDevice(camera.target);
    EXPECT_NEAR(device.x, 500, 1e-3);
    EXPECT_NEAR(device.y, 500, 1e-3);
}

TEST_F(DisplayTest, AWorldPointLandsOnThePixelGLDrawsItAt) {
    // Projected by hand: view, projection, the divide by w, the viewport.
    const Vector3 p(60, 90, 40);
    const Vector4 q = camera.projection * (camera.view * Vector4(p));
    const float x = (q.x / q.w + 1) * 400, y = (1 - q.y / q.w) * 300;
    const Vector3 screen = display.WorldToScreen(p);
    EXPECT_NEAR(screen.x, x, 1e-2);
    EXPECT_NEAR(screen.y, y, 1e-2);
    EXPECT_GT(screen.x, 400) << "+x is to the right for this camera";
}

TEST_F(DisplayTest, PointsRightOfAndAboveTheTargetGoRightAndUp) {
    const Vector3 centre = display.WorldToScreen(camera.target);
    const Vector3 above = display.WorldToScreen(camera.target + Vector3(0, 20, 0));
    EXPECT_LT(above.y, centre.y) << "screen y grows downwards";
    EXPECT_NEAR(above.x, centre.x, 1e-2);
}

TEST_F(DisplayTest, DeviceAndScreenConvertBothWays) {
    const Vector3 screen = display.DeviceToScreen(Vector3(250, 500, 7));
    EXPECT_FLOAT_EQ(screen.x, 200);
    EXPECT_FLOAT_EQ(screen.y, 300);
    EXPECT_EQ(screen.z, 1);
    const Vector3 device = display.ScreenToDevice(screen);
    EXPECT_FLOAT_EQ(device.x, 250);
    EXPECT_FLOAT_EQ(device.y, 500);
}

TEST_F(DisplayTest, ShadowMatricesFlattenAlongLightZero) {
    DirectionalLight sun(Vector3(1, 1, 1), Vector3(1, -2, 0.5f));
    display.lights.Add(&sun);
    display.CreateShadowMatrix();
    // A point flattens along the light onto the floor, each matrix 1/40 lower.
    const Vector3 p(10, 20, 30);
    for (int i : {0, 1, 39}) {
        const Vector3 flat = ShadMtx[i] * p;
        EXPECT_NEAR(flat.x, 10 + 20 * 0.5f, 1e-4);
        EXPECT_NEAR(flat.y, -i / 40.0f, 1e-6);
        EXPECT_NEAR(flat.z, 30 + 20 * 0.25f, 1e-4);
    }
}

TEST_F(DisplayTest, ALevelLightLeavesEveryShadowMatrixAtIdentity) {
    DirectionalLight level(Vector3(1, 1, 1), Vector3(1, 0, 0));
    display.lights.Add(&level);
    display.CreateShadowMatrix();
    for (const Matrix& m : ShadMtx) {
        for (int i = 0; i < 16; ++i) EXPECT_EQ(m.m[i], (i % 5 == 0) ? 1 : 0);
    }
}

}  // namespace
