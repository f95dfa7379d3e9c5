#include "render/Texture.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "core/DataProblems.h"
#include "core/Trace.h"

namespace {

const float HEIGHT_SCALE = 0.75f;  // the positive and negative heights add up to this

// Far larger than any texture GL takes; a header claiming more is broken.
const int MAX_SIDE = 16384;

// The bits per pixel that the file itself declares. SDL widens 1- and 4-bit
// images to 8 bits of palette indices, which must not pass for grey levels.
int DeclaredBits(SDL_RWops* rw) {
    Uint8 header[30] = {};
    const int start = SDL_RWtell(rw);
    SDL_RWread(rw, header, 1, sizeof header);
    SDL_RWseek(rw, start, RW_SEEK_SET);
    // The old OS/2 header keeps its bit count four bytes earlier.
    const int at = header[14] == 12 && header[15] == 0 ? 24 : 28;
    return header[at] | header[at + 1] << 8;
}

bool KnownDepth(int bits) {
    for (int known : {1, 4, 8, 15, 16, 24, 32}) {
        if (bits == known) return true;
    }
    return false;
}

// SDL's loader believes the file's header: a crafted one gets a surface whose
// format does not describe its pixels, and converting that reads wild memory.
// Empty when the surface is safe to use, else what is wrong with it.
std::string Unusable(const SDL_Surface* image, int declaredBits) {
    const SDL_PixelFormat* f = image->format;
    if (!KnownDepth(declaredBits)) {
        return "expected 1, 4, 8, 16, 24 or 32 bits a pixel, found " + std::to_string(declaredBits);
    }
    if (f == nullptr || !KnownDepth(f->BitsPerPixel) ||
        f->BytesPerPixel != (f->BitsPerPixel + 7) / 8) {
        return "expected a pixel format SDL can convert, found a broken one";
    }
    if (image->w < 1 || image->h < 1 || image->w > MAX_SIDE || image->h > MAX_SIDE) {
        return "expected 1 to " + std::to_string(MAX_SIDE) + " pixels a side, found " +
               std::to_string(image->w) + " x " + std::to_string(image->h);
    }
    if (image->pixels == nullptr || image->pitch < image->w * f->BytesPerPixel) {
        return "expected rows of " + std::to_string(image->w * f->BytesPerPixel) +
               " bytes, found " + std::to_string(image->pitch);
    }
    if (f->BitsPerPixel <= 8 && (f->palette == nullptr || f->palette->ncolors < 1)) {
        return "expected a colour palette, found none";
    }
    return "";
}

bool IsBgr24(const SDL_PixelFormat* f) {
    return f->BytesPerPixel == 3 && f->Amask == 0 &&
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
           f->Rmask == 0xFF0000 && f->Gmask == 0x00FF00 && f->Bmask == 0x0000FF;
#else
           f->Rmask == 0x0000FF && f->Gmask == 0x00FF00 && f->Bmask == 0xFF0000;
#endif
}

// Any other depth becomes three bytes a pixel in blue, green, red order, the
// layout that the upload as GL_BGR expects.
SDL_Surface* ToBgr24(SDL_Surface* image) {
    SDL_PixelFormat bgr;
    std::memset(&bgr, 0, sizeof bgr);
    bgr.BitsPerPixel = 24;
    bgr.BytesPerPixel = 3;
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
    bgr.Rmask = 0xFF0000, bgr.Gmask = 0x00FF00, bgr.Bmask = 0x0000FF;
    bgr.Rshift = 16, bgr.Gshift = 8, bgr.Bshift = 0;
#else
    bgr.Rmask = 0x0000FF, bgr.Gmask = 0x00FF00, bgr.Bmask = 0xFF0000;
    bgr.Rshift = 0, bgr.Gshift = 8, bgr.Bshift = 16;
#endif
    return SDL_ConvertSurface(image, &bgr, SDL_SWSURFACE);
}

// Uploads level 0 from rows that are packed, whatever the caller's pixel-store state.
void Upload(GLint components, int width, int height, GLenum format, GLenum type,
            const void* pixels) {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, components, width, height, 0, format, type, pixels);
    glPopClientAttrib();
}

}  // namespace

bool Texture::Load(const char* path) { return Read(path, true); }

bool Texture::LoadMipMap(const char* path, int, int) { return Read(path, false); }

