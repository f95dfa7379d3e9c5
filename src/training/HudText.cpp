#include "training/HudText.h"

#include <GL/gl.h>

#include <cctype>
#include <cstring>

namespace {

struct Glyph {
    char c;
    const char* rows;  // ROWS rows of COLUMNS, one after the other
};

const Glyph FONT[] = {
    {'0', "####.##.##.####"}, {'1', ".#.##..#..#.###"}, {'2', "###..#####..###"},
    {'3', "###..####..####"}, {'4', "#.##.####..#..#"}, {'5', "####..###..####"},
    {'6', "####..####.####"}, {'7', "###..#..#.#..#."}, {'8', "####.#####.####"},
    {'9', "####.####..####"}, {'a', ".#.#.#####.##.#"}, {'b', "##.#.###.#.###."},
    {'c', ".###..#..#...##"}, {'d', "##.#.##.##.###."}, {'e', "####..##.#..###"},
    {'f', "####..##.#..#.."}, {'g', ".###..#.##.#.##"}, {'h', "#.##.#####.##.#"},
    {'i', "###.#..#..#.###"}, {'j', "..#..#..##.#.#."}, {'k', "#.##.###.#.##.#"},
    {'l', "#..#..#..#..###"}, {'m', "#.########.##.#"}, {'n', "##.#.##.##.##.#"},
    {'o', ".#.#.##.##.#.#."}, {'p', "##.#.###.#..#.."}, {'q', ".#.#.##.####.##"},
    {'r', "##.#.###.#.##.#"}, {'s', ".###...#...###."}, {'t', "###.#..#..#..#."},
    {'u', "#.##.##.##.####"}, {'v', "#.##.##.##.#.#."}, {'w', "#.##.########.#"},
    {'x', "#.##.#.#.#.##.#"}, {'y', "#.##.#.#..#..#."}, {'z', "###..#.#.#..###"},
    {':', "....#.....#...."}, {'-', "......###......"}, {'+', "....#.###.#...."},
    {'/', "..#..#.#.#..#.."}, {'.', ".............#."}, {'(', ".#.#..#..#...#."},
    {')', ".#...#..#..#.#."},
};

}  // namespace

const char* HudText::Glyph(char c) {
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const ::Glyph& g : FONT) {
        if (g.c == lower) return g.rows;
    }
    return nullptr;
}

int HudText::Width(const std::string& text, int scale) {
    return static_cast<int>(text.size()) * (COLUMNS + 1) * scale;
}

void HudText::Draw(const std::string& text, int x, int y, int scale, float r, float g, float b) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    // The shadow first, one font pixel down and right, then the text.
    const int shadow = scale > 1 ? scale / 2 : 1;
    for (int pass = 0; pass < 2; ++pass) {
        const int dx = pass == 0 ? shadow : 0;
        if (pass == 0) {
            glColor3f(0, 0, 0);
        } else {
            glColor3f(r, g, b);
        }
        glBegin(GL_QUADS);
        for (size_t i = 0; i < text.size(); ++i) {
            const char* rows = Glyph(text[i]);
            if (rows == nullptr) continue;
            const int left = x + static_cast<int>(i) * (COLUMNS + 1) * scale + dx;
            for (int row = 0; row < ROWS; ++row) {
                for (int col = 0; col < COLUMNS; ++col) {
                    if (rows[row * COLUMNS + col] != '#') continue;
                    const int px = left + col * scale;
                    const int py = y + row * scale + dx;
                    glVertex2i(px, py);
                    glVertex2i(px + scale, py);
                    glVertex2i(px + scale, py + scale);
                    glVertex2i(px, py + scale);
                }
            }
        }
        glEnd();
    }
}
