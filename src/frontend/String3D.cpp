#include "frontend/String3D.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <ostream>
#include <string>

#include "core/Clock.h"
#include "core/Display.h"
#include "core/System.h"
#include "core/Trace.h"
#include "math/Camera.h"
#include "render/Mesh.h"
#include "render/Mesh3DS.h"

Mesh3DS* LetterA = nullptr;
Mesh3DS* LetterB = nullptr;
Mesh3DS* LetterC = nullptr;
Mesh3DS* LetterD = nullptr;
Mesh3DS* LetterE = nullptr;
Mesh3DS* LetterF = nullptr;
Mesh3DS* LetterG = nullptr;
Mesh3DS* LetterH = nullptr;
Mesh3DS* LetterI = nullptr;
Mesh3DS* LetterJ = nullptr;
Mesh3DS* LetterK = nullptr;
Mesh3DS* LetterL = nullptr;
Mesh3DS* LetterM = nullptr;
Mesh3DS* LetterN = nullptr;
Mesh3DS* LetterO = nullptr;
Mesh3DS* LetterP = nullptr;
Mesh3DS* LetterQ = nullptr;
Mesh3DS* LetterR = nullptr;
Mesh3DS* LetterS = nullptr;
Mesh3DS* LetterT = nullptr;
Mesh3DS* LetterU = nullptr;
Mesh3DS* LetterV = nullptr;
Mesh3DS* LetterW = nullptr;
Mesh3DS* LetterX = nullptr;
Mesh3DS* LetterY = nullptr;
Mesh3DS* LetterZ = nullptr;

Mesh3DS* Digits[10] = {};

namespace {

const int ALPHABET = 26;
const int DIGITS = 10;

// The letters in alphabetical order. Only addresses: nothing here depends
// on another file's globals being built.
Mesh3DS** const LETTERS[ALPHABET] = {
    &LetterA, &LetterB, &LetterC, &LetterD, &LetterE, &LetterF, &LetterG, &LetterH, &LetterI,
    &LetterJ, &LetterK, &LetterL, &LetterM, &LetterN, &LetterO, &LetterP, &LetterQ, &LetterR,
    &LetterS, &LetterT, &LetterU, &LetterV, &LetterW, &LetterX, &LetterY, &LetterZ,
};

// The punctuation a path or a reader's message needs, with the names of
// their mesh files.
struct Mark {
    char c;
    const char* file;
    Mesh3DS* mesh;
};
Mark marks[] = {
    {'.', "dot", nullptr},   {':', "colon", nullptr},      {'/', "slash", nullptr}, {'-', "dash", nullptr},
    {'_', "underscore", nullptr}, {',', "comma", nullptr}, {'\'', "quote", nullptr},
};

const int WAVE_PERIOD_MS = 1000;
const int WAVE_LAG_MS = 100;  // each letter runs this far behind the one before
const float WAVE_PI = 3.141f;

}  // namespace

void String3D::LoadLetters() {
    static bool loaded = false;
    if (loaded) return;
    loaded = true;
    for (int i = 0; i < ALPHABET; ++i) {
        const std::string file = std::string("letters/") + static_cast<char>('a' + i) + ".asc";
        *LETTERS[i] = new Mesh3DS(file, true);
    }
    for (int d = 0; d < DIGITS; ++d) {
        Digits[d] = new Mesh3DS(std::string("letters/") + static_cast<char>('0' + d) + ".asc", true);
    }
    for (Mark& mark : marks) mark.mesh = new Mesh3DS(std::string("letters/") + mark.file + ".asc", true);
}

void String3D::Map(Material* m) {
    LoadLetters();
    if (m == nullptr) return;
    for (Mesh3DS** letter : LETTERS) (*letter)->RemapCoords(m);
    for (Mesh3DS* digit : Digits) digit->RemapCoords(m);
    for (Mark& mark : marks) mark.mesh->RemapCoords(m);
}

