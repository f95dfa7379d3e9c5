#include "scene/Light.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "scene/DirectionalLight.h"
#include "scene/PointLight.h"
#include "scene/SpotLight.h"
#include "support/GLContext.h"

namespace {

// GL keeps a light's position in eye coordinates: read it back with an
// identity model-view so it is what was sent.
struct LightState {
    float ambient[4], diffuse[4], position[4];
    bool enabled;
};

LightState Read(int n) {
    LightState s;
    glGetLightfv(GL_LIGHT0 + n, GL_AMBIENT, s.ambient);
    glGetLightfv(GL_LIGHT0 + n, GL_DIFFUSE, s.diffuse);
    glGetLightfv(GL_LIGHT0 + n, GL_POSITION, s.position);
    s.enabled = glIsEnabled(GL_LIGHT0 + n);
    return s;
}

void ExpectFour(const float* actual, float a, float b, float c, float d) {
    EXPECT_FLOAT_EQ(actual[0], a);
    EXPECT_FLOAT_EQ(actual[1], b);
    EXPECT_FLOAT_EQ(actual[2], c);
    EXPECT_FLOAT_EQ(actual[3], d);
}

class LightTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

TEST_F(LightTest, DirectionalLightShinesAlongItsDirection) {
    DirectionalLight sun(Vector3(0.5f, 0.6f, 0.7f), Vector3(0, -1, 0));
    sun.index(1);
    const LightState s = Read(1);
    EXPECT_TRUE(s.enabled);
    ExpectFour(s.ambient, 0, 0, 0, 1);
    ExpectFour(s.diffuse, 0.5f, 0.6f, 0.7f, 1);
    ExpectFour(s.position, 0, 1, 0, 0);
}

TEST_F(LightTest, PointLightIsPositional) {
    PointLight lamp(Vector3(1, 1, 1), Vector3(3, 4, 5));
    lamp.index(2);
    const LightState s = Read(2);
    ExpectFour(s.ambient, 0, 0, 0, 0);
    ExpectFour(s.position, 3, 4, 5, 1);
}

TEST_F(LightTest, SpotLightLightsLikeADirectionalLight) {
    SpotLight spot(Vector3(1, 0, 0), Vector3(9, 9, 9), Vector3(1, -1, 0), 0.3f, 0.5f);
    spot.index(3);
    const LightState s = Read(3);
    ExpectFour(s.ambient, 0, 0, 0, 1);
    ExpectFour(s.position, -1, 1, 0, 0);
}

TEST_F(LightTest, ADisabledLightOnlySwitchesItsSlotOff) {
    DirectionalLight sun(Vector3(1, 1, 1), Vector3(0, -1, 0));
    sun.index(4);
    sun.enabled = false;
    sun.color = Vector3(0, 0, 0);
    sun.direction = Vector3(1, 0, 0);
    sun.index(4);
    const LightState s = Read(4);
    EXPECT_FALSE(s.enabled);
    ExpectFour(s.diffuse, 1, 1, 1, 1);
    ExpectFour(s.position, 0, 1, 0, 0);
}

}  // namespace
