#!/bin/bash
# A match as a player sees it: the settings it needs, the window (its size
# and caption, a resize the frame loop survives, a close request from the
# window manager), blows that shorten the opponent's life bar, a bout won and
# the next one, and Escape; all of it with an audio driver that plays
# nothing, as on a machine without sound.
. "$(dirname "$0")/lib.sh"
start_xvfb
export SDL_AUDIODRIVER=dummy

fresh_game_dir game
rm "$GAME_DIR/settings.txt"
run_game
expect_status 231 "missing settings.txt"
expect_stderr_line "settings.txt: cannot be opened"
pass "settings.txt missing ends with 231"

fresh_game_dir game
launch
[ "$(window_size)" = "800x600" ] || fail "window is $(window_size), expected 800x600"
xprop -id "$WINDOW" WM_NAME | grep -qF '"KORVANTHE"' || fail "caption: $(xprop -id "$WINDOW" WM_NAME)"
xprop -id "$WINDOW" WM_ICON_NAME | grep -qF '"korvanthe"' || fail "icon caption"
screenshot window
pass "an 800x600 window captioned KORVANTHE"
xdotool windowsize "$WINDOW" 640 480
wait_for 10 traced "display resized to 640x480" || fail "the resize did not reach the display"
sleep 0.5
[ "$(window_size)" = "640x480" ] || fail "window is $(window_size) after the resize"
"$WM_DELETE" "$WINDOW" || fail "could not send WM_DELETE_WINDOW"
wait_game 20
expect_status 0 "window close request"
pass "a resize, and a window-close request ends the game with 0"

# The far end of player 2's full life bar is blue; once the bar shrinks the
# sky shows there instead.
bar_end_is_blue() {
    IFS=, read -r r g b <<<"$(pixel 755 30)"
    [ -n "$b" ] && [ "$b" -gt 150 ] && [ "$r" -lt 80 ] && [ "$g" -lt 80 ]
}

fresh_game_dir game
# The generated letters, when the build has made them, spell the captions.
[ -d "${DATA:-}/letters" ] && cp -r "$DATA/letters" "$GAME_DIR/"
launch
start_match
sleep 1
bar_end_is_blue || fail "player 2's bar is not full at the start: $(pixel 755 30)"
screenshot match_start
# Player 1's punch lunges forward: a few of them reach player 2. Each key
# is held until the game has taken the punch, however slow its frames.
for _ in $(seq 12); do
    press_until g "controller 0 ready: p"
    sleep 0.35
    bar_end_is_blue || break
done
screenshot match_hits
bar_end_is_blue && fail "player 2's life bar did not shrink: $(pixel 755 30)"
pass "blows shorten the opponent's life bar"

# Keep punching until player 2 has lost: the winner's caption slides
# in while the game runs at a tenth of its speed, then the next bout starts.
# (Knocked off the floor during a reaction, player 2 loses as well.)
for _ in $(seq 30); do
    traced "bout won by player one" && break
    press_until g "controller 0 ready: p"
    sleep 0.35
done
traced "bout won by player one" || fail "player 2 never lost"
sleep 1; screenshot match_winner
pass "a bout is won"
wait_for 20 bar_end_is_blue || fail "the next bout did not start with full life"
pass "the next bout starts"
traced "^sound: the dummy audio driver plays nothing; the game is silent$" || fail "the trace does not say why it is silent"

escape_quits "Escape during the match"
pass "Escape ends the match with 0"
