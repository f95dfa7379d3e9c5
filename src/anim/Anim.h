#pragma once

#include <string>

#include "math/Array.h"
#include "math/Vector3.h"

class KeyFrame;
class WordReader;

// One move of a fighter, read from a ".kaf" file: the damage it deals, the
// tracer and hit-colour values, and its keyframes with their flag words.
// A frame's flag word holds flags 1.. in bits 0.. and effects 1.. in bits 9..;
// flag 1 shakes the camera, effect 1 spawns an explosion ring.
class Anim {
public:
    static const int MAX_BONES = 200;      // the sequencer's bone windows hold this many
    static const int MAX_FRAMES = 100000;  // a larger count is a broken file, not a move

    // Loads dir + "/" + name. A file that is missing or malformed ends the
    // program: status -1 when missing, 1 when malformed.
    Anim(const std::string& dir, const std::string& name, int nbones);
    Anim(float, int);  // no name, no frames
    ~Anim();
    Anim(const Anim&) = delete;
    Anim& operator=(const Anim&) = delete;

    bool Save(const std::string& path) const;  // writes the version-2 form; false if it cannot
    void UpdateTimes();       // absTime of each frame = its time + the previous absTime
    void UpdateTimesBase0();  // the same, but frame 0 starts at 0
    // Editing. Frames move with their sound, flag word and camera position; a
    // new frame copies the pose and timing of its neighbour and has no events.
    void AddFrame();           // a copy of the last frame after it
    void InsertFrame(int i);   // frame i and those after move up; slot i gets a copy of it
    void DeleteFrame(int i);   // an animation keeps at least one frame
    void SetFrame(int f);      // frame = f, window f-1 .. f+2 within the frames
    void SetTime(float t);     // window and frame at t seconds from the start

    // Pass a frame index (int) or a flag word (unsigned long); n counts from 1.
    bool isFlag(int frame, int n) const;
    static bool isFlag(unsigned long word, int n);
    bool isEffect(int frame, int n) const;
    static bool isEffect(unsigned long word, int n);
    void setFlag(int frame, int n, bool on);
    void setEffect(int frame, int n, bool on);
    void toggleFlag(int frame, int n);
    void toggleEffect(int frame, int n);

    int nbones = 0;        // bones of each keyframe
    int reserved = 0;
    float length = 0;      // absTime of the last frame
    int frame0 = 0;        // the playing window: previous,
    int frame1 = 0;        // current,
    int frame2 = 0;        // next
    int frame3 = 0;        // and next-but-one frame
    std::string name;      // file name, without the folder
    int frame = 0;         // current frame
    int nframes = 0;
    int damage = 0;        // what a hit by this move costs the victim
    int tracerindex = 0;   // kept with the file
    float tracerlength = 10.0f;
    bool hasHitColor = false;
    Vector3 hitcolor;      // kept with the file
    // Per frame. Slots from nframes on are spare storage for AddFrame and InsertFrame.
    Array<unsigned long> flags;
    Array<bool> hasCameraPos;
    Array<Vector3> cameraPos;
    Array<KeyFrame*> frames;  // owned
    bool hasTracer = false;   // some bone of some frame trails a tracer

private:
    void Read(WordReader& reader);
    void ReadFrameEvents(WordReader& reader, int i);  // sound, camera position, flag word
    void CreateStorage(int capacity);
    void DeleteFrames();
    void MakeRoom();                // at least one spare slot after the last frame
    void ClearEvents(int i);        // no sound, flags or camera position in slot i
    void MoveSlot(int from, int to);  // frame, flag word and camera position
    static unsigned long Bit(int position);
};
