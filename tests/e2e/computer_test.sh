#!/bin/bash
# The computer opponent as a player meets it: in "one player" (Return takes
# each default) its blows shorten player 1's bar while player 1 touches
# nothing; "cpu" in controllers.txt gives that player to it in every match;
# the demo plays a whole bout and the next with no key pressed, until a key
# brings the menu back.
. "$(dirname "$0")/lib.sh"
start_xvfb

start_default_game
screenshot computer_menu
focus_window
take_defaults "ONE PLAYER"
wait_trace "^computer player 1: seed" 1 20
traced "^computer player 0: seed" && fail "the computer took player 1 too"
sleep 1
full=$(bar_end 0)
[ "$full" -gt 190 ] || fail "player 1's bar is not full at the start (ends at $full)"
shrunk=""
for _ in $(seq 60); do
    now=$(bar_end 0)
    [ "$now" -lt $(( full - 5 )) ] && { shrunk=$now; break; }
    sleep 0.5
done
[ -n "$shrunk" ] || fail "player 1's life bar never shrank in 30 s"
screenshot computer_one_player
pass "in one player the computer's blows shorten player 1's bar ($full, then $shrunk)"
escape_quits "Escape in one player"

fresh_game_dir game
printf 'controller0 cpu\ncontroller1 keyboard\n' > "$GAME_DIR/controllers.txt"
xdotool mousemove 320 200  # the game before moved the pointer
launch
focus_window
take_defaults "ONE PLAYER"
wait_trace "^computer player 0: seed" 1 20
pass "cpu in controllers.txt gives player 1 to the computer, in one player too"
escape_quits "Escape with a cpu player"

start_default_game
focus_window
choose_entry DEMO
wait_trace "^bout won by" 1 250
traced "^computer player 0: seed" && traced "^computer player 1: seed" || fail "the computer does not play both"
screenshot demo_first_bout
# The next bout (a round, or a new match) begins and is fought, untouched.
wait_trace "^round [0-9]*$" 2 60
wait_trace "^fight$" 2 30
pass "the demo plays a whole bout and goes on to the next on its own"

focus_window
press_until space "back to the menu"
traced "^back to the menu" || fail "a key did not end the demo"
screenshot demo_ended
pass "a key ends the demo"
escape_quits "Escape after the demo"
