#pragma once

#include <memory>
#include <string>
#include <vector>

class Material;
class String3D;

// A line of 3D text that changes now and then: its letters are made again
// only when the words do.
class Label {
public:
    explicit Label(float scale);
    ~Label();
    Label(Label&&) noexcept;
    Label& operator=(Label&&) noexcept;

    void Set(const std::string& words);
    // Drawn with its first letter's lower left corner at (x, y), or centred
    // on x; in `material`, or the one current when none is given.
    void Draw(float x, float y, Material* material = nullptr);
    void DrawCentred(float x, float y, Material* material = nullptr);
    const std::string& words() const { return shown; }

    // `text` in lines of at most `width` characters, broken between words.
    static std::vector<std::string> Wrap(const std::string& text, size_t width);

private:
    float scale;
    std::string shown;
    std::unique_ptr<String3D> text;
};
