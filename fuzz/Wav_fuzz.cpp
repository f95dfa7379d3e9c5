#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "frontend/Sound.h"

KORVANTHE_FUZZ_TARGET(wav) {
    FuzzScratch::Write("s.wav", input);
    Sound sound;
    sound.Load("s.wav");
}
