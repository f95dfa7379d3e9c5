#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "math/Vector3.h"

// Window coordinates of the polygons that GL feeds back while `draw` runs.
using Polygon = std::vector<Vector3>;
inline std::vector<Polygon> Feedback(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer overflow";
    std::vector<Polygon> polygons;
    for (GLint i = 0; i < used;) {
        const GLint token = static_cast<GLint>(buffer[i++]);
        if (token == GL_POLYGON_TOKEN) {
            const int n = static_cast<int>(buffer[i++]);
            Polygon polygon;
            for (int k = 0; k < n; ++k, i += 3) {
                polygon.emplace_back(buffer[i], buffer[i + 1], buffer[i + 2]);
            }
            polygons.push_back(polygon);
        } else if (token == GL_PASS_THROUGH_TOKEN || token == GL_POINT_TOKEN ||
                   token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
                   token == GL_COPY_PIXEL_TOKEN) {
            i += (token == GL_PASS_THROUGH_TOKEN) ? 1 : 3;
        } else {
            i += 6;  // a line
        }
    }
    return polygons;
}
