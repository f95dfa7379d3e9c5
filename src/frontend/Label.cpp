#include "frontend/Label.h"

#include <sstream>

#include "frontend/CaptionView.h"
#include "frontend/String3D.h"

Label::Label(float scale_) : scale(scale_), text(std::make_unique<String3D>("", scale_)) {}

Label::~Label() = default;
Label::Label(Label&&) noexcept = default;
Label& Label::operator=(Label&&) noexcept = default;

void Label::Set(const std::string& words) {
    if (words == shown) return;
    shown = words;
    text = std::make_unique<String3D>(words.c_str(), scale);
}

void Label::Draw(float x, float y, Material* material) { CaptionView::Draw(*text, x, y, material); }

void Label::DrawCentred(float x, float y, Material* material) { CaptionView::DrawCentred(*text, x, y, material); }

std::vector<std::string> Label::Wrap(const std::string& text, size_t width) {
    // A path may also break after any of its slashes: the piece after a
    // slash follows it with no space when both fit on the line.
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        bool spaced = true;
        for (size_t from = 0; from < word.size();) {
            const size_t slash = word.find('/', from);
            const size_t end = slash == std::string::npos ? word.size() : slash + 1;
            const std::string piece = word.substr(from, end - from);
            const std::string gap = line.empty() || !spaced ? "" : " ";
            if (!line.empty() && line.size() + gap.size() + piece.size() > width) {
                lines.push_back(line);
                line = piece;
            } else {
                line += gap + piece;
            }
            spaced = false;
            from = end;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}