bool Texture::Read(const char* path, bool verbose) {
    const char* const failed =
        verbose ? "Failed to load texture " : "Failed to load mipmap texture ";
    const size_t length = std::strlen(path);
    if (length > static_cast<size_t>(MAX_PATH)) {
        // Cutting the path would load some other file, or none.
        debug << "texture path of " << length << " characters refused, at most " << MAX_PATH
              << " fit" << std::endl;
        debug << failed << path << std::endl;
        return false;
    }
    std::memcpy(name, path, length + 1);

    SDL_RWops* rw = SDL_RWFromFile(name, "rb");
    const int declaredBits = rw != nullptr ? DeclaredBits(rw) : 0;
    SDL_Surface* image = rw != nullptr ? SDL_LoadBMP_RW(rw, 1) : nullptr;
    if (image == nullptr) {
        debug << failed << name << std::endl;
        const std::string why = rw != nullptr ? SDL_GetError() : "no such file";
        DataProblems::Note(std::string(name) + ": expected a BMP image, found " + why);
        return false;
    }
    const std::string broken = Unusable(image, declaredBits);
    if (!broken.empty()) {
        SDL_FreeSurface(image);
        debug << failed << name << std::endl;
        DataProblems::Note(std::string(name) + ": " + broken);
        return false;
    }
    const bool greyLevels = declaredBits == 8 && image->format->BytesPerPixel == 1;
    if (!greyLevels && !IsBgr24(image->format)) {
        SDL_Surface* converted = ToBgr24(image);
        SDL_FreeSurface(image);
        if (converted == nullptr) {
            debug << failed << name << std::endl;
            DataProblems::Note(std::string(name) + ": expected an image that converts to 24 bits, " +
                               "found " + SDL_GetError());
            return false;
        }
        debug << "converted " << declaredBits << "-bit image to 24-bit BGR" << std::endl;
        image = converted;
    }
    if (surface != nullptr) SDL_FreeSurface(surface);
    surface = image;

    if (!verbose) {
        debug << "Loaded mipmap texture " << name << std::endl;
        return true;
    }
    debug << "Loaded texture " << name << std::endl;
    debug << "w=" << surface->w << std::endl;
    debug << "h=" << surface->h << std::endl;
    debug << "bitsperpixel=" << static_cast<int>(surface->format->BitsPerPixel) << std::endl;
    debug << "bytesperpixel=" << static_cast<int>(surface->format->BytesPerPixel) << std::endl;
    debug << "pitch=" << surface->pitch << std::endl;
    return true;
}

unsigned int Texture::TexID() {
    if (made) return id;
    if (surface == nullptr) return 0;  // nothing loaded: GL's default texture
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);

    // The BMP loader pads each row to four bytes; GL gets the rows packed.
    const int bytes = surface->format->BytesPerPixel;
    const int rowBytes = surface->w * bytes;
    std::vector<Uint8> packed;
    const void* pixels = surface->pixels;
    if (surface->pitch != rowBytes) {
        packed.resize(static_cast<size_t>(rowBytes) * surface->h);
        for (int y = 0; y < surface->h; ++y) {
            std::memcpy(&packed[static_cast<size_t>(y) * rowBytes],
                        static_cast<const Uint8*>(surface->pixels) + y * surface->pitch, rowBytes);
        }
        pixels = packed.data();
    }
    if (bytes == 1) {
        Upload(1, surface->w, surface->h, GL_LUMINANCE, GL_UNSIGNED_BYTE, pixels);
    } else {
        Upload(3, surface->w, surface->h, GL_BGR, GL_UNSIGNED_BYTE, pixels);
    }
    made = true;
    return id;
}

unsigned int Texture::TexIDPositive() {
    if (!positiveMade) positiveId = MakeHeight(true);
    positiveMade = true;
    return positiveId;
}

unsigned int Texture::TexIDNegative() {
    if (!negativeMade) negativeId = MakeHeight(false);
    negativeMade = true;
    return negativeId;
}

void Texture::Forget() {
    made = positiveMade = negativeMade = false;
    id = positiveId = negativeId = 0;
}

unsigned int Texture::MakeHeight(bool positive) {
    GLuint object = 0;
    glGenTextures(1, &object);
    glBindTexture(GL_TEXTURE_2D, object);
    if (surface == nullptr) return object;
    if (surface->format->BytesPerPixel != 1) {
        std::cerr << (positive ? "Can't make positive of multi-component texture\n"
                               : "Can't make negative of multi-component texture\n");
        return object;
    }
    std::vector<float> heights(static_cast<size_t>(surface->w) * surface->h);
    size_t i = 0;
    for (int y = 0; y < surface->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < surface->w; ++x) {
            const float height = row[x] * (1.0f / 256.0f) * HEIGHT_SCALE;
            heights[i++] = positive ? height : HEIGHT_SCALE - height;
        }
    }
    Upload(1, surface->w, surface->h, GL_LUMINANCE, GL_FLOAT, heights.data());
    return object;
}
