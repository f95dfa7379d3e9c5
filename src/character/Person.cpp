#include "character/Person.h"

#include <GL/gl.h>

#include <memory>
#include <vector>

#include "character/Bone.h"
#include "character/Cloth.h"
#include "character/Head.h"
#include "character/LockBone.h"
#include "character/Pony.h"
#include "character/Ponytail.h"
#include "core/DataProblems.h"
#include "core/Display.h"
#include "core/System.h"
#include "core/Trace.h"
#include "core/WordReader.h"
#include "match/Tracer.h"
#include "render/Material.h"
#include "render/Mesh3DS.h"
#include "render/StencilVolumes.h"

namespace {

// Far more than any body needs; larger numbers in a body definition are
// typing mistakes that would otherwise ask for absurd amounts of memory.
const int MAX_ENTRIES = 1000;
const int MAX_CLOTH_ROWS = 1000;
const int MAX_ROW_POINTS = 10000;
const int MAX_TAIL_SEGMENTS = 1000;
const size_t MAX_WORD = 199;

// A broken index would make the part hang from nothing or from itself: the
// body cannot be built, so the program ends as for any bad index.
[[noreturn]] void BadEntry(const WordReader& reader, const std::string& what) {
    debug << "Assertion failed!" << std::endl;
    DataProblems::Abandon(reader.name() + ':' + std::to_string(reader.line()) + ": " + what, -1);
}

// A count outside its limit: reported where it stands and refused.
bool CountInRange(WordReader& reader, int count, int limit, const char* what) {
    if (count >= 0 && count <= limit) return true;
    reader.Fail(std::string("expected ") + what + " from 0 to " + std::to_string(limit) +
                ", found " + std::to_string(count));
    return false;
}

}  // namespace

Person::Person(const std::string& name_, int) : name(name_) {
    // The parts that hang from the fighter's root hold it as their parent,
    // so that the whole body moves where the fighter is placed. Those
    // references are the body's own: once it is built they are taken off the
    // count, so that the fighter goes when the last holder outside lets go.
    ++references;  // while the body is built, a part let go cannot delete it
    rotates = true;
    translates = true;
    dirty = false;
    defFile = "characters/" + name + "/low.bdf";

    LoadTracers();
    LoadDef();
    localOrigin = Vector3(0, 0, 0);
    bodyReferences = references;
    references = 0;
}

Person::~Person() {
    // The parts let go of the fighter as they go: their references are put
    // back, so that the count cannot reach 0 a second time.
    references += bodyReferences;
    Display* const display = System::instance()->display;
    if (tracerMaterials.count == 0 || display == nullptr) return;
    // The display lists them for sharing, but this fighter holds the only
    // references: they are freed with it, and must not stay listed.
    display->materials.RemoveAll(tracerMaterials);
}

void Person::LoadTracers() {
    WordReader reader("characters/" + name + "/tracerlist.txt");
    if (!reader.isOpen()) {
        debug << "no tracer file" << std::endl;
        DataProblems::Note(reader.name() + ": cannot be opened; the trails have no material");
        return;
    }
    int count = 0;
    if (reader.Int(count) && !CountInRange(reader, count, MAX_ENTRIES, "a material count")) {
        count = 0;
    }
    std::string path;
    int read = 0;
    for (; read < count && reader.Word(path, MAX_WORD); ++read) {
        Material* material = new Material(path);
        tracerMaterials.Add(material);
        System::instance()->display->materials.Add(material);
    }
    if (reader.failed()) {
        DataProblems::Trace(reader.problem());
    } else if (read < count) {
        DataProblems::Trace(reader.name() + ':' + std::to_string(reader.line()) + ": expected " +
                            std::to_string(count) + " material files, found " +
                            std::to_string(read));
    }
}

