#pragma once

#include "character/Object.h"
#include <vector>

#include "math/Matrix.h"
#include "math/Vertex.h"
#include "math/Vector3.h"

class Material;
class Mesh;
class Mesh3DS;

// A word drawn in 3D letter meshes, each letter bobbing towards and away
// from the viewer in a wave that runs along the word. The caller places it
// with SetPosition, calls Update and makes a material current before Draw.
class String3D : public Object {
public:
    static constexpr int MAX_LENGTH = 100;  // longer texts are cut
    static constexpr int LETTER_WIDTH = 30;  // between letter origins, before scaling
    // The size of a letter mesh, before scaling: it stands on its origin and
    // runs to the right.
    static constexpr int GLYPH_WIDTH = 25;
    static constexpr int GLYPH_HEIGHT = 30;
    static constexpr int WAVE_DEPTH = 10;    // furthest a letter moves, before scaling

    String3D(const char* text, float scale);
    ~String3D() override = default;

    void Draw() override;
    // From the first letter's left edge to the last one's right, scaled.
    float Width() const;
    float Height() const { return GLYPH_HEIGHT * scale(1, 1); }

    // Letter i's matrix at real time `ms`, seen from `eye`: the word's world
    // matrix, the scale, then the letter's place in the word and in the wave.
    Matrix LetterMatrix(int i, unsigned ms, const Vector3& eye) const;
    // The same without the world matrix: where letter i lies in the word.
    Matrix LetterPlace(int i, unsigned ms, const Vector3& eye) const;

    static void LoadLetters();         // reads the letter and digit meshes once; later calls do nothing
    static void Map(Material* m);     // texture coordinates of every letter from m's mapping
    static Mesh* LetterMesh(char c);   // the mesh of a letter in either case, a digit or a mark . : / - _ , ', else null

    int length = 0;                    // characters kept
    Mesh* letters[MAX_LENGTH] = {};    // each character's mesh; null where there is none
    Matrix scale;

private:
    // The word's letters put together for one draw call; kept to spare the
    // allocations from frame to frame.
    std::vector<Vertex> batch;
    std::vector<int> batchIndices;
};

// The letter meshes from "letters/a.asc" to "letters/z.asc", shared by every
// word. Null until the first word is made (or LoadLetters runs): the loader
// traces to `debug`, which is not ready before main.
extern Mesh3DS* LetterA;
extern Mesh3DS* LetterB;
extern Mesh3DS* LetterC;
extern Mesh3DS* LetterD;
extern Mesh3DS* LetterE;
extern Mesh3DS* LetterF;
extern Mesh3DS* LetterG;
extern Mesh3DS* LetterH;
extern Mesh3DS* LetterI;
extern Mesh3DS* LetterJ;
extern Mesh3DS* LetterK;
extern Mesh3DS* LetterL;
extern Mesh3DS* LetterM;
extern Mesh3DS* LetterN;
extern Mesh3DS* LetterO;
extern Mesh3DS* LetterP;
extern Mesh3DS* LetterQ;
extern Mesh3DS* LetterR;
extern Mesh3DS* LetterS;
extern Mesh3DS* LetterT;
extern Mesh3DS* LetterU;
extern Mesh3DS* LetterV;
extern Mesh3DS* LetterW;
extern Mesh3DS* LetterX;
extern Mesh3DS* LetterY;
extern Mesh3DS* LetterZ;
// The digits' meshes, "letters/0.asc" to "letters/9.asc", loaded with the letters.
extern Mesh3DS* Digits[10];
