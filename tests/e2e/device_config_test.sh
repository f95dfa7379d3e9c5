#!/bin/bash
# device.cfg as the game meets it: a missing or broken one ends the program
# with status 255, the standard message and the line that says where (each
# fault of the file is the reader's own unit test); a driver name with
# spaces or of any length opens the window.
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
expect_stderr_line "device.cfg:6: expected 'dither', found 'ditherX'"
pass "a misspelt keyword"

for driver in "Mesa software rasteriser with spaces" "$(printf 'd%.0s' $(seq 300))"; do
    fresh_game_dir game
    sed -i "s/^driver .*/driver $driver/" "$GAME_DIR/device.cfg"
    start_game
    wait_window
    quit_with_escape
    expect_status 0 "driver '${driver:0:20}...'"
done
pass "driver lines with spaces and of 300 characters"
