#include "render/Material.h"

#include <GL/gl.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "core/Assert.h"
#include "core/Clock.h"
#include "core/DataProblems.h"
#include "core/Display.h"
#include "core/System.h"
#include "core/Trace.h"
#include "core/WordReader.h"
#include "render/Texture.h"

namespace {

const std::string IMAGE_DIR = "images/";
// "images/" and a name must fit the texture's path buffer.
const size_t MAX_IMAGE_NAME = Texture::MAX_PATH - 7;
const int MAX_LIST_FRAMES = 15;
const size_t MAX_LIST_NAME = 59;
const int FRAME_MS = 60;  // an animated texture shows each frame at least this long

// The image words of a material file, kept until the file is closed.
struct ImageWords {
    std::string image;       // a name under "images/", a ".bml" list, or "-..." for none
    std::string reflection;  // WATER only
    int mipmapArgs[2] = {0, 0};
    std::string where;       // "file:line" of the image words, for problems with the images
};

// A word standing for a number is read as formatted input would read it:
// the longest number at its start, 0 when there is none.
float NumberIn(const std::string& word) {
    std::istringstream in(word);
    float value = 0;
    in >> value;
    return value;
}

// Wrap flags: "true" or the whole number 1; anything else is false.
bool FlagIn(const std::string& word) {
    if (word == "true") return true;
    std::istringstream in(word);
    int value = 0;
    return (in >> value) && value == 1;
}

std::string Found(const std::string& word) {
    return word.empty() ? "the end of the file" : "'" + word + "'";
}

void ReadWords(WordReader& reader, Material& m, ImageWords& words) {
    std::string word;
    reader.Word(word, MAX_IMAGE_NAME);
    words.where = reader.name() + ':' + std::to_string(reader.line());
    if (word == "MIPMAP") {
        m.mipmap = true;
        reader.Int(words.mipmapArgs[0]);
        reader.Int(words.mipmapArgs[1]);
        reader.Word(words.image, MAX_IMAGE_NAME);
    } else if (word == "BUMP") {
        m.bump = true;
        reader.Word(words.image, MAX_IMAGE_NAME);
    } else if (word == "WATER") {
        m.water = true;
        reader.Word(words.image, MAX_IMAGE_NAME);
        reader.Word(words.reflection, MAX_IMAGE_NAME);
    } else {
        words.image = word;
    }
    debug << words.image << std::endl;

    reader.Float(m.scaleU);
    reader.Float(m.scaleV);
    bool longForm = false;
    if (reader.Word(word)) {
        if (word == "ambi") {
            m.mapType = "CYL";
        } else {
            longForm = true;
            m.offsetU = NumberIn(word);
            if (reader.Word(word)) m.offsetV = NumberIn(word);
            if (reader.Word(word)) m.mapType = word;
            if (reader.Word(word)) m.clampR = FlagIn(word);
            if (reader.Word(word)) m.clampS = FlagIn(word);
            if (reader.Word(word) && word != "ambi") {
                // The colours follow all the same: read on as if it were there.
                debug << "MATERIAL ERROR" << std::endl;
                DataProblems::Trace(reader.name() + ':' + std::to_string(reader.line()) +
                                    ": expected 'ambi' before the ambient colour, found '" +
                                    word + "'");
            }
        }
    }
    m.seamSplit = m.clampR;

    std::string label;
    reader.Vector(m.ambient);
    debug << "ambi : " << m.ambient << std::endl;
    reader.Word(label);
    reader.Vector(m.diffuse);
    debug << "diff : " << m.diffuse << std::endl;
    reader.Word(label);
    reader.Vector(m.emission);
    debug << "emis : " << m.emission << std::endl;
    reader.Word(label);
    reader.Vector(m.specular);
    debug << "spec : " << m.specular << std::endl;
    reader.Word(label);
    reader.Float(m.shininess);

    // The word after the shininess is always taken, alpha clause or not, so a
    // colour key is only seen after an alpha clause.
    if (reader.Word(word) && word == "alpha") {
        reader.Float(m.alpha);
        if (longForm) {
            if (!reader.Word(word) || word != "type") {
                debug << "ALPHA ERROR" << std::endl;
                reader.Fail("expected 'type' after the alpha value, found " + Found(word));
                DataProblems::Abandon(reader.problem(), -1);
            }
            reader.Word(word);
            if (word == "NONE") {
                m.blendType = 0;
            } else if (word == "ONE") {
                m.blendType = 1;
            } else if (word == "SRCALPHA") {
                m.blendType = 2;
            } else if (word == "SRCCOLOR") {
                m.blendType = 3;
            } else {
                debug << "UNKNOWN ALPHA TYPE" << std::endl;
                DataProblems::Trace(reader.name() + ':' + std::to_string(reader.line()) +
                                    ": expected NONE, ONE, SRCALPHA or SRCCOLOR, found " +
                                    Found(word));
            }
        }
    }
    int key = -1;
    if (reader.Word(word) && word == "colorkey" && reader.Int(key)) m.colorKeyed = key != -1;
    if (reader.failed()) DataProblems::Trace(reader.problem());
}

// The frame names of a ".bml" list: a count and that many names.
std::vector<std::string> BitmapList(const std::string& path) {
    std::vector<std::string> names;
    WordReader list(path);
    if (!list.isOpen()) {
        debug << "bitmap list file " << path << "doesn't exist" << std::endl;
        DataProblems::Trace(path + ": cannot be opened");
        return names;
    }
    int count = 0;
    list.Int(count);
    if (count > MAX_LIST_FRAMES) {
        DataProblems::Trace(path + ":1: expected at most " + std::to_string(MAX_LIST_FRAMES) +
                            " frames, found " + std::to_string(count) + "; the first " +
                            std::to_string(MAX_LIST_FRAMES) + " are kept");
        count = MAX_LIST_FRAMES;
    }
    std::string name;
    while (static_cast<int>(names.size()) < count && list.Word(name, MAX_LIST_NAME)) {
        names.push_back(name);
    }
    if (list.failed()) {
        DataProblems::Trace(list.problem());
    } else if (static_cast<int>(names.size()) < count) {
        DataProblems::Trace(path + ':' + std::to_string(list.line()) + ": expected " +
                            std::to_string(count) + " names, found " +
                            std::to_string(names.size()));
    }
    return names;
}

bool Readable(const std::string& path) { return std::ifstream(path).is_open(); }

// The display's texture loaded from this path, or null.
Texture* Registered(const std::string& path) {
    DArray<Texture*>& textures = System::instance()->display->textures;
    for (int i = 0; i < textures.count; ++i) {
        if (path == textures[i]->name) return textures[i];
    }
    return nullptr;
}

// A texture joins the display's list only once its image has loaded, so that
// no later material can reuse an empty one.
Texture* LoadNew(const std::string& path, bool mipmap, const int mipmapArgs[2]) {
    Texture* texture = new Texture();
    const bool loaded = mipmap ? texture->LoadMipMap(path.c_str(), mipmapArgs[0], mipmapArgs[1])
                               : texture->Load(path.c_str());
    if (!loaded) {
        delete texture;
        return nullptr;
    }
    DArray<Texture*>& textures = System::instance()->display->textures;
    textures.cursor = textures.count;  // append, whatever iteration was left half done
    textures.Add(texture);
    return texture;
}

void LoadImages(Material& m, const ImageWords& words) {
    debug << "loading texture" << std::endl;
    std::string shown = "NONE";
    m.textured = !words.image.empty() && words.image[0] != '-';
    if (m.textured) {
        const std::string& image = words.image;
        std::vector<std::string> names;
        if (image.size() > 4 && image.compare(image.size() - 4, 4, ".bml") == 0) {
            debug << "Bitmap List (anim)" << std::endl;
            names = BitmapList(IMAGE_DIR + image);
        } else {
            names.push_back(image);
        }
        m.frameCount = static_cast<int>(names.size());
        for (const std::string& name : names) {
            const std::string path = IMAGE_DIR + name;
            shown = path;
            // An image loaded before is taken as it is, without opening its file again.
            Texture* texture = Registered(path);
            if (texture == nullptr && !Readable(path)) {
                m.textured = false;
                debug << "No Image, Uwrapping (maybe)" << std::endl;
                DataProblems::Trace(words.where + ": expected an image, found '" + path +
                                    "', which cannot be opened");
                continue;
            }
            if (texture != nullptr) {
                debug << "Reusing texture " << path << std::endl;
            } else {
                debug << "New Texture " << path << std::endl;
                texture = LoadNew(path, m.mipmap, words.mipmapArgs);
                if (texture == nullptr) {
                    debug << "Error Loading Texture" << std::endl;
                    continue;
                }
            }
            m.frames.Add(texture);
            m.textured = true;
            debug << "Has Image" << std::endl;
        }
    }

    std::string reflected = "-";
    if (!words.reflection.empty() && words.reflection[0] != '-') {
        reflected = IMAGE_DIR + words.reflection;
        if (!Readable(reflected)) {
            DataProblems::Trace(words.where + ": expected a reflection image, found '" +
                                reflected + "', which cannot be opened");
        } else {
            m.reflectionTexture = Registered(reflected);
            if (m.reflectionTexture != nullptr) {
                debug << "Reusing texture " << reflected << std::endl;
            } else {
                debug << "New Texture " << reflected << std::endl;
                const int unused[2] = {0, 0};
                m.reflectionTexture = LoadNew(reflected, false, unused);
                if (m.reflectionTexture == nullptr) {
                    debug << "Error Loading Reflection Texture" << std::endl;
                }
            }
        }
    }
    // The reflection pass needs its image: without one this is plain water.
    m.water = m.water && m.reflectionTexture != nullptr;

    debug << "loaded material " << m.fileName << "\n\ttexture " << shown
          << "  refltexture=" << reflected << std::endl;
}

void SendColour(GLenum which, float r, float g, float b, float a) {
    const float colour[4] = {r, g, b, a};
    glMaterialfv(GL_FRONT_AND_BACK, which, colour);
}

// The file gives no fourth component; lighting does not use it.
void SendColour(GLenum which, const Vector3& c) { SendColour(which, c.x, c.y, c.z, 1); }

void BlendBy(int blendType) {
    switch (blendType) {
        case 1:
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
            break;
        case 2:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            break;
        case 3:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_COLOR, GL_ONE);
            break;
        default:
            glDisable(GL_BLEND);
            break;
    }
}

}  // namespace

