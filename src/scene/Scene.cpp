#include "scene/Scene.h"

#include <GL/gl.h>

#include <cmath>
#include <ostream>
#include <sstream>

#include "core/DataProblems.h"
#include "core/Display.h"
#include "core/System.h"
#include "core/Trace.h"
#include "core/WordReader.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "render/RenderPaths.h"
#include "render/ViewVolume.h"
#include "scene/Arena.h"
#include "scene/DirectionalLight.h"
#include "scene/Flat.h"
#include "scene/PointLight.h"
#include "scene/SpotLight.h"
#include "scene/Static.h"
#include "scene/Sun.h"
#include "scene/Water.h"

namespace {

bool IsLightType(const std::string& word) {
    return word == "DIRECTIONAL" || word == "POINT" || word == "SPOT";
}

// Reads the values of one light entry and builds it; null when they are cut
// short or malformed.
Light* ReadLight(const std::string& type, WordReader& reader) {
    Vector3 color, position, direction;
    float umbra = 0, penumbra = 0;
    if (type == "DIRECTIONAL") {
        if (!reader.Vector(color) || !reader.Vector(direction)) return nullptr;
        debug << "Creating new directional light, color=" << color << " direction=" << direction
              << std::endl;
        return new DirectionalLight(color, direction);
    }
    if (type == "POINT") {
        if (!reader.Vector(color) || !reader.Vector(position)) return nullptr;
        debug << "Creating new point light, color=" << color << " position=" << position
              << std::endl;
        return new PointLight(color, position);
    }
    if (!reader.Vector(color) || !reader.Vector(position) || !reader.Vector(direction) ||
        !reader.Float(umbra) || !reader.Float(penumbra)) {
        return nullptr;
    }
    debug << "Creating new spot light, color=" << color << " position=" << position
          << " direction=" << direction << " Umbra=" << umbra << " Penumbra=" << penumbra
          << std::endl;
    return new SpotLight(color, position, direction, umbra, penumbra);
}

// What went wrong at the reader's place, when a read came back empty-handed.
std::string Problem(WordReader& reader, const std::string& expected) {
    if (reader.failed()) return reader.problem();
    return reader.name() + ':' + std::to_string(reader.line()) + ": expected " + expected +
           ", found the end of the file";
}

void CallOn(DArray<Object*>& list, void (Object::*pass)()) {
    for (int i = 0; i < list.count; ++i) (list[i]->*pass)();
}

// A drawing pass: scenery wholly outside the view is not sent to GL.
void DrawSeen(DArray<Object*>& list, void (Object::*pass)()) {
    if (!renderPaths.viewCulling) {
        CallOn(list, pass);
        return;
    }
    const ViewVolume view = ViewVolume::OfGL();
    for (int i = 0; i < list.count; ++i) {
        if (list[i]->InView(view)) (list[i]->*pass)();
    }
}

// Scenery whose meshes keep their shape: drawn from GL's own copy, and (when
// it can be bounded) left out of view. An embossed surface shifts its
// texture coordinates as it is drawn, so it is sent each time.
void Fix(Object* scenery, bool bounded) {
    if (scenery->material == nullptr || !scenery->material->bump) {
        for (Mesh* m : {scenery->mesh, scenery->shadowMesh, scenery->collisionMesh}) {
            if (m != nullptr) m->keepsShape = true;
        }
    }
    if (bounded) scenery->Bound();
}

void DeleteAll(DArray<Object*>& list) {
    for (int i = 0; i < list.count; ++i) delete list[i];
}

}  // namespace

Scene::Scene(const std::string& name) {
    contextGeneration = System::instance()->display->contextGeneration;
    const std::string dir = "scenes/" + name + "/";
    try {
        if (LoadLights(dir + "lights.txt")) LoadScenery(dir);
    } catch (const DataProblems::Abandoned&) {
        Release();  // no destructor runs for a half-made scene
        throw;
    }
    // Without the arena's numbers the fighters would stand on one spot and
    // every blow would throw its victim out of a ring of no size.
    if (!playable) {
        arenaSize = DEFAULT_ARENA_SIZE;
        arenaParam = DEFAULT_ARENA_REST;
    }
}

Scene::~Scene() { Release(); }

void Scene::Release() {
    DeleteAll(solids);
    DeleteAll(transparents);
    DeleteAll(reflectedSolids);
    DeleteAll(reflectedTransparents);
    solids.count = transparents.count = reflectedSolids.count = reflectedTransparents.count = 0;
    delete background;
    background = nullptr;
    ReleaseLights();
}

void Scene::ReleaseLights() {
    // The display lists the lights of the scene last activated; those of
    // this one must not stay listed once they are gone.
    System::instance()->display->lights.RemoveAll(ownLights);
    for (int i = 0; i < ownLights.count; ++i) delete ownLights[i];
    ownLights.count = ownLights.cursor = 0;
}