void Person::LoadDef() {
    WordReader reader(defFile);
    if (!reader.isOpen()) return;

    int count = 0;
    std::string meshDir;
    reader.Int(count);
    debug << "Bones: " << count << std::endl;
    reader.Word(meshDir, MAX_WORD);
    if (!CountInRange(reader, count, MAX_ENTRIES, "an entry count")) count = 0;

    const std::string folder = "characters/" + name + "/";
    std::string meshPrefix = folder + meshDir;
    if (!meshPrefix.empty() && meshPrefix.back() != '/' && meshPrefix.back() != '\\') {
        meshPrefix += '/';
    }
    const std::string shadowPrefix = folder + "3/";

    int lastIndex = -1;
    int entry = 0;
    for (; entry < count && !reader.failed(); ++entry) {
        int index = 0;
        std::string type, meshName, materialName;
        if (!reader.Int(index) || !reader.Word(type, MAX_WORD) ||
            !reader.Word(meshName, MAX_WORD) || !reader.Word(materialName, MAX_WORD)) {
            if (!reader.failed()) {
                reader.Fail("expected " + std::to_string(count) + " entries, found " +
                            std::to_string(entry));
            }
            break;
        }
        // Owned here until a part takes it; an entry that breaks off frees it.
        std::unique_ptr<Material> material(new Material(folder + "materials/" + materialName));
        const std::string meshPath = meshPrefix + meshName;
        const std::string shadowPath = shadowPrefix + meshName;
        debug << "meshname " << meshPath << std::endl;
        debug << "shadname " << shadowPath << std::endl;
        names.Add(type);

        // Parts hang from parts read before them, or from the fighter's root
        // (a negative index): anything else is a broken file.
        auto parentOf = [&](int parentIndex) -> Object* {
            if (parentIndex >= bones.count) {
                BadEntry(reader, "entry " + std::to_string(index) + " hangs from entry " +
                                     std::to_string(parentIndex) +
                                     ", which is not among the entries before it");
            }
            return parentIndex < 0 ? this : static_cast<Object*>(bones[parentIndex]);
        };

        if (type == "CLOTH") {
            int parentIndex = 0, rows = 0;
            reader.Int(parentIndex);
            reader.Int(rows);
            debug << "loading cloth " << meshName << std::endl;
            if (!CountInRange(reader, rows, MAX_CLOTH_ROWS, "a row count")) break;
            std::vector<int> counts(rows, 0);
            std::vector<std::vector<float>> flex(rows);
            int largest = 0;
            for (int row = 0; row < rows && !reader.failed(); ++row) {
                reader.Int(counts[row]);
                debug << "col " << row << " n " << counts[row] << std::endl;
                if (!CountInRange(reader, counts[row], MAX_ROW_POINTS, "a row of points")) break;
                largest = std::max(largest, counts[row]);
                flex[row].assign(std::max(counts[row] - 1, 0), 0.0f);
                for (float& f : flex[row]) {
                    reader.Float(f);
                    if (f < 0 || f > 1) debug << "flexibility error in cloth row " << row << std::endl;
                }
            }
            if (reader.failed()) break;
            std::vector<const float*> rowsFlex;
            for (const auto& row : flex) rowsFlex.push_back(row.data());
            Object* const parent = parentOf(parentIndex);
            bones.Add(new Cloth(parent, rows, counts.data(), rowsFlex.data(),
                                Own(new Mesh3DS(meshPath, true)), material.release(), largest));
        } else if (type == "PONYTAIL") {
            int flip = 0, parentIndex = 0, segments = 0;
            reader.Int(flip);
            reader.Int(parentIndex);
            reader.Int(segments);
            debug << "loading ponytail " << meshName << std::endl;
            debug << "   ntail  =" << segments << std::endl;
            if (!CountInRange(reader, segments, MAX_TAIL_SEGMENTS, "a segment count")) break;
            std::vector<int> counts(segments, 0);
            std::vector<float> flex(segments, 0);
            std::vector<Vector3> joints(segments), ends(segments), hints(segments);
            for (int i = 0; i < segments && !reader.failed(); ++i) {
                reader.Int(counts[i]);
                reader.Float(flex[i]);
                reader.Vector(joints[i]);
                reader.Vector(ends[i]);
                reader.Vector(hints[i]);
                debug << "\tsegment " << i << " flex=" << flex[i] << std::endl;
            }
            if (reader.failed()) break;
            Object* const parent = parentOf(parentIndex);
            Mesh* const first = Own(new Mesh3DS(meshPath, flip == 1));
            Mesh* const second = Own(new Mesh(*first));  // the same file, read once
            bones.Add(new Ponytail(parent, segments, second, first, material.release(),
                                   counts.data(), joints.data(), ends.data(), hints.data(),
                                   flex.data()));
        } else {
            int flip = 0, parentIndex = 0;
            Vector3 joint, end, hint, extent;
            reader.Int(flip);
            reader.Int(parentIndex);
            reader.Vector(joint);
            reader.Vector(end);
            reader.Vector(hint);
            reader.Vector(extent);
            if (reader.failed()) break;
            ++ncollide;
            if (index != bones.count) {
                BadEntry(reader, "entry " + std::to_string(bones.count) + " is numbered " +
                                     std::to_string(index));
            }
            Object* const parent = parentOf(parentIndex);

            const char* kind = type == "PONY" || type == "PONYR" ? "pony bone"
                               : type == "HEAD"                  ? "head"
                               : type == "LOCK"                  ? "locked bone"
                                                                 : "bone";
            debug << "Creating " << kind << "\t " << index << "\tpar:" << parentIndex << std::endl;
            Mesh* const mesh = Own(new Mesh3DS(meshPath, flip == 1));
            Mesh* const shadow =
                Own(shadowPath == meshPath ? new Mesh(*mesh) : new Mesh3DS(shadowPath, flip == 1));
            Material* const skin = material.release();
            Object* part = nullptr;
            if (type == "PONY" || type == "PONYR") {
                part = new Pony(parent, joint, end, hint, extent, mesh, shadow, nullptr, skin,
                                type == "PONYR");
                debug << "Created pony bone\t" << std::endl;
            } else if (type == "HEAD") {
                head = new Head(parent, joint, end, hint, extent, mesh, shadow, nullptr, skin);
                part = head;
                debug << "Created head bone\t" << std::endl;
            } else if (type == "LOCK") {
                debug << "meshes loaded" << std::endl;
                part = new LockBone(parent, joint, end, hint, extent, mesh, shadow, nullptr, skin);
                debug << "Created locked bone\t" << std::endl;
            } else {
                part = new Bone(parent, joint, end, hint, extent, mesh, shadow, nullptr, skin);
                debug << "Created bone\t" << std::endl;
            }
            bones.Add(part);
            if (type == "WEAPON") {
                debug << "weapon added to list as index " << index << std::endl;
                weapons.Add(index);
            }
            tracers.Add(new Tracer(part, nullptr));
        }
        lastIndex = index;
    }
    // A body missing its later limbs is still played, but whoever made it must know.
    if (reader.failed()) {
        DataProblems::Report(reader.problem());
        debug << "the body stops there" << std::endl;
    }
    debug << "done w/ def" << std::endl;

    // Every entry is one part, so the count of parts is the bone count; a
    // last index that says otherwise would send the animation past the list.
    nbones = bones.count;
    if (lastIndex + 1 != nbones) {
        debug << defFile << ": the last entry is numbered " << lastIndex << " but there are "
              << nbones << " entries; using " << nbones << std::endl;
    }
}

