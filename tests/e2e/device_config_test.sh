#!/bin/bash
# device.cfg: every way it can be wrong ends the program with status 255
# before a window opens; the right one opens the window.
. "$(dirname "$0")/lib.sh"
start_xvfb

STANDARD="There was an error in the device.cfg file, or it didn't exist!"

fresh_game_dir
run_game
expect_status 255 "missing device.cfg"
expect_stderr_line "$STANDARD"
expect_stderr_line "device.cfg: cannot be opened"
pass "missing device.cfg"

line=0
for keyword in driver acceleration size dblbuff zbuff dither filter windowed; do
    line=$((line + 1))
    fresh_game_dir game
    sed -i "s/^$keyword/${keyword}X/" "$GAME_DIR/device.cfg"
    run_game
    expect_status 255 "misspelt $keyword"
    expect_stderr_line "$STANDARD"
    grep -qF "device.cfg:$line: expected '$keyword', found '${keyword}X'" "$SCRATCH/stderr.log" \
        || fail "misspelt $keyword: no line naming the file, the line and the word"
    grep -qF "Expected '$keyword' line" "$SCRATCH/debug.log" || fail "misspelt $keyword: no trace line"
done
pass "each misspelt keyword"

fresh_game_dir game
sed -i 's/^size/Size/' "$GAME_DIR/device.cfg"
run_game
expect_status 255 "keyword in the wrong letter case"

fresh_game_dir game
head -n 5 "$FIXTURES/game/device.cfg" > "$GAME_DIR/device.cfg"
run_game
expect_status 255 "missing lines"
grep -qF "device.cfg:6: expected 'dither', found the end of the file" "$SCRATCH/stderr.log" \
    || fail "missing lines: no line naming where the file ends"
pass "missing lines"

for size in "0 600 32" "-5 600 32" "100000 600 32" "800 -1 32" "800 600 99"; do
    fresh_game_dir game
    sed -i "s/^size .*/size $size/" "$GAME_DIR/device.cfg"
    run_game
    expect_status 255 "size $size"
    grep -qF "device.cfg:3: expected a window of" "$SCRATCH/stderr.log" || fail "size $size: no message"
done
pass "sizes out of range"

fresh_game_dir
head -c 4096 "$KORVANTHE" > "$GAME_DIR/device.cfg"
run_game
expect_status 255 "binary junk"
pass "binary junk"

# Accepted: a driver name with spaces, and one longer than 99 characters.
for driver in "Mesa software rasteriser with spaces" "$(printf 'd%.0s' $(seq 300))"; do
    fresh_game_dir game
    sed -i "s/^driver .*/driver $driver/" "$GAME_DIR/device.cfg"
    start_game
    wait_window
    hold_key Escape
    wait_game 20
    release_key Escape
    expect_status 0 "driver '${driver:0:20}...'"
done
pass "driver lines with spaces and of 300 characters"
