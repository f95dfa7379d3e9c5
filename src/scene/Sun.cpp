#include "scene/Sun.h"

#include <GL/gl.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <ostream>

#include "core/DataProblems.h"
#include "core/Display.h"
#include "core/System.h"
#include "core/Trace.h"
#include "core/WordReader.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "scene/SceneryRecord.h"

namespace {

// The flare lasts while the sun is within this many pixels of the screen...
const float FLARE_MARGIN = 400;
// ...and fades out over the outermost of them.
const float FLARE_FADE = 200;
// Full strength is this share of a flare material's emission: the quads add up.
const float FLARE_BRIGHTNESS = 0.35f;

// A word that is a whole number and nothing else. A material list longer
// than announced would otherwise take the flare count for a file name.
bool WholeNumber(const std::string& word, int& out) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(word.c_str(), &end, 10);
    if (end == word.c_str() || *end != '\0' || errno == ERANGE ||
        value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

}  // namespace

Sun::Sun(WordReader& in, const std::string& dir) {
    SceneryRecord(in, dir).Apply(*this);
    try {
        LoadFlare(dir);
    } catch (const DataProblems::Abandoned&) {
        Release();  // no destructor runs for a half-made sun
        throw;
    }
}

Sun::~Sun() { Release(); }

void Sun::Release() {
    delete mesh;
    delete shadowMesh;
    mesh = shadowMesh = nullptr;
    for (int i = 0; i < flareMaterials.count; ++i) delete flareMaterials[i];
    flareMaterials.count = 0;
}

void Sun::LoadFlare(const std::string& dir) {
    debug << "Starting lens flare stuff" << std::endl;
    WordReader reader(dir + "lensflare.txt");
    if (!reader.isOpen()) {
        debug << "no lensflare.txt" << std::endl;
        return;
    }
    const std::string& path = reader.name();

    int announced = 0;
    if (!reader.Int(announced)) {
        DataProblems::Trace(reader.problem() + "; the sun has no flare");
        return;
    }
    const std::string at = path + ':';
    if (announced < 0) {
        DataProblems::Trace(at + std::to_string(reader.line()) +
                            ": expected a number of flare materials, found " +
                            std::to_string(announced) + "; the sun has no flare");
        return;
    }

    int count = 0;
    bool countRead = false;
    std::string word;
    for (int i = 0; i < announced; ++i) {
        if (!reader.Word(word)) {
            DataProblems::Trace(at + std::to_string(reader.line()) + ": expected " +
                                std::to_string(announced) + " flare materials, found " +
                                std::to_string(i));
            break;
        }
        if (WholeNumber(word, count)) {
            DataProblems::Trace(at + std::to_string(reader.line()) + ": expected " +
                                std::to_string(announced) + " flare materials, found " +
                                std::to_string(i) + " before the number of flares");
            countRead = true;
            break;
        }
        flareMaterials.Add(new Material(dir + "materials/" + word));
    }
    numFlareMaterials = flareMaterials.count;

    if (!countRead && !reader.Int(count)) {
        DataProblems::Trace(reader.problem() + "; the sun has no flare");
        return;
    }
    if (count < 0) {
        DataProblems::Trace(at + std::to_string(reader.line()) +
                            ": expected a number of flares, found " + std::to_string(count) +
                            "; the sun has no flare");
        return;
    }
    if (count > 0 && numFlareMaterials == 0) {
        DataProblems::Trace(at + std::to_string(reader.line()) +
                            ": expected a flare material to draw the flares with, found none; "
                            "the sun has no flare");
        return;
    }

    for (int i = 0; i < count; ++i) {
        if (reader.atEnd()) {
            DataProblems::Trace(at + std::to_string(reader.line()) + ": expected " +
                                std::to_string(count) + " flares, found " + std::to_string(i));
            break;
        }
        flaredata flare;
        if (!reader.Int(flare.material) || !reader.Float(flare.halfSize) ||
            !reader.Float(flare.linePos)) {
            DataProblems::Trace(reader.problem() + "; flare #" + std::to_string(i) +
                                " and those after it are left out");
            break;
        }
        if (flare.material < 0 || flare.material >= numFlareMaterials) {
            debug << "error in lensflare file: material # must be between 0 and "
                  << numFlareMaterials - 1 << std::endl;
            DataProblems::Trace(at + std::to_string(reader.line()) + ": expected a flare material of 0 to " +
                                std::to_string(numFlareMaterials - 1) + ", found " +
                                std::to_string(flare.material) + "; material 0 is used");
            flare.material = 0;
        }
        flares.Add(flare);
    }
    numFlares = flares.count;
}

void Sun::Update() {
    const Display* display = System::instance()->display;
    if (display != nullptr && display->camera != nullptr) {
        const Camera& camera = *display->camera;
        const Vector3 forward = (camera.at - camera.from).Normalized();
        const Vector3 side = camera.up.Cross(forward);
        SetRotation(side.Normalized(), forward.Cross(side).Normalized(), forward);
    }
    world = translation * rotation;
}

bool Sun::InFrontOf(const Camera& camera) const {
    return (position - camera.from).Dot(camera.at - camera.from) >= 0;
}

std::vector<FlareQuad> Sun::Flare(float x, float y, int width, int height) const {
    std::vector<FlareQuad> quads;
    const float W = static_cast<float>(width);
    const float H = static_cast<float>(height);
    // A sun in the camera's own plane has no screen position.
    if (!std::isfinite(x) || !std::isfinite(y)) return quads;
    if (x < -FLARE_MARGIN || x > W + FLARE_MARGIN || y < -FLARE_MARGIN || y > H + FLARE_MARGIN) {
        return quads;
    }
    const float margin = std::min({x + FLARE_MARGIN, W + FLARE_MARGIN - x, y + FLARE_MARGIN,
                                   H + FLARE_MARGIN - y});
    const float fade = std::max(0.0f, margin <= FLARE_FADE ? margin / FLARE_FADE : 1.0f);
    for (int i = 0; i < flares.count; ++i) {
        const flaredata& flare = flares[i];
        FlareQuad quad;
        // Screen y grows downward, the quads' frame upward: linePos -1 lands on the sun.
        quad.x = W / 2 + (W / 2 - x) * flare.linePos;
        quad.y = H / 2 - (H / 2 - y) * flare.linePos;
        quad.halfSize = flare.halfSize;
        quad.strength = fade * FLARE_BRIGHTNESS;
        quad.material = flare.material;
        quads.push_back(quad);
    }
    return quads;
}

void Sun::Draw() {
    Object::Draw();
    Display* display = System::instance()->display;
    if (display == nullptr || display->camera == nullptr || flares.count == 0) return;
    // There is no occlusion test: only a sun behind the camera loses its flare.
    if (!InFrontOf(*display->camera)) return;

    const Vector3 screen = display->WorldToScreen(position);
    for (const FlareQuad& quad : Flare(screen.x, screen.y, display->width, display->height)) {
        Material* material = flareMaterials[quad.material];
        const Vector3 colour = material->emission * quad.strength;
        material->current(true);

        display->BeginOverlay(false);

        const float s = quad.halfSize;
        glBegin(GL_QUADS);
        glColor3f(colour.x, colour.y, colour.z);
        glTexCoord2f(0, 0);
        glVertex3f(quad.x - s, quad.y - s, 0);
        glTexCoord2f(0, 1);
        glVertex3f(quad.x - s, quad.y + s, 0);
        glTexCoord2f(1, 1);
        glVertex3f(quad.x + s, quad.y + s, 0);
        glTexCoord2f(1, 0);
        glVertex3f(quad.x + s, quad.y - s, 0);
        glEnd();

        display->EndOverlay();
    }
}
