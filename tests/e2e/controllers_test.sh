#!/bin/bash
# controllers.txt: every way it can be wrong ends the program with status 1
# before a window opens; a good one gives each keyboard layout its own
# controller, seen through the trace.
. "$(dirname "$0")/lib.sh"
start_xvfb

# The game traces "opening the window" just before it opens one.
expect_no_window() {
    if grep -qF "opening the window" "$SCRATCH/debug.log" 2>/dev/null; then
        fail "$1: the window was opened"
    fi
}

# Runs the game with the given controllers.txt ("none": without one) and
# expects it refused with status 1, the standard message and the line that
# says where.
expect_refused() {
    local what=$1 contents=$2 message=$3 where=$4
    fresh_game_dir game
    printf '%b' "$contents" > "$GAME_DIR/controllers.txt"
    [ "$contents" = none ] && rm "$GAME_DIR/controllers.txt"
    run_game
    expect_status 1 "$what"
    expect_stderr_line "$message"
    expect_stderr_line "$where"
    expect_no_window "$what"
}

# Each refused file: its text (printf escapes), the standard message and
# the line that says where; the words are compared exactly, letter case too.
while IFS='|' read -r contents message where; do
    expect_refused "$contents" "$contents" "$message" "$where"
done <<'CASES'
none|Expected controllers.txt file|controllers.txt: cannot be opened
controler0 keyboard\ncontroller1 keyboard\n|expected 'controller0' in controllers.txt|controllers.txt:1: expected 'controller0', found 'controler0'
controller0 keyboard\ncontroller0 keyboard\n|expected 'controller1' in controllers.txt|controllers.txt:2: expected 'controller1', found 'controller0'
|expected 'controller0' in controllers.txt|controllers.txt:1: expected 'controller0', found the end of the file
controller0 mouse\ncontroller1 keyboard\n|expected 'joystick' or 'keyboard' as a value for controller0|controllers.txt:1: expected 'keyboard', 'joystick' or 'cpu', found 'mouse'
controller0 keyboard\ncontroller1\n|expected 'joystick' or 'keyboard' as a value for controller1|controllers.txt:3: expected 'keyboard', 'joystick' or 'cpu', found the end of the file
Controller0 keyboard\ncontroller1 keyboard\n|expected 'controller0' in controllers.txt|controllers.txt:1: expected 'controller0', found 'Controller0'
controller0 Keyboard\ncontroller1 keyboard\n|expected 'joystick' or 'keyboard' as a value for controller0|controllers.txt:1: expected 'keyboard', 'joystick' or 'cpu', found 'Keyboard'
CASES
pass "a missing file, wrong or missing words, and words in the wrong letter case"

if ls /dev/input/js* >/dev/null 2>&1; then
    echo "skip: a joystick is connected to this machine"
else
    expect_refused "joystick 0 absent" 'controller0 joystick\ncontroller1 keyboard\n' \
        "No joystick found at position 0" \
        "controllers.txt:1: controller0 asks for joystick 0, which is not connected"
    expect_refused "joystick 1 absent" 'controller0 keyboard\ncontroller1 joystick\n' \
        "No joystick found at position 1" \
        "controllers.txt:2: controller1 asks for joystick 1, which is not connected"
    pass "a joystick asked for but not connected"
fi

fresh_game_dir game
rm "$GAME_DIR/device.cfg"
printf 'nonsense\n' > "$GAME_DIR/controllers.txt"
run_game
expect_status 255 "missing device.cfg"
if grep -qi "controller" "$SCRATCH/stderr.log" "$SCRATCH/debug.log"; then
    fail "missing device.cfg: controllers.txt was read"
fi
pass "a missing device.cfg ends the game before controllers.txt is read"

fresh_game_dir game
printf 'controller0 keyboard controller1\n\nkeyboard and words\nthat follow 42\n' \
    > "$GAME_DIR/controllers.txt"
launch
escape_quits "extra words"
pass "line breaks do not matter and words after the fourth are ignored"

# Each layout's keys reach its own controller, and only its own.
fresh_game_dir game
launch
start_match
hold_key g
wait_line "controller 0 ready: p"
release_key g
grep -q '^controller 1 ready: p' "$SCRATCH/debug.log" && fail "player 0's punch reached player 1"
hold_key Delete
wait_line "controller 1 ready: p"
release_key Delete
hold_key End
wait_line "controller 1 ready: k"
release_key End
grep -q '^controller 0 ready: k' "$SCRATCH/debug.log" && fail "player 1's kick reached player 0"
screenshot controllers
escape_quits "Escape after playing"
pass "both keyboard layouts reach their own controllers"
