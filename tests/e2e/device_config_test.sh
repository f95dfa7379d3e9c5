#!/bin/bash
# device.cfg: a missing or wrong one ends the program with status 255 before
# a window opens, saying where (every fault of the file itself is a unit
# test's); a driver line with spaces opens the window.
. "$(dirname "$0")/lib.sh"
start_xvfb

STANDARD="There was an error in the device.cfg file, or it didn't exist!"

fresh_game_dir
run_game
expect_status 255 "missing device.cfg"
expect_stderr_line "$STANDARD"
expect_stderr_line "device.cfg: cannot be opened"
pass "missing device.cfg"

fresh_game_dir game
sed -i "s/^dither/ditherX/" "$GAME_DIR/device.cfg"
run_game
expect_status 255 "misspelt dither"
expect_stderr_line "$STANDARD"
grep -qF "device.cfg:6: expected 'dither', found 'ditherX'" "$SCRATCH/stderr.log" ||
    fail "misspelt dither: no line naming the file, the line and the word"
pass "a misspelt keyword"

fresh_game_dir game
sed -i "s/^size .*/size 100000 600 32/" "$GAME_DIR/device.cfg"
run_game
expect_status 255 "a window too wide"
grep -qF "device.cfg:3: expected a window of" "$SCRATCH/stderr.log" || fail "size out of range: no message"
pass "a size out of range"

fresh_game_dir game
sed -i "s/^driver .*/driver Mesa software rasteriser with spaces/" "$GAME_DIR/device.cfg"
launch
escape_quits "a driver line with spaces"
pass "a driver line with spaces"
