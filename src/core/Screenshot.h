#pragma once

#include <ctime>
#include <string>

// F8: the frame as it is shown, saved as a BMP in the player's pictures
// folder and named by the date and time it was taken.
class Screenshot {
public:
    // "korvanthe-2024-05-01_21-30-05.bmp"
    static std::string FileName(const std::tm& when);
    // `dir`/FileName(when); a second shot in the same second gets "-2"
    // before ".bmp", a third "-3", and so on, so that none is overwritten.
    static std::string FreePath(const std::string& dir, const std::tm& when);
    // Saves the frame in GL's back buffer, width × height pixels, before
    // it is swapped to the screen. The path it was saved at, named on the
    // trace; empty, with a line on standard error, when it could not be.
    static std::string Take(int width, int height);
};
