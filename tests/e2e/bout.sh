# The bout the sound tests play on the default content, sourced after
# lib.sh: player 1 walks in and punches until two blows have landed, then
# punches at player 2's held guard until one is blocked; then the caller's
# bout_end, if it defines one; Escape ends it.
# The game's environment is the caller's (the audio driver to use).

play_bout() {
    fresh_game_dir default
    launch
    for _ in 1 2 3; do
        grep -q "MENU:  Pressed keyboard key" "$SCRATCH/debug.log" && break
        start_match
    done
    hold_key d
    sleep 1.5
    release_key d
    screenshot bout_close
    punch_until "takes a blow" 2
    xdotool keydown Insert
    sleep 0.4
    punch_until "GUARD HIT" 1
    xdotool keyup Insert
    # A caller's own end to the bout, if it has one.
    if declare -F bout_end >/dev/null; then bout_end; fi
    # The last blow's sound plays out before the game ends.
    sleep 0.5
    escape_quits "Escape"
}
