#!/bin/bash
# The computer opponent as a player meets it: "one player" chosen with
# Return alone, and a computer on player 2's side whose blows shorten
# player 1's life bar while player 1 touches nothing; and "cpu" in
# controllers.txt, which gives that player to the computer in every match.
. "$(dirname "$0")/lib.sh"
start_xvfb

start_default_game
screenshot computer_menu
menu_choose 0
wait_trace "^computer player 1: seed" 1 20
grep -q "^computer player 0: seed" "$SCRATCH/debug.log" && fail "the computer took player 1 too"
wait_until 10 bar_at_least 0 98 || fail "player 1's bar is not full at the start: $(bar_percent 0)"
wait_until 30 bar_below 0 95 || fail "player 1's life bar never shrank in 30 s"
screenshot computer_one_player
pass "in one player the computer's blows shorten player 1's bar"
hold_key Escape
wait_game 20
release_key Escape
expect_status 0 "Escape in one player"

fresh_game_dir game
printf 'controller0 cpu\ncontroller1 keyboard\n' > "$GAME_DIR/controllers.txt"
xdotool mousemove 320 200  # the game before moved the pointer
start_game
wait_window
wait_first_frame
menu_choose 0
wait_trace "^computer player 0: seed" 1 20
pass "cpu in controllers.txt gives player 1 to the computer, in one player too"
hold_key Escape
wait_game 20
release_key Escape
expect_status 0 "Escape with a cpu player"
