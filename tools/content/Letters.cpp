// letters/a.asc .. z.asc and 0.asc .. 9.asc: solid block capitals and digits on a 5 x 7 grid, one box per
// lit cell with only its outer faces kept, 25 wide, 30 tall and 8 deep.
//
// A letter stands in the x-y plane with its origin at its left-bottom-front
// corner and its face towards -z: String3D lays letters out along +x, 30
// apart, and the caption camera looks along +z, which shows +x on the right.
// So column 0 of a glyph is the letter's left and row 0 its top.
#include <string>

#include "content/MeshWriter.h"

namespace content {

namespace {

const int COLUMNS = 5, ROWS = 7;
const float CELL_W = 25.0f / COLUMNS;
const float CELL_H = 30.0f / ROWS;
const float DEPTH = 8;

const int LETTERS = 26, DIGITS = 10;

const char* const GLYPHS[LETTERS + DIGITS][ROWS] = {
    {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"},  // A
    {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."},  // B
    {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."},  // C
    {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."},  // D
    {"#####", "#....", "#....", "####.", "#....", "#....", "#####"},  // E
    {"#####", "#....", "#....", "####.", "#....", "#....", "#...."},  // F
    {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."},  // G
    {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"},  // H
    {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."},  // I
    {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."},  // J
    {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"},  // K
    {"#....", "#....", "#....", "#....", "#....", "#....", "#####"},  // L
    {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"},  // M
    {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"},  // N
    {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},  // O
    {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."},  // P
    {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"},  // Q
    {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"},  // R
    {".####", "#....", "#....", ".###.", "....#", "....#", "####."},  // S
    {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."},  // T
    {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},  // U
    {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."},  // V
    {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."},  // W
    {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"},  // X
    {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."},  // Y
    {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"},  // Z
    {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},  // 0
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},  // 1
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},  // 2
    {"####.", "....#", "....#", ".###.", "....#", "....#", "####."},  // 3
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},  // 4
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},  // 5
    {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."},  // 6
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},  // 7
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},  // 8
    {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."},  // 9
};

// The file and mesh name of glyph i: letters a..z, then digits 0..9.
char GlyphName(int glyph) {
    return static_cast<char>(glyph < LETTERS ? 'a' + glyph : '0' + glyph - LETTERS);
}

bool Lit(int letter, int column, int row) {
    if (column < 0 || column >= COLUMNS || row < 0 || row >= ROWS) return false;
    return GLYPHS[letter][row][column] == '#';
}

MeshBuilder Letter(int letter) {
    MeshBuilder mesh;
    // The winner captions are drawn without a depth test: the faces facing
    // the camera go last so that they cover the sides.
    for (int pass = 0; pass < 3; ++pass) {
        for (int row = 0; row < ROWS; ++row)
            for (int column = 0; column < COLUMNS; ++column) {
                if (!Lit(letter, column, row)) continue;
                const float x0 = column * CELL_W, x1 = x0 + CELL_W;
                const float y1 = (ROWS - row) * CELL_H, y0 = y1 - CELL_H;
                const float z0 = 0, z1 = DEPTH;
                if (pass == 0) {
                    if (!Lit(letter, column - 1, row))
                        mesh.Polygon({{x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}}, {-1, 0, 0});
                    if (!Lit(letter, column + 1, row))
                        mesh.Polygon({{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}}, {1, 0, 0});
                    if (!Lit(letter, column, row - 1))
                        mesh.Polygon({{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}}, {0, 1, 0});
                    if (!Lit(letter, column, row + 1))
                        mesh.Polygon({{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}, {0, -1, 0});
                } else if (pass == 1) {
                    mesh.Polygon({{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}, {0, 0, 1});
                } else {
                    mesh.Polygon({{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}}, {0, 0, -1});
                }
            }
    }
    return mesh;
}

}  // namespace

void WriteLetters() {
    for (int glyph = 0; glyph < LETTERS + DIGITS; ++glyph) {
        const char name = GlyphName(glyph);
        // String3D loads every letter with flip true.
        Letter(glyph).Write(std::string("letters/") + name + ".asc", true,
                            std::string(glyph < LETTERS ? "letter " : "digit ") + name);
    }
}

}  // namespace content