Mesh* Person::Own(Mesh* mesh) {
    bodyMeshes.emplace_back(mesh);
    return mesh;
}

void Person::Reset() {
    localOrigin = Vector3(0, 0, 0);
    SetRotation(Vector3(0, 0, 0));
    SetPosition(Vector3(0, 0, 0));
}

void Person::Update() {
    Object::Update();
    for (int i = 0; i < bones.count; ++i) bones[i]->Update();
    for (int i = 0; i < tracers.count; ++i) tracers[i]->Update();
}

void Person::Draw() {
    Timer& timer = System::instance()->timer;
    timer.Start();
    Object::Draw();
    timer.End("Person: ");
    for (int i = 0; i < bones.count; ++i) bones[i]->Draw();
}

void Person::DrawShadow() {
    Object::DrawShadow();
    for (int i = 0; i < bones.count; ++i) bones[i]->DrawShadow();
}

void Person::DrawAlpha() {
    glDepthMask(GL_FALSE);
    // Without a tracer list the trails take whatever material is current.
    if (tracerMaterials.count > 0) tracerMaterials[0]->current(true);
    for (int i = 0; i < tracers.count; ++i) tracers[i]->Draw();
    glDepthMask(GL_TRUE);
}

void Person::DrawAmbient() {
    for (int i = 0; i < bones.count; ++i) bones[i]->DrawAmbient();
}

void Person::DrawShadowVolume() {
    // Every part's volume is in world space under the same GL state: they
    // go to GL together.
    StencilVolumes::BeginBatch();
    for (int i = 0; i < bones.count; ++i) bones[i]->DrawShadowVolume();
    StencilVolumes::EndBatch();
}

void Person::DrawNonAmbient() {
    for (int i = 0; i < bones.count; ++i) bones[i]->DrawNonAmbient();
}
