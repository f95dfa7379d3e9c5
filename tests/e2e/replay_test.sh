#!/bin/bash
# Replays as a player meets them: a match is kept when the game ends, "watch
# replay" lists it and shows the same moments again with every check of the
# fight holding, F3 stops the playback and F5 slows it, and broken files are
# refused with a message on the menu while the game goes on.
. "$(dirname "$0")/lib.sh"
start_xvfb
REPLAYS="$SCRATCH/share/korvanthe/replays"

# The share of pixels, in percent, that differ by more than a tenth between two screenshots.
differing() { compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1 | awk '{ printf "%d", $1 * 100 / (800 * 600) }'; }
grab() { import -window "$WINDOW" "$SCRATCH/$1.png"; cp "$SCRATCH/$1.png" "${E2E_SHOTS:-$SCRATCH}/" 2>/dev/null; }
checks() { grep -c "^replay: check " "$SCRATCH/debug.log"; }
frames() { grep -cxF -- "--------begin" "$SCRATCH/debug.log"; }
# Real milliseconds between the next two checks of the replayed fight, which
# come a second of its game time apart.
check_interval() {
    local first
    wait_trace "^replay: check " $(( $(checks) + 1 )) 30
    first=$(date +%s%N)
    wait_trace "^replay: check " $(( $(checks) + 1 )) 30
    echo $(( ($(date +%s%N) - first) / 1000000 ))
}
watch_newest() { choose_entry "WATCH REPLAY"; wait_screen "replays"; tap Return; }

# One player against the computer, Return taking each default; F3 holds the
# game clock for four seconds, a still moment of the fight.
start_default_game
focus_window
take_defaults "ONE PLAYER"
wait_line "fight"
sleep 5
press_until F3 "--------begin"
sleep 2; grab live
sleep 2
press_until F3 "--------begin"
sleep 3
escape_quits "Escape in a match"
ls "$REPLAYS"/replay-*.txt >/dev/null 2>&1 || fail "no replay in $REPLAYS"
pass "a match is kept as a replay when the game ends"

launch
focus_window
watch_newest
wait_trace "^watching " 1 10
# The held moment comes as it was recorded, the clock standing for a while.
wait_trace "^replay: the clock stands" 1 60
sleep 2; grab replayed
wait_trace "^back to the menu" 1 60
grep -q "differs from its match" "$SCRATCH/stderr.log" && fail "$(cat "$SCRATCH/stderr.log")"
apart=$(differing "$SCRATCH/live.png" "$SCRATCH/replayed.png")
[ "$apart" -le 3 ] || fail "the replay's held moment differs from the match's in $apart% of the picture"
pass "the replay shows the held moment as it was ($apart% of pixels differ) and every check holds"

# F5 slows a replay to a third of its pace and F5 again gives it back; F3
# stops its game clock (frames are drawn, no check comes) and F3 resumes it.
watch_newest
wait_trace "^watching " 2 10
normal=$(check_interval)
press_until F5 "replay: slowed"
slowed=$(check_interval)
press_until F5 "replay: at its speed"
# Slowed, a second of the fight takes three of real time. A machine that
# draws fewer frames than the recording holds already plays it slower (a
# recorded frame a drawn one), so the normal pace is only a lower bound.
[ "$slowed" -ge 2500 ] && [ "$slowed" -gt "$normal" ] ||
    fail "F5 did not slow the replay: a second took $normal ms, slowed $slowed ms"
pass "F5 slows a replay (a second of it took $normal ms, slowed $slowed ms)"
press_until F3 "--------begin"
held=$(checks)
drawn=$(frames)
grab paused1
wait_trace "^--------begin" $(( drawn + 60 )) 60
grab paused2
[ "$(checks)" -eq "$held" ] || fail "F3 did not stop the replay's clock"
[ "$(differing "$SCRATCH/paused1.png" "$SCRATCH/paused2.png")" -le 1 ] || fail "F3 did not stop the replay's picture"
press_until F3 "--------begin"
wait_trace "^replay: check " $(( held + 1 )) 30
press_until space "back to the menu"
pass "F3 stops and resumes a replay"
escape_quits "Escape after the replays"

# A replay named on the command line opens the game on it; a broken one is
# said on standard error and the game opens on its menu.
replay=$(ls "$REPLAYS"/replay-*.txt | tail -n 1)
head -c 300 "$replay" >"$SCRATCH/cut.txt"
launch --replay "$SCRATCH/cut.txt"
sleep 1
grep -q "^$SCRATCH/cut.txt:[0-9]*: expected" "$SCRATCH/stderr.log" || fail "a cut replay was not refused with its line"
kill -0 "$GAME_PID" || fail "a cut replay ended the game"
wait_screen "title"
grab refused
escape_quits "Escape after a cut replay"
pass "a cut replay is refused with its line and the menu opens and says why"

# A replay whose fight is not the one recorded (here its first check says
# fighter 1 had almost no life) stops there, and the menu comes back saying so.
awk '/^checks / { at = NR } at && NR == at + 1 { $6 = 1 } { print }' "$replay" >"$SCRATCH/changed.txt"
launch --replay "$SCRATCH/changed.txt"
wait_trace "^back to the menu" 1 60
wait_screen "title"
grep -q "changed.txt: the replay differs from its match at frame" "$SCRATCH/stderr.log" ||
    fail "a replay that differs from its match did not stop"
sleep 1; grab stopped
escape_quits "Escape after a replay that stopped"
pass "a replay that differs from its match stops, and the menu says where"
