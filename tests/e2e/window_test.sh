#!/bin/bash
# The window: its size and caption, Escape, a close request from the window
# manager, and a resize that the frame loop survives.
. "$(dirname "$0")/lib.sh"
start_xvfb

fresh_game_dir game
start_game
wait_window
[ "$(window_size)" = "800x600" ] || fail "window is $(window_size), expected 800x600"
xprop -id "$WINDOW" WM_NAME | grep -qF '"KORVANTHE"' || fail "caption: $(xprop -id "$WINDOW" WM_NAME)"
xprop -id "$WINDOW" WM_ICON_NAME | grep -qF '"korvanthe"' || fail "icon caption"
screenshot window
pass "an 800x600 window captioned KORVANTHE"

xdotool windowsize "$WINDOW" 640 480
wait_for 10 traced "display resized to 640x480" || fail "the resize did not reach the display"
sleep 0.5
kill -0 "$GAME_PID" || fail "the game died after the resize"
[ "$(window_size)" = "640x480" ] || fail "window is $(window_size) after the resize"
pass "resize"

escape_quits "Escape"
pass "Escape ends the game with 0"

fresh_game_dir game
start_game
wait_window
"$WM_DELETE" "$WINDOW" || fail "could not send WM_DELETE_WINDOW"
wait_game 20
expect_status 0 "window close request"
pass "a window-close request ends the game with 0"
