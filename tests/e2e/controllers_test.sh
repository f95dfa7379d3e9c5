#!/bin/bash
# controllers.txt: every way it can be wrong ends the program with status 1
# before a window opens (a missing device.cfg, with 255, before it is read);
# a good one, however its lines break, starts the game.
. "$(dirname "$0")/lib.sh"
start_xvfb

# Runs the game with the given controllers.txt ("none": without one) and
# expects it refused with status 1, the standard message and the line that
# says where, before the window opens (the trace says so just before).
expect_refused() {
    local what=$1 contents=$2 message=$3 where=$4
    fresh_game_dir game
    printf '%b' "$contents" > "$GAME_DIR/controllers.txt"
    [ "$contents" = none ] && rm "$GAME_DIR/controllers.txt"
    run_game
    expect_status 1 "$what"
    expect_stderr_line "$message"
    expect_stderr_line "$where"
    ! traced "opening the window" 2>/dev/null || fail "$what: the window was opened"
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
expect_stderr_line "There was an error in the device.cfg file, or it didn't exist!"
expect_stderr_line "device.cfg: cannot be opened"
! grep -qi "controller" "$SCRATCH/stderr.log" "$SCRATCH/debug.log" || fail "missing device.cfg: controllers.txt was read"
pass "a missing device.cfg ends the game before controllers.txt is read"

fresh_game_dir game
printf 'controller0 keyboard controller1\n\nkeyboard and words\nthat follow 42\n' \
    > "$GAME_DIR/controllers.txt"
launch
escape_quits "extra words"
pass "line breaks do not matter and words after the fourth are ignored"
