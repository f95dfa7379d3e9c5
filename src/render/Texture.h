#pragma once

struct SDL_Surface;

// One BMP image and the OpenGL objects made from it on first use: the image
// itself and, for bump mapping, a positive and a negative height version of
// a greyscale image. Materials share textures through the display's texture
// list by path; a texture lives until the program ends.
class Texture {
public:
    static const int MAX_PATH = 199;  // longest path that `name` holds

    bool Load(const char* path);                  // read the BMP; false if it cannot be read
    bool LoadMipMap(const char* path, int, int);  // the same, traced in one line; no mipmaps
    unsigned int TexID();          // the image: 1-component luminance or 3-component BGR
    unsigned int TexIDPositive();  // 8-bit height × 0.75 / 256
    unsigned int TexIDNegative();  // 0.75 minus the positive height
    // The GL context that held the objects is gone: they are made again,
    // from the image kept in `surface`, on their next use.
    void Forget();

    SDL_Surface* surface = nullptr;  // 8-bit luminance or 24-bit BGR; null until loaded
    bool made = false;
    bool positiveMade = false;
    bool negativeMade = false;
    unsigned int id = 0;
    unsigned int positiveId = 0;
    unsigned int negativeId = 0;
    char name[MAX_PATH + 1] = {};    // the path the image was loaded from: the sharing key

private:
    bool Read(const char* path, bool verbose);  // keep the path, decode, make odd depths 24-bit
    unsigned int MakeHeight(bool positive);     // the positive or negative object
};
