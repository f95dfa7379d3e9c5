#!/bin/bash
# Replays as a player meets them: a match is kept when the game ends, "watch
# replay" shows the same moments again with every check of the fight
# holding, F3 stops the playback, and broken files are refused with a
# message while the game goes on.
. "$(dirname "$0")/lib.sh"
start_xvfb
REPLAYS="$SCRATCH/share/korvanthe/replays"

# How far apart two screenshots are: the share of pixels that differ by more
# than a tenth, in percent.
differing() {
    compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1 | awk '{ printf "%d", $1 * 100 / (800 * 600) }'
}
grab() { import -window "$WINDOW" "$SCRATCH/$1.png"; cp "$SCRATCH/$1.png" "${E2E_SHOTS:-$SCRATCH}/" 2>/dev/null; }

# One player against the computer, Return taking each default.
start_default_game
focus_window
choose_entry "ONE PLAYER"
wait_screen "fighter select"
press_until Return " picks "
press_until Return " picks "
wait_screen "arena select"
tap Return
wait_line "fight"
sleep 2
# A still moment of the fight: F3 holds the game clock for four seconds.
press_until F3 "--------begin"
sleep 2
grab live
sleep 2
press_until F3 "--------begin"
sleep 2
hold_key Escape
wait_game 20
release_key Escape
expect_status 0 "Escape in a match"
ls "$REPLAYS"/replay-*.txt >/dev/null 2>&1 || fail "no replay in $REPLAYS"
pass "a match is kept as a replay when the game ends"

start_game
wait_window
wait_first_frame
focus_window
choose_entry "WATCH REPLAY"
wait_trace "^watching " 1 10
# The held moment comes as it was recorded, the clock standing for a while.
wait_trace "^replay: the clock stands" 1 60
sleep 2
grab replayed
wait_trace "^back to the menu" 1 60
grep -q "differs from its match" "$SCRATCH/stderr.log" && fail "$(cat "$SCRATCH/stderr.log")"
apart=$(differing "$SCRATCH/live.png" "$SCRATCH/replayed.png")
[ "$apart" -le 3 ] || fail "the replay's held moment differs from the match's in $apart% of the picture"
pass "the replay shows the held moment as it was ($apart% of pixels differ) and every check holds"

# F3 stops a replay: the game time stands while it is held.
choose_entry "WATCH REPLAY"
wait_trace "^watching " 2 10
sleep 3
press_until F3 "--------begin"
sleep 1
grab paused1
sleep 1.5
grab paused2
[ "$(differing "$SCRATCH/paused1.png" "$SCRATCH/paused2.png")" -le 1 ] || fail "F3 did not stop the replay"
press_until F3 "--------begin"
press_until space "back to the menu"
pass "F3 stops and resumes a replay"
hold_key Escape
wait_game 20
release_key Escape
expect_status 0 "Escape after the replays"

# A replay named on the command line opens the game on it; a broken one is
# said on standard error and the game opens on its menu.
replay=$(ls "$REPLAYS"/replay-*.txt | tail -n 1)
head -c 300 "$replay" >"$SCRATCH/cut.txt"
start_game --replay "$SCRATCH/cut.txt"
wait_window
wait_first_frame
sleep 1
grep -q "^$SCRATCH/cut.txt:[0-9]*: expected" "$SCRATCH/stderr.log" || fail "a cut replay was not refused with its line"
kill -0 "$GAME_PID" || fail "a cut replay ended the game"
hold_key Escape
wait_game 20
release_key Escape
expect_status 0 "Escape after a cut replay"
pass "a cut replay is refused with its line and the menu opens"