Mesh* String3D::LetterMesh(char c) {
    LoadLetters();
    if (c >= '0' && c <= '9') return Digits[c - '0'];
    for (const Mark& mark : marks) {
        if (mark.c == c) return mark.mesh;
    }
    const int lower = std::tolower(static_cast<unsigned char>(c));
    if (lower < 'a' || lower > 'z') return nullptr;
    return *LETTERS[lower - 'a'];
}

String3D::String3D(const char* text, float s) {
    scale.CreateScale(s);
    const size_t full = text != nullptr ? std::strlen(text) : 0;
    length = full > MAX_LENGTH ? MAX_LENGTH : static_cast<int>(full);
    if (full > MAX_LENGTH) {
        debug << "a text of " << full << " characters is cut to " << MAX_LENGTH << ": "
              << std::string(text, MAX_LENGTH) << std::endl;
    }
    for (int i = 0; i < length; ++i) letters[i] = LetterMesh(text[i]);
    rotates = true;
    translates = true;
}

float String3D::Width() const {
    return length > 0 ? (LETTER_WIDTH * (length - 1) + GLYPH_WIDTH) * scale(0, 0) : 0;
}

Matrix String3D::LetterMatrix(int i, unsigned ms, const Vector3& eye) const {
    return world * LetterPlace(i, ms, eye);
}

Matrix String3D::LetterPlace(int i, unsigned ms, const Vector3& eye) const {
    const float sigma = scale(1, 1);
    const int t = static_cast<int>(ms % WAVE_PERIOD_MS);
    const float s = std::sin(2.0f * (WAVE_LAG_MS * i + t) * WAVE_PI / WAVE_PERIOD_MS);
    // Roughly the letter's middle in the world: the wave runs along the line
    // from the eye to it, so the letter seems to breathe towards the viewer.
    const Vector3 place = position + Vector3(LETTER_WIDTH * (i * sigma + 0.5f), 0, 0);
    const Vector3 away = (place - eye).Normalized();
    Matrix move;
    move.CreateTranslate(Vector3(static_cast<float>(LETTER_WIDTH * i), 0, 0) +
                         away * (WAVE_DEPTH * s));
    return scale * move;
}

// The letters go to GL in one call: a software renderer pays for every
// call, and a screen of text has hundreds of letters.
void String3D::Draw() {
    const unsigned now = Clock::tickSource();
    Display* display = System::instance()->display;
    if (display == nullptr) return;
    const Vector3 eye = display->camera != nullptr ? display->camera->from : Vector3();
    batch.clear();
    batchIndices.clear();
    // A letter only moves and scales within the word: the faces turned away
    // from the eye (its back, its far sides) are left out here, in the
    // word's own space, rather than culled by GL.
    Matrix toWord = world;
    toWord.Inverse();
    const Vector3 wordEye = toWord * eye;
    for (int i = 0; i < length; ++i) {
        const Mesh* letter = letters[i];
        if (letter == nullptr || letter->numFaces == 0) continue;
        const Matrix place = LetterPlace(i, now, eye);
        const int first = static_cast<int>(batch.size());
        for (int v = 0; v < letter->numVertices; ++v) {
            const Vertex& corner = letter->vertices[v];
            batch.emplace_back(place * corner.pos, corner.normal, corner.u, corner.v);
        }
        for (int f = 0; f < letter->numFaces; ++f) {
            const int* corners = &letter->faces[f * 3];
            const Vertex& a = batch[first + corners[0]];
            if (a.normal.Dot(wordEye - a.pos) <= 0) continue;
            for (int c = 0; c < 3; ++c) batchIndices.push_back(first + corners[c]);
        }
    }
    if (batchIndices.empty()) return;
    display->SetWorld(world);
    Mesh::DrawTriangles(batch.data(), batchIndices.data(), static_cast<int>(batchIndices.size()));
}
