#include "scene/Light.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "scene/DirectionalLight.h"
#include "scene/PointLight.h"
#include "scene/SpotLight.h"
#include "support/GLContext.h"

namespace {

std::vector<float> Read(int slot, GLenum what) {
    std::vector<float> v(4);
    glGetLightfv(GL_LIGHT0 + slot, what, v.data());
    return v;
}

// GL keeps a light's position in eye coordinates: with an identity
// model-view it reads back as it was sent.
using LightTest = GLTest;

TEST_F(LightTest, EachKindOfLightFillsItsSlot) {
    const struct {
        std::shared_ptr<Light> light;
        std::vector<float> ambient, diffuse, position;
    } lights[] = {
        {std::make_shared<DirectionalLight>(Vector3(0.5f, 0.6f, 0.7f), Vector3(0, -1, 0)),
         {0, 0, 0, 1}, {0.5f, 0.6f, 0.7f, 1}, {0, 1, 0, 0}},
        {std::make_shared<PointLight>(Vector3(1, 1, 1), Vector3(3, 4, 5)), {0, 0, 0, 0},
         {1, 1, 1, 1}, {3, 4, 5, 1}},
        // A spot lights like a directional light.
        {std::make_shared<SpotLight>(Vector3(1, 0, 0), Vector3(9, 9, 9), Vector3(1, -1, 0), 0.3f, 0.5f),
         {0, 0, 0, 1}, {1, 0, 0, 1}, {-1, 1, 0, 0}},
    };
    for (int slot = 0; slot < 3; ++slot) {
        lights[slot].light->index(slot + 1);
        EXPECT_TRUE(glIsEnabled(GL_LIGHT1 + slot));
        EXPECT_EQ(Read(slot + 1, GL_AMBIENT), lights[slot].ambient) << slot;
        EXPECT_EQ(Read(slot + 1, GL_DIFFUSE), lights[slot].diffuse) << slot;
        EXPECT_EQ(Read(slot + 1, GL_POSITION), lights[slot].position) << slot;
    }
    // A disabled light only switches its slot off: the slot keeps its values.
    lights[0].light->enabled = false;
    lights[0].light->color = Vector3();
    lights[0].light->index(1);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_EQ(Read(1, GL_DIFFUSE), lights[0].diffuse);
}

}  // namespace
