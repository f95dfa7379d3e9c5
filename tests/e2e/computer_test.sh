#!/bin/bash
# The computer opponent and the training dummy as a player meets them: in
# training Lyse's jabs on the dummy make a combo whose figures the screen
# shows, no bout is ever decided, and Backspace goes back to the menu; in
# "one player" (Return takes each default) the computer's blows shorten
# player 1's bar while player 1 touches nothing; "cpu" in controllers.txt
# gives that player to it in every match; the demo plays a whole bout and the
# next with no key pressed, until a key brings the menu back.
. "$(dirname "$0")/lib.sh"
start_xvfb

# Lyse's jab comes quickly enough to land again on a dummy still reeling.
mkdir -p "$SCRATCH/config/korvanthe"
printf 'scene lakeshrine\nplayer1 lyse\nplayer2 bront\n' >"$SCRATCH/config/korvanthe/settings.txt"
start_default_game
screenshot computer_menu
focus_window
choose_entry TRAINING
wait_line "fight"
longest() {
    grep -o "^training: fighter 2 took a blow of [0-9]*, combo of [0-9]*" "$SCRATCH/debug.log" |
        awk '{ print $NF }' | sort -n | tail -n 1
}
# Toward the dummy, then a flurry of jabs (g); one that lands only once is
# tried again, as a player would (on a loaded machine, often).
for _ in $(seq 10); do
    hold_key d; sleep 1; release_key d
    for _ in $(seq 12); do
        xdotool keydown g; sleep 0.05; xdotool keyup g; sleep 0.05
        combo=$(longest)
        [ "${combo:-0}" -ge 2 ] && break 2
    done
    sleep 2
done
[ "${combo:-0}" -ge 2 ] || fail "no combo landed on the dummy (longest: ${combo:-none})"
screenshot training_combo
sleep 3
traced "^bout won by" && fail "a bout was decided in training"
press_until BackSpace "back to the menu"
wait_screen "title"
pass "jabs on the dummy make a combo of $combo blows; Backspace leaves training"

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

rm "$SCRATCH/config/korvanthe/settings.txt"  # the fixture match has its own fighters
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
