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
sleep 1
screenshot fight_start

full=$(bar_end 1)
[ "$full" -gt 190 ] || fail "player 2's bar is not full at the start (ends at $full)"

# With the automatic camera, player 1's right key (d) walks toward player 2.
hold_key d
sleep 1.5
release_key d
screenshot fight_close

for _ in 1 2 3; do tap g; sleep 0.6; done
after_punches=$(bar_end 1)
[ "$after_punches" -lt "$full" ] || fail "the punches did not land ($full, then $after_punches)"
pass "a punch lands"

# On a slow machine a kick may fall short: a few more, each one looked at.
for _ in $(seq 5); do
    tap h
    sleep 0.9
    [ "$(bar_end 1)" -lt "$after_punches" ] && break
done
after_kicks=$(bar_end 1)
[ "$after_kicks" -lt "$after_punches" ] || fail "the kicks did not land ($after_punches, then $after_kicks)"
screenshot fight_kick
pass "a kick lands"

# Player 2 holds the guard (Insert): punches are blocked.
xdotool keydown Insert
sleep 0.5
for _ in 1 2 3; do tap g; sleep 0.6; done
guarded=$(bar_end 1)
screenshot fight_guard
xdotool keyup Insert
[ "$guarded" -eq "$after_kicks" ] || fail "the guard did not hold ($after_kicks, then $guarded)"
pass "a guard blocks"

# Push player 2 back to the edge by walking into them, and strike with the
# heavy blow (toward + kick) until one knocks them off the floor.
ring_out "Player 1 knocked off the floor"
grep -q "bout won by player one" "$SCRATCH/debug.log" || fail "the ring-out did not win the bout"
sleep 1
screenshot fight_winner
pass "a knock-back rings player 2 out and wins the bout"

for _ in $(seq 40); do
    [ "$(bar_end 1)" -gt 190 ] && break
    sleep 0.5
done
[ "$(bar_end 1)" -gt 190 ] || fail "the next bout did not start"
screenshot fight_next_bout
pass "the next bout starts"

hold_key Escape
wait_game 20
release_key Escape
expect_status 0 "Escape"
