#!/bin/bash
# What a player hears, through SDL's disk audio driver, which writes it to a
# file: in a bout on the default content the audio is silent from the bell to
# the first swing and grows loud within 100 ms of each blow, until M mutes it.
# The trace says where in the stream each sound started, the file what was there.
. "$(dirname "$0")/lib.sh"
command -v sox >/dev/null || fail "sox is not installed"
start_xvfb

RATE=22050    # the game's mixing rate: 16-bit mono samples
AUDIO="$SCRATCH/audio.raw"
# Player 1 walks in and punches until two blows land, then at player 2's
# held guard until one is blocked; M mutes the game and one more blow lands.
# The disk driver sleeps this many ms after each buffer it writes (150
# unless told): about a buffer's length keeps it near real time.
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$AUDIO" SDL_DISKAUDIODELAY=20
fresh_game_dir default
launch
for _ in 1 2 3; do
    traced "MENU:  Pressed keyboard key" && break
    start_match
done
hold_key d; sleep 1.5; release_key d
punch_until "takes a blow" 2
xdotool keydown Insert; sleep 0.4
punch_until "GUARD HIT" 1
xdotool keyup Insert
press_until m "^sound: muted$"
punch_until "takes a blow" 3
sleep 0.5  # the last blow's sound plays out before the game ends
escape_quits "Escape"
traced "^sound: disk, $RATE Hz" || fail "the disk driver was not opened"

# SDL 1.2 writes the game's own format. SDL 2 under the compat library may
# give the device more bytes a second (a higher rate, two channels) and
# convert: the first sound's place in the file against its place in the
# stream tells how many. Read as mono at that many times the rate, the
# file keeps its timing, and its levels whatever the channels.
first=$(sed -n 's/^sound .* starts at stream byte \([0-9]*\)$/\1/p' "$SCRATCH/debug.log" | head -n 1)
onset=$(od -An -v -td2 -w2 "$AUDIO" | awk '$1 != 0 { print (NR - 1) * 2; exit }')
[ -n "$first" ] && [ -n "$onset" ] || fail "no sound was played, or none written"
scale=$(awk -v o="$onset" -v f="$first" 'BEGIN { s = 1; while (s < 8 && o / f > 1.5 * s) s *= 2; print s }')
sox -t raw -r $((RATE * scale)) -e signed -b 16 -c 1 "$AUDIO" "$SCRATCH/audio.wav" || fail "no audio written"
# Kept for a person to listen to, like the screenshots.
[ -n "${E2E_SHOTS:-}" ] && mkdir -p "$E2E_SHOTS" && cp "$SCRATCH/audio.wav" "$E2E_SHOTS/bout.wav"

# Seconds into the stream where the trace's byte offset lies; the RMS
# amplitude (0..1) of the audio from $1 s for $2 s, and its peak.
seconds() { awk -v b="$1" -v r=$RATE 'BEGIN { printf "%.4f", b / 2 / r }'; }
rms() { sox "$SCRATCH/audio.wav" -n trim "$1" "$2" stat 2>&1 | awk '/RMS +amplitude/ { print $3 }'; }
peak() { sox "$SCRATCH/audio.wav" -n trim "$1" "$2" stat 2>&1 | awk '/Maximum amplitude/ { print $3 }'; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# Where each sound started, and which sound a blow made: the first sound
# that started in the frame the blow landed in.
starts() { sed -n "s|^sound sounds/$1 starts at stream byte \([0-9]*\)$|\1|p" "$SCRATCH/debug.log"; }
blow_sounds=$(awk '/^--------begin/ { blow = 0 }
                   /takes a blow|GUARD HIT/ { blow = 1 }
                   /^sound .* starts at stream byte/ && blow { print $NF; blow = 0 }' "$SCRATCH/debug.log")
blows=$(grep -c "takes a blow\|GUARD HIT" "$SCRATCH/debug.log")
[ "$blows" -ge 4 ] || fail "only $blows blows landed"
[ "$(echo "$blow_sounds" | grep -c .)" -eq "$blows" ] || fail "$blows blows, but sounds for: $blow_sounds"
grep -qx "sound: muted" "$SCRATCH/debug.log" || fail "M did not mute"
muted=$(echo "$blow_sounds" | tail -n 1)
blow_sounds=$(echo "$blow_sounds" | head -n -1)

# Silence from the end of the bell to the first swing.
bell=$(starts bell.wav | head -n 1)
[ -n "$bell" ] || fail "no bell at the start of the bout"
bell_end=$(awk -v s="$(seconds "$bell")" 'BEGIN { printf "%.4f", s + 1.15 }')
first_swing=$(grep "^sound .* starts at stream byte" "$SCRATCH/debug.log" |
    awk -v b="$bell" '$NF > b { print $NF; exit }')
quiet=$(awk -v a="$bell_end" -v b="$(seconds "$first_swing")" 'BEGIN { printf "%.4f", b - a }')
above "$quiet" 0.2 || fail "no quiet stretch before the first swing ($quiet s)"
level=$(rms "$bell_end" "$quiet")
above 0.001 "$level" || fail "not silent before the first blow: RMS $level"
pass "silent from the bell to the first swing ($quiet s at RMS $level)"

# The swing comes before its blow: the blow is louder still.
for at in $blow_sounds; do
    t=$(seconds "$at")
    before=$(peak "$(awk -v t="$t" 'BEGIN { printf "%.4f", t - 0.1 }')" 0.1)
    after=$(peak "$t" 0.1)
    level=$(rms "$t" 0.1)
    above "$level" 0.05 || fail "too quiet within 100 ms of the blow at $t s: RMS $level"
    above "$after" "$(awk -v b="$before" 'BEGIN { print 1.3 * b }')" ||
        fail "no louder after the blow at $t s: peak $before, then $after"
    echo "blow at $t s: peak $before, then $after (RMS $level)"
done
pass "each blow is heard within 100 ms"

level=$(rms "$(seconds "$muted")" 0.3)
above 0.0001 "$level" || fail "the blow after M was heard: RMS $level"
pass "after M a blow lands unheard"

# Nothing in the stream clips: the mixer saturates, and nothing is that loud.
peak=$(sox "$SCRATCH/audio.wav" -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
above 0.99 "$peak" || fail "the bout's audio reaches $peak"
pass "the loudest moment peaks at $peak"