Material::Material(const std::string& path) : fileName(path), clampR(true) {
    KV_ASSERT(System::instance()->display != nullptr);  // textures are shared through it
    ImageWords words;
    {
        WordReader reader(path);
        if (!reader.isOpen()) {
            debug << "material " << path << " NOT FOUND" << std::endl;
            DataProblems::Abandon(path + ": cannot be opened", -1);
        }
        debug << "material " << path << " FOUND" << std::endl;
        ReadWords(reader, *this, words);
    }
    LoadImages(*this, words);
    lastFrameTime = System::instance()->clock->time;
}

Material::Material() = default;

void Material::current(bool on) {
    if (!on) return;
    SendColour(GL_AMBIENT, ambient);
    SendColour(GL_DIFFUSE, diffuse.x, diffuse.y, diffuse.z, alpha);
    SendColour(GL_EMISSION, emission);
    SendColour(GL_SPECULAR, 0, 0, 0, 0);
    BlendBy(blendType);
    if (Texture* texture = Frame()) Bind(texture->TexID());
    EndCurrent();
}

void Material::currentBumpMode(int mode) {
    SendColour(GL_AMBIENT, ambient);
    SendColour(GL_DIFFUSE, diffuse.x, diffuse.y, diffuse.z, alpha);
    SendColour(GL_EMISSION, emission);
    if (Texture* texture = Frame()) {
        if (mode == 1) {
            glDisable(GL_BLEND);
            Bind(texture->TexIDPositive());
        } else if (mode == 2) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE);
            Bind(texture->TexIDNegative());
        } else {
            if (mode == 0) glDisable(GL_BLEND);
            glDisable(GL_TEXTURE_2D);
        }
    }
    EndCurrent();
}

