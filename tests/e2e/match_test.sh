#!/bin/bash
# A match as a player sees it: the settings it needs, the menu's Quit,
# blows that shorten the opponent's life bar, a won bout, the next one, and Escape.
. "$(dirname "$0")/lib.sh"
start_xvfb

fresh_game_dir game
rm "$GAME_DIR/settings.txt"
run_game
expect_status 231 "missing settings.txt"
expect_stderr_line "settings.txt: cannot be opened"
pass "settings.txt missing ends with 231"

# "Quit" is the last of the menu's five entries.
fresh_game_dir game
start_game
wait_window
focus_window
wait_first_frame
menu_choose 5
wait_game 20
expect_status 0 "Quit"
pass "Quit ends the program with 0"

fresh_game_dir game
# The generated letters, when the build has made them, spell the captions.
[ -d "${DATA:-}/letters" ] && cp -r "$DATA/letters" "$GAME_DIR/"
start_game
wait_window
start_match
wait_until 10 bar_at_least 1 98 || fail "player 2's bar is not full at the start: $(bar_percent 1)"
screenshot match_start
# Player 1's punch lunges forward: a few of them reach player 2.
for _ in $(seq 8); do
    tap g
    wait_until 1 bar_below 1 98 && break
done
bar_below 1 98 || fail "player 2's life bar did not shrink: $(bar_percent 1)"
screenshot match_hits
pass "blows shorten the opponent's life bar"

# Keep punching until player 2 has lost: the winner's caption slides in
# while the game runs at a tenth of its speed, then the next bout starts.
# (Knocked off the floor during a reaction, player 2 loses as well.)
for _ in $(seq 30); do
    trace_grown "bout won by player one" 0 && break
    tap g
    wait_until 1 trace_grown "bout won by player one" 0
done
wait_trace "bout won by player one" 1
sleep 1
screenshot match_winner
pass "a bout is won"
wait_until 30 bar_at_least 1 98 || fail "the next bout did not start with full life: $(bar_percent 1)"
pass "the next bout starts"

quit_with_escape
expect_status 0 "Escape during the match"
pass "Escape ends the match with 0"
