#!/bin/bash
# The menus as a player works them on the default content: the mouse picks
# the entry under the pointer, two players choose their fighters with their
# own keys, a round is won by a ring-out and marked, player 1's punch moves
# to another key in the options and lands there, and the binding outlives
# the game.
. "$(dirname "$0")/lib.sh"
start_xvfb

fresh_game_dir default

# Sweeps the pointer down the middle of the window until the menu says it
# is on the entry, then clicks there.
click_entry() {
    local y
    for y in $(seq 60 6 590); do
        xdotool mousemove --window "$WINDOW" 400 "$y"
        sleep 0.05
        grep -qxF "MENU: pointer on $1" "$SCRATCH/debug.log" && break
    done
    grep -qxF "MENU: pointer on $1" "$SCRATCH/debug.log" || fail "the pointer never lay on $1"
    sleep 0.3
    xdotool click 1
}

# The first mark under player 1's life bar shows a round won: gold.
round_marked() {
    IFS=, read -r r g b <<<"$(pixel 46 54)"
    [ -n "$b" ] && [ "$r" -gt 200 ] && [ "$g" -gt 170 ] && [ "$g" -lt 230 ] && [ "$b" -lt 70 ]
}

launch
click_entry QUIT
wait_game 20; expect_status 0 "Quit clicked"
pass "a click on QUIT quits"

launch
focus_window
choose_entry "TWO PLAYERS"; wait_screen "fighter select"
screenshot menus_fighter_select
# Both cursors start on the settings' fighters: bront for player 1, lyse for
# player 2. Each player steps to the other one with their own keys and picks.
for key in d g Right Delete; do tap $key; done
wait_screen "arena select"
screenshot menus_arena_select
tap Return
wait_line "fight"
traced "^trying person constructors" || fail "no fighters were loaded"

# Player 1 (lyse) walks player 2 (bront) to the edge and knocks him off it
# with the heavy blow, toward + kick: the ring-out wins the round.
round_marked && fail "a round is marked won before any was"
ring_out "Player 1 knocked off the floor" 20
traced "bout won by player one" || fail "the ring-out did not win the round"
sleep 1; screenshot menus_round_won
round_marked || fail "no gold mark under player 1's bar after the round: $(pixel 46 54)"
pass "two players pick their fighters with their own keys; a round won is marked"

# Pause, to the main menu, and player 1's punch moves from g to k.
tap p; wait_screen "pause"
choose_entry "MAIN MENU"; wait_screen "title"
choose_entry OPTIONS
wait_screen "options"
choose_entry "player 1 keys"
choose_entry punch
tap h
sleep 0.5
traced "is now h" && fail "h, player 1's kick, was given to the punch"
tap Return; tap k
wait_line "player 1 punch is now k"
screenshot menus_keys
press_until BackSpace "screen: options"
tap BackSpace; wait_screen "title"
start_match
full=$(bar_end 1)
before=$(trace_count "controller 0 ready: p")
for _ in 1 2 3; do tap g; sleep 0.3; done
[ "$(trace_count "controller 0 ready: p")" -eq "$before" ] || fail "g still punches"
# Lyse's jab is short: she walks in until it lands.
for _ in $(seq 6); do
    hold_key d; sleep 1; release_key d
    for _ in 1 2 3; do tap k; sleep 0.4; done
    [ "$(bar_end 1)" -lt "$full" ] && break
done
[ "$(bar_end 1)" -lt "$full" ] || fail "k did not land a punch ($full, then $(bar_end 1))"
pass "player 1 punches with the new key"

escape_quits "Escape"
grep -qxF "p1_punch k" "$SCRATCH/config/korvanthe/options.txt" || fail "options.txt lacks the new key"

launch
start_match
tap k
wait_line "controller 0 ready: p"
pass "the binding is kept by the next game"
escape_quits
