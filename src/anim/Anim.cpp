#include "anim/Anim.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include "anim/KeyFrame.h"
#include "core/Assert.h"
#include "core/DataProblems.h"
#include "core/Trace.h"
#include "core/WordReader.h"
#include "frontend/Sound.h"

namespace {

// Ends the program over a file it cannot play: the old trace message for the
// trace, and for whoever edits the file a line naming the file, the line and
// what was expected against what was found.
[[noreturn]] void Reject(const std::string& message, const std::string& where, int status) {
    debug << message << std::endl;
    DataProblems::Abandon(where, status);
}

// The smallest keyframe is its time and the end marker: "0 -1" and a separator.
const int MIN_FRAME_BYTES = 5;

[[noreturn]] void Reject(const WordReader& reader, const std::string& message, int status) {
    Reject(message, reader.problem(), status);
}

std::string Found(const std::string& word) {
    return word.empty() ? "the end of the file" : "'" + word + "'";
}

// Frame flag words are unsigned; only digits make one.
bool ParseFlagWord(const std::string& word, unsigned long& out) {
    if (word.empty() || std::strspn(word.c_str(), "0123456789") != word.size()) return false;
    errno = 0;
    out = std::strtoul(word.c_str(), nullptr, 10);
    return errno == 0;
}

// Array is created once and cannot grow; growing builds a larger one and
// trades blocks with it.
template <class T>
void SwapBlocks(Array<T>& a, Array<T>& b) {
    std::swap(a.data, b.data);
    std::swap(a.size, b.size);
}

}  // namespace

Anim::Anim(const std::string& dir, const std::string& name_, int nbones_)
    : nbones(nbones_), name(name_) {
    const std::string path = dir + "/" + name;
    if (nbones < 0 || nbones > MAX_BONES) {
        Reject("Too many bones for animfile.",
               path + ": expected a fighter of at most " + std::to_string(MAX_BONES) +
                   " bones, found " + std::to_string(nbones),
               1);
    }
    debug << "Attempting to open " << name << std::endl;
    WordReader reader(path);
    if (!reader.isOpen()) Reject("FILE NOT FOUND", path + ": file not found", -1);
    try {
        Read(reader);
    } catch (const DataProblems::Abandoned&) {
        DeleteFrames();  // no destructor runs for a half-made animation
        throw;
    }
}

Anim::Anim(float, int) {}

Anim::~Anim() { DeleteFrames(); }

void Anim::DeleteFrames() {
    for (int i = 0; i < frames.size; ++i) {
        delete frames[i];
        frames[i] = nullptr;
    }
}

void Anim::Read(WordReader& reader) {
    std::string word;
    reader.Word(word);
    int version = 1;
    if (word == "version") {
        if (!reader.Int(version)) Reject(reader, "Expected a version number in animfile.", 1);
        if (version != 1 && version != 2) {
            reader.Fail("expected version 1 or 2, found " + std::to_string(version));
            Reject(reader, "Unknown version in animfile.", 1);
        }
        if (version == 2) {
            if (!reader.Expect("damage") || !reader.Int(damage)) {
                Reject(reader, "Expected 'damage' in animfile.", 1);
            }
            if (!reader.Expect("tracerindex") || !reader.Int(tracerindex)) {
                Reject(reader, "Expected 'tracerindex' in animfile.", 1);
            }
            if (!reader.Expect("tracerlength") || !reader.Float(tracerlength)) {
                Reject(reader, "Expected 'tracerlength' in animfile.", 1);
            }
        }
        reader.Word(word);
        if (version == 2 && word == "hitcolor") {
            if (!reader.Vector(hitcolor)) Reject(reader, "Expected a hit colour in animfile.", 1);
            hasHitColor = true;
            reader.Word(word);
        }
    }

    // Fewer than one frame would leave nothing to play, and the next move
    // would be chosen without end.
    const long count = std::strtol(word.c_str(), nullptr, 10);
    if (count < 1 || count > MAX_FRAMES) {
        reader.Fail("expected a frame count of 1 to " + std::to_string(MAX_FRAMES) + ", found " +
                    Found(word));
        Reject(reader, "Bad frame count in animfile.", 1);
    }
    if (!reader.Fits(count, MIN_FRAME_BYTES, "frames")) Reject(reader, "Bad frame count in animfile.", 1);
    nframes = static_cast<int>(count);
    debug << "nframes = " << nframes << std::endl;

    CreateStorage(nframes);
    for (int i = 0; i < nframes; ++i) {
        // Whatever a frame does not give stays as the frame before had it.
        if (i > 0) frames[i]->CopyFrom(frames[i - 1]);
        if (version == 2) ReadFrameEvents(reader, i);
        if (!frames[i]->Read(reader)) {
            Reject(reader, "Malformed keyframe in animfile, frame " + std::to_string(i), 1);
        }
        for (int b = 0; b < nbones && !hasTracer; ++b) {
            if (frames[i]->boneFlags[b] & KeyFrame::TRACER) hasTracer = true;
        }
    }
    UpdateTimes();
}

