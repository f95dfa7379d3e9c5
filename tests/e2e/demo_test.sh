#!/bin/bash
# The demo: the computer against itself, two whole bouts with no key
# pressed, until a key brings the menu back.
. "$(dirname "$0")/lib.sh"
start_xvfb

start_default_game
focus_window
choose_entry DEMO
wait_trace "^bout won by" 1 250
grep -q "^computer player 0: seed" "$SCRATCH/debug.log" || fail "the computer does not play player 1"
grep -q "^computer player 1: seed" "$SCRATCH/debug.log" || fail "the computer does not play player 2"
sleep 1
screenshot demo_first_bout
wait_trace "^bout won by" 2 250
pass "the demo plays two whole bouts on its own"

focus_window
press_until space "back to the menu"
grep -q "^back to the menu" "$SCRATCH/debug.log" || fail "a key did not end the demo"
screenshot demo_ended
pass "a key ends the demo"
escape_quits "Escape after the demo"
