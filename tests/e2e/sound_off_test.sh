#!/bin/bash
# Without an audio device the game plays as it always did, silently: the
# same bout with SDL's dummy driver (which plays nothing) and with no
# driver at all lands its blows, queues no sound and ends normally.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/bout.sh"
start_xvfb

# The trace says why in one line; its words are SDL's own, so only the
# dummy driver's is known in advance.
expect_silent_bout() {
    grep -q "^sound: $1.*; the game is silent$" "$SCRATCH/debug.log" || fail "the trace does not say why"
    ! grep -q "^sound .* starts at stream byte" "$SCRATCH/debug.log" || fail "a sound was queued"
}

SDL_AUDIODRIVER=dummy play_bout
expect_silent_bout "the dummy audio driver plays nothing"
pass "with the dummy driver the bout is played, silently"

# A driver no SDL has: as on a machine without any sound.
SDL_AUDIODRIVER=none play_bout
expect_silent_bout ""
pass "with no audio at all the bout is played, silently"