void Anim::ReadFrameEvents(WordReader& reader, int i) {
    const std::string where = "in animfile, frame " + std::to_string(i);
    std::string word;
    reader.Word(word);
    if (word == "soundname") {
        KeyFrame* key = frames[i];
        if (!reader.Word(key->soundName, KeyFrame::MAX_SOUND_NAME)) {
            reader.Fail("expected a sound name, found the end of the file");
            Reject(reader, "Expected a sound name " + where, 1);
        }
        const std::string path = "sounds/" + key->soundName;
        key->sound = std::make_unique<Sound>();
        if (key->sound->Load(path.c_str())) {
            key->hasSound = true;
        } else {
            debug << "ERROR: couldn't load sound " << path << std::endl;
            key->DropSound();
        }
        reader.Word(word);
    }
    if (word == "camerapos") {
        if (!reader.Vector(cameraPos[i])) Reject(reader, "Malformed camera position " + where, 1);
        hasCameraPos[i] = true;
        reader.Word(word);
    }
    if (word != "flags") {
        reader.Fail("expected 'flags' (or 'camerapos'), found " + Found(word));
        Reject(reader, "Expected 'flags' (or 'camerapos') " + where, 1);
    }
    reader.Word(word);
    if (!ParseFlagWord(word, flags[i])) {
        reader.Fail("expected a flag word (a whole number, 0 or more), found " + Found(word));
        Reject(reader, "Malformed flags " + where, 1);
    }
}

void Anim::CreateStorage(int capacity) {
    flags.Create(capacity);
    hasCameraPos.Create(capacity);
    cameraPos.Create(capacity);
    frames.Create(capacity);
    for (int i = 0; i < capacity; ++i) frames[i] = new KeyFrame(nbones);
}

bool Anim::Save(const std::string& path) const {
    std::ofstream out(path);
    if (!out) {
        debug << "Cannot write animation " << path << std::endl;
        return false;
    }
    out << "version\t" << 2 << '\n';
    out << "damage\t" << damage << '\n';
    out << "tracerindex\t" << tracerindex << '\n';
    out << "tracerlength\t" << tracerlength << '\n';
    if (hasHitColor) out << "hitcolor\t" << hitcolor << '\n';
    out << '\n' << nframes << '\n' << '\n';
    for (int i = 0; i < nframes; ++i) {
        const KeyFrame* key = frames[i];
        if (key->hasSound) out << "soundname\t" << key->soundName << '\n';
        if (hasCameraPos[i]) out << "camerapos\t" << cameraPos[i] << '\n';
        out << "flags\t" << flags[i] << '\n';
        out << *key << '\n';
    }
    return static_cast<bool>(out);
}

void Anim::UpdateTimes() {
    if (nframes == 0) {
        length = 0;
        return;
    }
    frames[0]->absTime = frames[0]->time;
    for (int i = 1; i < nframes; ++i) frames[i]->absTime = frames[i]->time + frames[i - 1]->absTime;
    length = frames[nframes - 1]->absTime;
}

void Anim::UpdateTimesBase0() {
    if (nframes == 0) {
        length = 0;
        return;
    }
    frames[0]->absTime = 0;
    for (int i = 1; i < nframes; ++i) frames[i]->absTime = frames[i]->time + frames[i - 1]->absTime;
    length = frames[nframes - 1]->absTime;
}

void Anim::MakeRoom() {
    const int capacity = frames.size;
    if (nframes < capacity) return;
    const int grown = std::max(1, 2 * capacity);
    Array<unsigned long> newFlags;
    Array<bool> newHasCameraPos;
    Array<Vector3> newCameraPos;
    Array<KeyFrame*> newFrames;
    newFlags.Create(grown);
    newHasCameraPos.Create(grown);
    newCameraPos.Create(grown);
    newFrames.Create(grown);
    for (int i = 0; i < capacity; ++i) {
        newFlags[i] = flags[i];
        newHasCameraPos[i] = hasCameraPos[i];
        newCameraPos[i] = cameraPos[i];
        newFrames[i] = frames[i];
    }
    for (int i = capacity; i < grown; ++i) newFrames[i] = new KeyFrame(nbones);
    SwapBlocks(flags, newFlags);
    SwapBlocks(hasCameraPos, newHasCameraPos);
    SwapBlocks(cameraPos, newCameraPos);
    SwapBlocks(frames, newFrames);
}

