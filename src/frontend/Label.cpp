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
    // A path may break after any of its slashes.
    std::string breakable;
    for (char c : text) breakable += c == '/' ? std::string("/ ") : std::string(1, c);
    std::vector<std::string> lines;
    std::istringstream words(breakable);
    std::string word, line;
    while (words >> word) {
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}