void Scene::Unplayable(const std::string& problem) {
    playable = false;
    DataProblems::Report(problem + "; the arena is " + std::to_string(int(DEFAULT_ARENA_SIZE)) +
                         " wide and a fall ends " + std::to_string(int(-DEFAULT_ARENA_REST)) +
                         " below it");
}

bool Scene::LoadLights(const std::string& path) {
    WordReader reader(path);
    if (!reader.isOpen()) {
        debug << path << ": cannot be opened; the scene stays empty" << std::endl;
        Unplayable(path + ": expected the arena's lights, found no such file");
        return false;
    }
    if (!reader.Expect("AMBIENT")) {
        debug << "expected AMBIENT at lights.txt line 1" << std::endl;
        Unplayable(reader.problem());
        return false;
    }
    Vector3 colour;
    if (reader.Vector(colour)) ambient = colour;
    ApplyAmbient();

    int count = 0;
    if (reader.failed() || !reader.Int(count)) {
        DataProblems::Trace(Problem(reader, "the number of lights") + "; no lights are read");
        return true;
    }
    if (count < 0) {
        DataProblems::Trace(path + ':' + std::to_string(reader.line()) +
                            ": expected a number of lights, found " + std::to_string(count) +
                            "; no lights are read");
        return true;
    }

    DArray<Light*>& lights = System::instance()->display->lights;
    std::string type;
    bool typeRead = false;  // an unknown entry's skipping stopped on the next type word
    for (int entry = 0; entry < count; ++entry) {
        if (!typeRead && !reader.Word(type)) {
            DataProblems::Trace(path + ':' + std::to_string(reader.line()) + ": expected " +
                                std::to_string(count) + " lights, found " +
                                std::to_string(entry));
            break;
        }
        typeRead = false;
        if (!IsLightType(type)) {
            // Its values are unknown too: they are passed over up to the next
            // light type, so that the lights after it still come out right.
            DataProblems::Trace(path + ':' + std::to_string(reader.line()) +
                                ": expected DIRECTIONAL, POINT or SPOT, found '" + type +
                                "'; its words are skipped up to the next light type");
            while (reader.Word(type)) {
                if (IsLightType(type)) {
                    typeRead = true;
                    break;
                }
            }
            continue;
        }
        Light* light = ReadLight(type, reader);
        if (light == nullptr) {
            DataProblems::Trace(Problem(reader, "the values of a " + type + " light") +
                                "; the light is not built and no more lights are read");
            break;
        }
        light->enabled = true;
        lights.Add(light);
        ownLights.Add(light);
    }
    return true;
}

void Scene::LoadScenery(const std::string& dir) {
    const std::string path = dir + "scene.sdf";
    WordReader reader(path);
    if (!reader.isOpen()) {
        debug << path << ": cannot be opened; the scene has lights only" << std::endl;
        Unplayable(path + ": expected the arena's scenery and size, found no such file");
        return;
    }

    std::string word;
    reader.Word(word);
    if (word == "FOG") {
        float start = 0, end = 0;
        Vector3 colour;
        if (!reader.Float(start) || !reader.Float(end) || !reader.Vector(colour)) {
            ApplyFog();
            Unplayable(reader.problem() + "; the fog is left off and scene.sdf is read no further");
            return;
        }
        fog = true;
        fogStart = start;
        fogEnd = end;
        fogColour = colour;
        ApplyFog();
        reader.Word(word);
    } else {
        ApplyFog();
    }

    if (word.empty()) {
        Unplayable(Problem(reader, "the background material") + "; the scene has no scenery");
        return;
    }
    const std::string backgroundPath = dir + "materials/" + word;
    debug << "background material: " << backgroundPath << std::endl;
    background = new Material(backgroundPath);
    background->background(true);

    int count = 0;
    if (!reader.Float(arenaSize) || !reader.Float(arenaParam) || !reader.Int(count)) {
        Unplayable(Problem(reader, "the arena size, the arena rest height and the number of objects") +
                   "; the scene has no scenery");
        return;
    }
    if (!(arenaSize > 0) || !std::isfinite(arenaSize) || !std::isfinite(arenaParam)) {
        std::ostringstream found;
        found << arenaSize << ' ' << arenaParam;
        Unplayable(path + ':' + std::to_string(reader.line()) +
                   ": expected an arena size above 0 and a rest height, found " + found.str());
    }
    if (count < 0) {
        DataProblems::Trace(path + ':' + std::to_string(reader.line()) +
                            ": expected a number of objects, found " + std::to_string(count) +
                            "; no objects are read");
        return;
    }

    std::string type, reflect;
    for (int i = 0; i < count; ++i) {
        if (!reader.Word(type) || !reader.Word(reflect)) {
            DataProblems::Trace(path + ':' + std::to_string(reader.line()) + ": expected " +
                                std::to_string(count) + " objects, found " + std::to_string(i));
            break;
        }
        if (!AddObject(type, reflect[0] == 'R', reader, dir)) {
            debug << "found unknown object type in scene.sdf, object #" << i << std::endl;
            DataProblems::Trace(path + ':' + std::to_string(reader.line()) +
                                ": expected STATIC, WATER, FLAT, FIRE, SUN or ARENA, found '" +
                                type + "'; the words after it are read as the next objects");
        }
        if (reader.failed()) {
            // The record has said what went wrong; its words are out of step now.
            debug << path << ": read no further after object #" << i << std::endl;
            break;
        }
    }
}