void Anim::ClearEvents(int i) {
    frames[i]->DropSound();
    flags[i] = 0;
    hasCameraPos[i] = false;
    cameraPos[i] = Vector3();
}

void Anim::MoveSlot(int from, int to) {
    frames[to] = frames[from];
    flags[to] = flags[from];
    hasCameraPos[to] = hasCameraPos[from];
    cameraPos[to] = cameraPos[from];
}

void Anim::AddFrame() {
    KV_ASSERT(nframes > 0);
    MakeRoom();
    ClearEvents(nframes);
    frames[nframes]->CopyFrom(frames[nframes - 1]);
    ++nframes;
    UpdateTimes();
}

void Anim::InsertFrame(int i) {
    KV_ASSERT(i >= 0 && i < nframes);
    MakeRoom();
    KeyFrame* spare = frames[nframes];
    for (int j = nframes; j > i; --j) MoveSlot(j - 1, j);
    frames[i] = spare;
    ClearEvents(i);
    frames[i]->CopyFrom(frames[i + 1]);
    ++nframes;
    UpdateTimes();
}

void Anim::DeleteFrame(int i) {
    KV_ASSERT(i >= 0 && i < nframes);
    // An empty animation would leave playback nothing to play.
    KV_ASSERT(nframes > 1);
    KeyFrame* removed = frames[i];
    for (int j = i; j < nframes - 1; ++j) MoveSlot(j + 1, j);
    frames[nframes - 1] = removed;
    ClearEvents(nframes - 1);
    --nframes;
    UpdateTimes();
}

void Anim::SetFrame(int f) {
    KV_ASSERT(f >= 0 && f < nframes);
    const int last = nframes - 1;
    frame = f;
    frame0 = f > 0 ? f - 1 : 0;
    frame1 = f;
    frame2 = std::min(f + 1, last);
    frame3 = std::min(f + 2, last);
}

void Anim::SetTime(float t) {
    if (nframes == 0) {
        frame = frame0 = frame1 = frame2 = frame3 = 0;
        return;
    }
    const int last = nframes - 1;
    frame0 = 0;
    frame1 = 0;
    frame2 = 1;
    frame3 = last;
    while (frame2 < last && t >= frames[frame2]->absTime) {
        ++frame1;
        ++frame2;
    }
    if (frame1 > 0) frame0 = frame1 - 1;
    if (frame2 < last) frame3 = frame2 + 1;
    if (frame2 > last) frame2 = last;
    frame = frames[frame2]->absTime > t ? frame1 : frame2;
}

unsigned long Anim::Bit(int position) {
    KV_ASSERT(position >= 0 && position < static_cast<int>(sizeof(unsigned long) * CHAR_BIT));
    return 1UL << position;
}

bool Anim::isFlag(unsigned long word, int n) { return (word & Bit(n - 1)) != 0; }
bool Anim::isEffect(unsigned long word, int n) { return (word & Bit(n + 8)) != 0; }

bool Anim::isFlag(int f, int n) const {
    KV_ASSERT(f >= 0 && f < nframes);
    return isFlag(flags[f], n);
}

bool Anim::isEffect(int f, int n) const {
    KV_ASSERT(f >= 0 && f < nframes);
    return isEffect(flags[f], n);
}

void Anim::setFlag(int f, int n, bool on) {
    KV_ASSERT(f >= 0 && f < nframes);
    flags[f] = on ? flags[f] | Bit(n - 1) : flags[f] & ~Bit(n - 1);
}

void Anim::setEffect(int f, int n, bool on) {
    KV_ASSERT(f >= 0 && f < nframes);
    flags[f] = on ? flags[f] | Bit(n + 8) : flags[f] & ~Bit(n + 8);
}

void Anim::toggleFlag(int f, int n) {
    KV_ASSERT(f >= 0 && f < nframes);
    flags[f] ^= Bit(n - 1);
}

void Anim::toggleEffect(int f, int n) {
    KV_ASSERT(f >= 0 && f < nframes);
    flags[f] ^= Bit(n + 8);
}
