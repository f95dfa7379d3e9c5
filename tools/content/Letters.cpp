// letters/a.asc .. z.asc, 0.asc .. 9.asc and the punctuation a file's path
// or a reader's message needs (dot, colon, slash, dash, underscore, comma,
// quote): solid block glyphs on a 5 x 7 grid, one box per lit cell with only
// its outer faces kept, 25 wide, 30 tall and 8 deep.
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

const int LETTERS = 26, DIGITS = 10, MARKS = 7;

// The punctuation's file names, in the order of their glyphs below.
const char* const MARK_NAMES[MARKS] = {"dot", "colon", "slash", "dash", "underscore", "comma", "quote"};

const char* const GLYPHS[LETTERS + DIGITS + MARKS][ROWS] = {
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
    {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."},  // .
    {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."},  // :
    {"....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."},  // /
    {".....", ".....", ".....", ".###.", ".....", ".....", "....."},  // -
    {".....", ".....", ".....", ".....", ".....", ".....", "#####"},  // _
    {".....", ".....", ".....", ".....", ".##..", "..#..", ".#..."},  // ,
    {"..#..", "..#..", ".#...", ".....", ".....", ".....", "....."},  // '
};

// The file and mesh name of glyph i: letters a..z, digits 0..9, then the
// punctuation by name.
std::string GlyphName(int glyph) {
    if (glyph < LETTERS) return std::string(1, static_cast<char>('a' + glyph));
    if (glyph < LETTERS + DIGITS) return std::string(1, static_cast<char>('0' + glyph - LETTERS));
    return MARK_NAMES[glyph - LETTERS - DIGITS];
}

const char* GlyphKind(int glyph) {
    return glyph < LETTERS ? "letter " : glyph < LETTERS + DIGITS ? "digit " : "mark ";
}

bool Lit(int letter, int column, int row) {
    if (column < 0 || column >= COLUMNS || row < 0 || row >= ROWS) return false;
    return GLYPHS[letter][row][column] == '#';
}

// Lit cells in a line of the grid, `from` cell on in steps of (dc, dr),
// merged into runs: each run becomes one quad, so that a letter costs a
// software renderer a third of the triangles it would cell by cell. A cell
// counts when it is lit and, for a side (dx, dy not both 0), its neighbour
// across that side is not.
template <class Emit>
void Runs(int letter, int column, int row, int dc, int dr, int count, int dx, int dy, Emit emit) {
    int start = -1;
    for (int i = 0; i <= count; ++i) {
        const int c = column + i * dc, r = row + i * dr;
        const bool lit = i < count && Lit(letter, c, r);
        const bool covered = (dx != 0 || dy != 0) && Lit(letter, c + dx, r + dy);
        const bool counts = lit && !covered;
        if (counts && start < 0) start = i;
        if (!counts && start >= 0) {
            emit(start, i - 1);
            start = -1;
        }
    }
}

MeshBuilder Letter(int letter) {
    MeshBuilder mesh;
    const float z0 = 0, z1 = DEPTH;
    auto top = [](int row) { return (ROWS - row) * CELL_H; };  // y of a row's upper edge
    // The outlines: left and right sides run down the columns, tops and
    // bottoms along the rows.
    for (int column = 0; column < COLUMNS; ++column) {
        for (int side : {-1, 1}) {
            const float x = (column + (side > 0 ? 1 : 0)) * CELL_W;
            Runs(letter, column, 0, 0, 1, ROWS, side, 0, [&](int r0, int r1) {
                const float y1 = top(r0), y0 = top(r1 + 1);
                mesh.Polygon({{x, y0, z0}, {x, y1, z0}, {x, y1, z1}, {x, y0, z1}}, {static_cast<float>(side), 0, 0});
            });
        }
    }
    for (int row = 0; row < ROWS; ++row) {
        for (int side : {-1, 1}) {  // -1 the row above, the top face
            const float y = side < 0 ? top(row) : top(row + 1);
            Runs(letter, 0, row, 1, 0, COLUMNS, 0, side, [&](int c0, int c1) {
                const float x0 = c0 * CELL_W, x1 = (c1 + 1) * CELL_W;
                mesh.Polygon({{x0, y, z0}, {x1, y, z0}, {x1, y, z1}, {x0, y, z1}}, {0, side < 0 ? 1.0f : -1.0f, 0});
            });
        }
    }
    // The winner captions were once drawn without a depth test: the faces
    // facing the camera still go last so that they cover the sides.
    for (float z : {z1, z0}) {
        for (int row = 0; row < ROWS; ++row) {
            Runs(letter, 0, row, 1, 0, COLUMNS, 0, 0, [&](int c0, int c1) {
                const float x0 = c0 * CELL_W, x1 = (c1 + 1) * CELL_W;
                mesh.Polygon({{x0, top(row + 1), z}, {x1, top(row + 1), z}, {x1, top(row), z}, {x0, top(row), z}},
                             {0, 0, z == z0 ? -1.0f : 1.0f});
            });
        }
    }
    return mesh;
}

}  // namespace

void WriteLetters() {
    for (int glyph = 0; glyph < LETTERS + DIGITS + MARKS; ++glyph) {
        const std::string name = GlyphName(glyph);
        // String3D loads every letter with flip true.
        Letter(glyph).Write("letters/" + name + ".asc", true, GlyphKind(glyph) + name);
    }
}

}  // namespace content
