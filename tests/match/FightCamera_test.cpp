#include "match/FightCamera.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>

#include "math/Vector4.h"
#include "support/PlayedMatch.h"

namespace {

// Where p lies in the camera's view: -1 to 1 across and up the window.
Vector3 OnScreen(const Camera& c, const Vector3& p) { return Vector3(c.projection * (c.view * Vector4(p))); }

// Each orbit starts with its fighters whole in the view; however the mouse
// then turns and draws it in, the eye stays clear of every joint.
TEST_F(PlayedMatch, OrbitsFrameTheirFightersAndNeverEnterABody) {
    Run(500);
    const struct {
        int dx, dy;
        bool turn, zoom;
    } drags[] = {{0, 0, false, false}, {0, -400, false, true}, {90, 200, true, false},
                 {0, -400, true, true}, {-300, -500, true, true}};
    for (FightCamera::Mode mode : {FightCamera::ORBIT_0, FightCamera::ORBIT_1, FightCamera::ORBIT_MIDDLE}) {
        Press(SDLK_F12);
        ASSERT_EQ(match->camera.mode, mode);
        for (int f = 0; f < 2; ++f) {
            if ((mode == FightCamera::ORBIT_0 && f == 1) || (mode == FightCamera::ORBIT_1 && f == 0)) continue;
            for (int b = 0; b < fighters[f]->bones.count; ++b) {
                const Vector3 p = OnScreen(match->camera.camera, fighters[f]->bones[b]->worldPos);
                EXPECT_LT(std::fabs(p.x), 1) << "mode " << mode << ", fighter " << f << ", joint " << b;
                EXPECT_LT(std::fabs(p.y), 1) << "mode " << mode << ", fighter " << f << ", joint " << b;
            }
        }
        for (const auto& drag : drags) {
            match->camera.Drag(drag.dx, drag.dy, drag.turn, drag.zoom);
            match->camera.Update(*fighters[0], *fighters[1], match->Now());
            for (const Ptr<Person>& fighter : fighters) {
                for (int b = 0; b < fighter->bones.count; ++b) {
                    EXPECT_GT((match->camera.camera.from - fighter->bones[b]->worldPos).Length(), 20)
                        << "mode " << mode << ", drag " << drag.dx << "," << drag.dy;
                }
            }
        }
    }
}

}  // namespace
