#pragma once

// The files in "sounds/" that the fighters' keyframes name. The game's own
// events (bell, winner, ring-out, menus) take theirs from GameSounds.
namespace content {
namespace sound {
const char* const SWISH_FAST = "swish_fast.wav";  // fists: short and high
const char* const SWISH_MID = "swish_mid.wav";    // kicks
const char* const SWISH_SLOW = "swish_slow.wav";  // the staff: long and deep
const char* const HIT = "hit.wav";                // a blow to the body or head
const char* const HIT_HEAVY = "hit_heavy.wav";    // a blow that throws the fighter back
const char* const GRAB = "grab.wav";              // seized for a throw
const char* const GUARD = "guard.wav";            // a blow taken on the guard
const char* const BURST = "burst.wav";            // the heavy move strikes the floor
const char* const THUD = "thud.wav";              // a body lands on the floor
}  // namespace sound
}  // namespace content