bool Scene::AddObject(const std::string& type, bool reflected, WordReader& reader,
                      const std::string& dir) {
    // A sphere lets the passes leave statics and flats out of view; the
    // water's waves, the arena's drop and the sun's flare are always drawn.
    if (type == "STATIC") {
        Static* scenery = new Static(reader, dir);
        Fix(scenery, true);
        (reflected ? reflectedSolids : solids).Add(scenery);
    } else if (type == "WATER") {
        // Mirrored water or floor would have nothing to be mirrored in: the mark is ignored.
        water = new Water(reader, dir);
        solids.Add(water);
    } else if (type == "FLAT" || type == "FIRE") {
        Flat* flat = new Flat(reader, dir);
        Fix(flat, true);
        debug << "adding flat" << std::endl;
        if (reflected && type == "FIRE") debug << "ERROR: not expecting reflected fire!" << std::endl;
        (reflected ? reflectedTransparents : transparents).Add(flat);
    } else if (type == "SUN") {
        Sun* sun = new Sun(reader, dir);
        debug << "adding sun" << std::endl;
        (reflected ? reflectedTransparents : transparents).Add(sun);
    } else if (type == "ARENA") {
        arena = new Arena(reader, dir);
        Fix(arena, false);
        solids.Add(arena);
    } else {
        return false;
    }
    return true;
}

void Scene::ApplyAmbient() const {
    const float model[4] = {ambient.x, ambient.y, ambient.z, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, model);
}

void Scene::ApplyFog() const {
    if (!fog) {
        glDisable(GL_FOG);
        return;
    }
    const float colour[4] = {fogColour.x, fogColour.y, fogColour.z, 1};
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, fogStart);
    glFogf(GL_FOG_END, fogEnd);
    glFogfv(GL_FOG_COLOR, colour);
}

void Scene::Activate() {
    Display* display = System::instance()->display;
    // The slots of lights that another arena had beyond this one's go dark.
    for (int slot = ownLights.count; slot < 8; ++slot) glDisable(GL_LIGHT0 + slot);
    display->lights.count = display->lights.cursor = 0;  // the lights are not the registry's to free
    for (int i = 0; i < ownLights.count; ++i) display->lights.Add(ownLights[i]);
    ApplyAmbient();
    ApplyFog();
    if (background != nullptr) background->background(true);
    display->CreateShadowMatrix();
}

void Scene::Update() {
    // A new GL context (full screen on some systems) starts from GL's defaults.
    const int generation = System::instance()->display->contextGeneration;
    if (generation != contextGeneration) {
        contextGeneration = generation;
        ApplyAmbient();
        ApplyFog();
        if (background != nullptr) background->background(true);
    }
    if (arena != nullptr) arena->raised = stencilShadows;
    CallOn(solids, &Object::Update);
    CallOn(transparents, &Object::Update);
    CallOn(reflectedSolids, &Object::Update);
    CallOn(reflectedTransparents, &Object::Update);
}

void Scene::Draw() { DrawSeen(solids, &Object::Draw); }

void Scene::DrawAmbient() { DrawSeen(solids, &Object::DrawAmbient); }

void Scene::DrawNonAmbient() { DrawSeen(solids, &Object::DrawNonAmbient); }

void Scene::DrawShadowVolume() { CallOn(solids, &Object::DrawShadowVolume); }

void Scene::DrawShadow() { CallOn(solids, &Object::DrawShadow); }

void Scene::DrawReflection() { DrawSeen(reflectedSolids, &Object::Draw); }

void Scene::DrawReflectionAlpha() {
    glDepthMask(GL_FALSE);
    DrawSeen(reflectedTransparents, &Object::Draw);
    glDepthMask(GL_TRUE);
}

void Scene::DrawAlpha() {
    glDepthMask(GL_FALSE);
    DrawSeen(transparents, &Object::Draw);
    glDepthMask(GL_TRUE);
}
