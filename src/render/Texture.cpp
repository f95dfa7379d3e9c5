#include "render/Texture.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
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

// A run-length coded image holds at most this many pixels for each byte of
// its file (a run of 255 in two bytes, and some room for skipped pixels).
const long long RLE_PIXELS_PER_BYTE = 256;

bool KnownDepth(int bits) {
    for (int known : {1, 4, 8, 15, 16, 24, 32}) {
        if (bits == known) return true;
    }
    return false;
}

// What a BMP file's own header declares, read before SDL's loader sees it:
// the loader makes the image's surface before it reads a single pixel, so a
// tiny file claiming a huge image would cost that much memory.
struct BmpHeader {
    int bits = 0;         // per pixel, as the file says: SDL widens 1 and 4 to 8
    std::string problem;  // empty when the loader may be given the file
};

BmpHeader ReadHeader(SDL_RWops* rw) {
    Uint8 h[34] = {};
    const int start = SDL_RWtell(rw);
    const long long size = SDL_RWseek(rw, 0, RW_SEEK_END) - start;
    SDL_RWseek(rw, start, RW_SEEK_SET);
    SDL_RWread(rw, h, 1, sizeof h);
    SDL_RWseek(rw, start, RW_SEEK_SET);
    const auto u16 = [&h](int at) { return static_cast<long long>(h[at] | h[at + 1] << 8); };
    const auto s32 = [&h](int at) {
        const Uint32 bits = h[at] | h[at + 1] << 8 | h[at + 2] << 16 | static_cast<Uint32>(h[at + 3]) << 24;
        return static_cast<long long>(static_cast<Sint32>(bits));
    };
    // The old OS/2 header has 16-bit sides and no compression.
    const bool os2 = u16(14) == 12 && u16(16) == 0;
    const long long width = os2 ? u16(18) : s32(18);
    const long long rows = os2 ? u16(20) : std::llabs(s32(22));  // negative: top row first
    const long long compression = os2 ? 0 : s32(30);
    BmpHeader header;
    header.bits = static_cast<int>(os2 ? u16(22) : u16(28));
    if (h[0] != 'B' || h[1] != 'M' || size < 26) {
        header.problem = "expected a BMP image, found a file of " + std::to_string(size) +
                         " bytes that does not start like one";
    } else if (!KnownDepth(header.bits)) {
        header.problem = "expected 1, 4, 8, 16, 24 or 32 bits a pixel, found " + std::to_string(header.bits);
    } else if (width < 1 || rows < 1 || width > MAX_SIDE || rows > MAX_SIDE) {
        header.problem = "expected 1 to " + std::to_string(MAX_SIDE) + " pixels a side, found " +
                         std::to_string(width) + " x " + std::to_string(rows);
    } else if (compression == 1 || compression == 2) {
        if (width * rows > size * RLE_PIXELS_PER_BYTE) {
            header.problem = "expected at most " + std::to_string(size * RLE_PIXELS_PER_BYTE) +
                             " run-length coded pixels in a file of " + std::to_string(size) +
                             " bytes, found " + std::to_string(width) + " x " + std::to_string(rows);
        }
    } else if ((width * header.bits + 31) / 32 * 4 * rows > size) {
        header.problem = "expected " + std::to_string((width * header.bits + 31) / 32 * 4 * rows) +
                         " bytes of pixels, found a file of " + std::to_string(size);
    }
    return header;
}

// SDL's loader believes the file's header: a crafted one gets a surface whose
// format does not describe its pixels, and converting that reads wild memory.
// Empty when the surface is safe to use, else what is wrong with it.
std::string Unusable(const SDL_Surface* image) {
    const SDL_PixelFormat* f = image->format;
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
    if (rw == nullptr) {
        debug << failed << name << std::endl;
        DataProblems::Note(std::string(name) + ": cannot be opened");
        return false;
    }
    const BmpHeader header = ReadHeader(rw);
    if (!header.problem.empty()) {
        SDL_RWclose(rw);
        debug << failed << name << std::endl;
        DataProblems::Note(std::string(name) + ": " + header.problem);
        return false;
    }
    const int declaredBits = header.bits;
    SDL_Surface* image = SDL_LoadBMP_RW(rw, 1);
    if (image == nullptr) {
        debug << failed << name << std::endl;
        DataProblems::Note(std::string(name) + ": expected a BMP image, found " + SDL_GetError());
        return false;
    }
    const std::string broken = Unusable(image);
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