void Material::currentWaterMode(int mode) {
    if (Texture* texture = Frame()) {
        if (mode == 1) {
            SendColour(GL_AMBIENT, ambient);
            SendColour(GL_DIFFUSE, diffuse.x, diffuse.y, diffuse.z, alpha);
            SendColour(GL_EMISSION, emission);
            SendColour(GL_SPECULAR, 1, 1, 1, 1);
            glDisable(GL_BLEND);
            if (reflectionTexture != nullptr) {
                Bind(reflectionTexture->TexID());
            } else {
                glDisable(GL_TEXTURE_2D);
            }
        } else if (mode == 2) {
            SendColour(GL_AMBIENT, 0, 0, 0, 0);
            SendColour(GL_DIFFUSE, diffuse.x, diffuse.y, diffuse.z, alpha);
            SendColour(GL_EMISSION, emission);
            SendColour(GL_SPECULAR, 1, 1, 1, 1);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            Bind(texture->TexID());
        } else if (mode == 3) {
            // A faint black film over the water.
            SendColour(GL_AMBIENT, 0, 0, 0, 0);
            SendColour(GL_DIFFUSE, 0, 0, 0, 0.1f);
            SendColour(GL_EMISSION, 0, 0, 0, 1);
            SendColour(GL_SPECULAR, 0, 0, 0, 0);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glDisable(GL_TEXTURE_2D);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
    }
    EndCurrent();
}

void Material::currentShadowMode(int mode) {
    if (mode == 1) {
        SendColour(GL_AMBIENT, ambient);
        SendColour(GL_DIFFUSE, 0, 0, 0, alpha);
        SendColour(GL_EMISSION, 0, 0, 0, 0);
        SendColour(GL_SPECULAR, 0, 0, 0, 0);
        BlendBy(blendType);
    } else if (mode == 2) {
        // Each light adds its share on top of the ambient pass.
        SendColour(GL_AMBIENT, 0, 0, 0, 0);
        SendColour(GL_DIFFUSE, diffuse.x, diffuse.y, diffuse.z, alpha);
        SendColour(GL_EMISSION, emission);
        SendColour(GL_SPECULAR, 0, 0, 0, 0);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
    } else {
        return;
    }
    if (Texture* texture = Frame()) Bind(texture->TexID());
    EndCurrent();
}

void Material::background(bool on) const {
    if (on) glClearColor(diffuse.x, diffuse.y, diffuse.z, 0);
}

Texture* Material::Frame() {
    if (!textured || frameCount < 1 || frames.count == 0) return nullptr;
    // Listed frames that failed to load leave gaps at the end: wrap to the first.
    return frames[currentFrame >= 0 && currentFrame < frames.count ? currentFrame : 0];
}

void Material::Bind(unsigned int texture) {
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_R, clampR ? GL_CLAMP : GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, clampS ? GL_CLAMP : GL_REPEAT);
}

void Material::EndCurrent() {
    if (Frame() != nullptr) {
        const int now = System::instance()->clock->time;
        if (now - lastFrameTime > FRAME_MS) {
            lastFrameTime = now;
            currentFrame = (currentFrame + 1) % frameCount;
        }
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    if (Display* display = System::instance()->display) display->currentMaterial = this;
}
