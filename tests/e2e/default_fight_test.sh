#!/bin/bash
# A fight on the default content, played with real key presses: walking in,
# a punch and a kick that land, a guard that holds, and a heavy blow that
# knocks the opponent off the floor and wins the bout.
. "$(dirname "$0")/lib.sh"
: "${DATA:?the data folder of the build}"
[ -f "$DATA/settings.txt" ] || fail "no default content in $DATA"
start_xvfb

rm -rf "$GAME_DIR"
cp -r "$DATA" "$GAME_DIR"
start_game
wait_window
start_match
wait_until 10 bar_at_least 1 98 || fail "player 2's bar is not full at the start: $(bar_percent 1)"
screenshot fight_start

# With the automatic camera, player 1's right key (d) walks toward player 2:
# game time follows real time, so a second and a half walks as far however
# slowly the frames come.
hold_key d
sleep 1.5
release_key d
screenshot fight_close

# Strikes with `key` until player 2's bar is shorter than $2 percent.
strike_until_below() {
    for _ in $(seq 6); do
        tap "$1"
        wait_until 2 bar_below 1 "$2" && return 0
    done
    return 1
}

full=$(bar_percent 1)
strike_until_below g "$full" || fail "the punches did not land ($full)"
pass "a punch lands"
sleep 1  # the reaction ends
after_punches=$(bar_percent 1)
strike_until_below h "$after_punches" || fail "the kicks did not land ($after_punches)"
screenshot fight_kick
pass "a kick lands"

# Player 2 holds the guard (Insert): a punch is blocked and costs nothing.
sleep 1
guarded_from=$(bar_percent 1)
hold_key Insert
blocks=$(trace_count "GUARD HIT")
for _ in $(seq 4); do
    tap g
    wait_until 2 trace_grown "GUARD HIT" "$blocks" && break
done
trace_grown "GUARD HIT" "$blocks" || fail "no punch was blocked"
sleep 0.5
screenshot fight_guard
guarded=$(bar_percent 1)
release_key Insert
[ "$guarded" -ge "$((guarded_from - 1))" ] || fail "the guard did not hold ($guarded_from, then $guarded)"
pass "a guard blocks"

# Push player 2 back to the edge by walking into them, and strike with the
# heavy blow (toward + kick) until one knocks them off the floor.
for _ in $(seq 10); do
    trace_grown "Player 1 knocked off the floor" 0 && break
    hold_key d
    sleep 1.5
    tap h
    release_key d
    wait_until 2 trace_grown "Player 1 knocked off the floor" 0
done
wait_trace "Player 1 knocked off the floor" 1
wait_trace "bout won by player one" 1 5
sleep 1
screenshot fight_winner
pass "a knock-back rings player 2 out and wins the bout"

wait_until 30 bar_at_least 1 98 || fail "the next bout did not start: $(bar_percent 1)"
screenshot fight_next_bout
pass "the next bout starts"

quit_with_escape
expect_status 0 "Escape"
