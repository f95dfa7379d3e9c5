#!/bin/bash
# The screens of the front end, one after the other, in a window of E2E_SIZE
# (1280x720 unless set): the title, the options and keys, the controls, the
# fighter select with a fighter whose folder does not load, the arena select,
# a round's captions and the pause menu back to the title. With E2E_SHOTS set,
# a screenshot of each. (The round's clock, time up and the results are the
# unit tests' and match_test's.)
. "$(dirname "$0")/lib.sh"
SIZE=${E2E_SIZE:-1280x720}
start_xvfb

fresh_game_dir default
sed -i "s/^size .*/size ${SIZE%x*} ${SIZE#*x} 32/" "$GAME_DIR/device.cfg"
# A fighter a modder broke: its move tree is missing.
cp -r "$GAME_DIR/characters/lyse" "$GAME_DIR/characters/kira"
rm "$GAME_DIR/characters/kira/movetree.txt"

shot() { screenshot "screens_$1_$SIZE"; }

launch
[ "$(window_size)" = "$SIZE" ] || fail "window is $(window_size), expected $SIZE"
focus_window
tap Down; tap Up
sleep 1; shot title

choose_entry OPTIONS; wait_screen "options"
select_entry rounds; tap Left
select_entry timer; tap Left
wait_for 10 grep -qx "timer 30" "$SCRATCH/config/korvanthe/options.txt" || fail "timer not saved"
grep -qx "rounds 1" "$SCRATCH/config/korvanthe/options.txt" || fail "rounds not saved"
shot options
choose_entry "player 2 keys"; wait_screen "player 2 keys"
sleep 0.5; shot keys
press_until BackSpace "screen: options"
choose_entry controls; wait_screen "controls"
sleep 0.5; shot controls_keys
tap Right
sleep 0.5; shot controls_moves
tap Return; wait_screen "options"
tap BackSpace; wait_screen "title"
pass "options, keys and controls"

choose_entry "TWO PLAYERS"; wait_screen "fighter select"
# Player 1 steps on from bront to kira, whose check fails.
tap d
wait_for 10 traced "^kira cannot be chosen: "
traced "^kira cannot be chosen: characters/kira/movetree.txt: file not found" ||
    fail "kira's broken folder was not found out"
sleep 0.5; shot fighter_select_unavailable
tap g
sleep 0.3
traced "screen: arena select" && fail "an unavailable fighter was picked"
tap a
sleep 1; shot fighter_select
tap g; tap Delete
wait_screen "arena select"
sleep 1; shot arena_select
tap Return
wait_line "round 1"
sleep 0.5; shot round
wait_line "fight"
shot fight_call
kill -0 "$GAME_PID" || fail "the game died"
pass "fighter and arena select, with a broken fighter unavailable"

tap p; wait_screen "pause"
sleep 0.5; shot pause
choose_entry "MAIN MENU"; wait_screen "title"
escape_quits "Escape"
