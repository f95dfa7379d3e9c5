# Helpers shared by the end-to-end tests: a private X server, a scratch
# working directory with the fixture data, and the game started and driven
# like a player would. Each test script sources this file.
set -u

: "${KORVANTHE:?the path of the korvanthe binary}"
: "${FIXTURES:?the tests/fixtures folder}"
: "${MAKE_FIXTURE:?the make_fixture tool}"

SCRATCH=$(mktemp -d /tmp/korvanthe-e2e.XXXXXX)
GAME_DIR="$SCRATCH/game"
# The player's own files (config directory) are the test's, never the machine's.
export XDG_CONFIG_HOME="$SCRATCH/config"
XVFB_PID=""
GAME_PID=""

cleanup() {
    [ -n "$GAME_PID" ] && kill -9 "$GAME_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$SCRATCH"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in "$SCRATCH"/stderr.log "$SCRATCH"/debug.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; grep -v "^--------begin" "$log" | tail -n 20 >&2; }
    done
    exit 1
}

pass() { echo "ok: $*"; }

# Runs the command every 0.1 s until it succeeds, for at most $1 seconds;
# the status is the last run's.
wait_for() {
    local limit=$(( $1 * 10 ))
    shift
    for _ in $(seq "$limit"); do
        "$@" 2>/dev/null && return 0
        sleep 0.1
    done
    "$@" 2>/dev/null
}

# The trace of the game holds a line matching the regular expression $1.
traced() { grep -q -- "$1" "$SCRATCH/debug.log"; }

# An X server of our own: -displayfd picks a free display number atomically.
start_xvfb() {
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        5>"$SCRATCH/display" 2>"$SCRATCH/xvfb.log" &
    XVFB_PID=$!
    wait_for 10 test -s "$SCRATCH/display" || fail "Xvfb did not start"
    DISPLAY=":$(head -n 1 "$SCRATCH/display")"
    SDL_VIDEODRIVER=x11  # a failed X connection must fail, not fall back to text mode
    export DISPLAY SDL_VIDEODRIVER
}

# A fresh working directory holding the given fixture folders, merged in
# order. "game" is a whole small match, written by make_fixture.
fresh_game_dir() {
    rm -rf "$GAME_DIR"
    mkdir -p "$GAME_DIR"
    for fixture in "$@"; do
        if [ "$fixture" = game ]; then
            "$MAKE_FIXTURE" "$GAME_DIR" || fail "make_fixture failed"
        else
            cp -r "$FIXTURES/$fixture/." "$GAME_DIR/"
        fi
    done
}

# Runs the game to its end in the background, with the given arguments; the
# trace goes to debug.log.
start_game() {
    # The player's options go to the scratch folder, not to the real home.
    (cd "$GAME_DIR" && exec env KORVANTHE_DEBUG="$SCRATCH/debug.log" \
        XDG_CONFIG_HOME="$SCRATCH/config" XDG_DATA_HOME="$SCRATCH/share" "$KORVANTHE" "$@") \
        >"$SCRATCH/stdout.log" 2>"$SCRATCH/stderr.log" &
    GAME_PID=$!
}

# Waits for the game to end (at most $1 seconds) and sets GAME_STATUS.
game_ended() { ! kill -0 "$GAME_PID"; }
wait_game() {
    wait_for "${1:-20}" game_ended || fail "the game did not end within ${1:-20} s"
    wait "$GAME_PID"
    GAME_STATUS=$?
    GAME_PID=""
}

# Runs the game until it ends by itself; for start-up failures.
run_game() {
    start_game
    wait_game 20
}

# Sets WINDOW to the game's window, if one is shown. A search fails now and
# then while windows come and go, so callers poll it.
find_window() {
    WINDOW=$(xdotool search --onlyvisible --name '^KORVANTHE$' | head -n 1)
    [ -n "$WINDOW" ]
}

# Waits (at most 30 s) for the game window and sets WINDOW.
wait_window() { wait_for 30 find_window || fail "no KORVANTHE window appeared"; }

# Keyboard focus follows the pointer on a bare X server.
focus_window() {
    xdotool mousemove --window "$WINDOW" 40 40
}

hold_key() { focus_window; xdotool keydown "$1"; }
release_key() { xdotool keyup "$1"; }

# A press the game has seen: it polls the keyboard before each frame it
# traces, so the key is held until two more frames have begun (at most 10 s).
tap() {
    local frames
    frames=$(grep -c -- "^--------begin" "$SCRATCH/debug.log" 2>/dev/null)
    xdotool keydown "$1"
    wait_for 10 traced_more "^--------begin" "$(( ${frames:-0} + 1 ))"
    xdotool keyup "$1"
    sleep 0.1
}

# Waits (at most 60 s) for the game's first frame: keys pressed while it
# still loads are never seen, for it polls them from that frame on.
wait_first_frame() {
    wait_for 60 grep -qxF -- "--------begin" "$SCRATCH/debug.log" || fail "the game drew no frame within 60 s"
}

# Starts the game on the build's default content and waits for its first
# frame, with the pointer resting where the game keeps its mouse, (320, 200)
# in the window at the screen's corner: the menu then keeps the keyboard's
# choice, "one player", and the keys go to the window under the pointer.
start_default_game() {
    : "${DATA:?the data folder of the build}"
    [ -f "$DATA/settings.txt" ] || fail "no default content in $DATA"
    xdotool mousemove 320 200
    rm -rf "$GAME_DIR"
    cp -r "$DATA" "$GAME_DIR"
    start_game
    wait_window
    wait_first_frame
}

# The trace holds more than $2 lines matching $1.
traced_more() { [ "$(grep -c -- "$1" "$SCRATCH/debug.log")" -gt "$2" ]; }

# Holds a key down until the game has acted on it, which the trace shows by
# one more line matching $2 (at most 10 s), then lets it go: a quick tap may
# fall between two frames of a slow one.
press_until() {
    local before
    before=$(grep -c -- "$2" "$SCRATCH/debug.log" 2>/dev/null)
    xdotool keydown "$1"
    wait_for 10 traced_more "$2" "$before"
    xdotool keyup "$1"
    sleep 0.1
}

# Waits up to $3 seconds until the trace holds $2 lines matching $1.
traced_times() { [ "$(grep -c -- "$1" "$SCRATCH/debug.log")" -ge "$2" ]; }
wait_trace() { wait_for "$3" traced_times "$1" "$2" || fail "the trace lacks $2 lines matching: $1"; }

# Waits up to 30 s for the trace to hold the line $1, whole.
wait_line() { wait_for 30 grep -qxF -- "$1" "$SCRATCH/debug.log" || fail "the trace lacks the line: $1"; }

# Waits up to $2 seconds (30 unless given) for the game to show the screen
# $1: the last screen the trace names.
on_screen() { [ "$(grep '^screen: ' "$SCRATCH/debug.log" | tail -n 1)" = "screen: $1" ]; }
wait_screen() { wait_for "${2:-30}" on_screen "$1" || fail "the game is not on the $1 screen"; }

# The number of times a line stands in the trace.
trace_count() { grep -cxF -- "$1" "$SCRATCH/debug.log" 2>/dev/null; }

# From the main menu to the fight itself: two players, the settings'
# fighters and arena, past the round's caption.
start_match() {
    wait_first_frame
    focus_window
    sleep 0.3
    take_defaults "TWO PLAYERS"
    wait_line "fight"
}

# From the main menu, the entry $1, then Return for each default: both
# fighters and the arena.
take_defaults() {
    choose_entry "$1"
    wait_screen "fighter select"
    press_until Return " picks "
    press_until Return " picks "
    wait_screen "arena select"
    tap Return
}

# Moves the menu's selection to the entry that begins with $1 (and takes it
# with Return): the menu traces each entry the keyboard reaches. Moving the
# pointer onto the window may have made the mouse take over, with no entry
# under it; Down then Up first give the keyboard an entry either way.
at_entry() {
    local last
    last=$(grep '^MENU: at ' "$SCRATCH/debug.log" | tail -n 1)
    [[ "$last" == "MENU: at $1"* ]]
}
select_entry() {
    local key
    tap Down
    tap Up
    for key in Down Up; do
        for _ in $(seq 12); do
            at_entry "$1" && break 2
            tap $key
        done
    done
    at_entry "$1" || fail "no menu entry $1"
}
choose_entry() {
    select_entry "$1"
    tap Return
}

# Player 1 walks player 2 back to the edge and strikes with the heavy blow
# (toward + kick), at most $2 times (10 unless given), until the trace holds
# a line matching $1; fails when it never does.
ring_out() {
    for _ in $(seq "${2:-10}"); do
        traced "$1" && return 0
        hold_key d
        sleep 1.5
        xdotool keydown h
        sleep 0.2
        xdotool keyup h
        release_key d
        sleep 1.5
    done
    traced "$1" || fail "never in the trace: $1"
}

# The colour of window pixel (x, y), as "r,g,b".
pixel() {
    import -window "$WINDOW" -crop "1x1+$1+$2" txt:- 2>/dev/null |
        sed -n 's/.*srgba\{0,1\}(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# Where player N's (0 or 1) life bar ends, in window pixels, on an 800-wide
# window: the filled part fades to a saturated colour (green 0) at its end,
# the rest shows the sky.
bar_end() {
    local left=$(( $1 == 0 ? 40 : 560 ))
    import -window "$WINDOW" -crop "200x1+$left+30" txt:- 2>/dev/null |
        sed -n 's/^\([0-9]*\),0:.*srgba\{0,1\}(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' |
        awk '$3 < 90 { end = $1 } END { print end + 0 }'
}

window_size() { xwininfo -id "$WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# Escape held until the game ends; it must end with status 0.
escape_quits() {
    hold_key Escape
    wait_game 20
    release_key Escape
    expect_status 0 "${1:-Escape}"
}

expect_status() {
    [ "$GAME_STATUS" -eq "$1" ] || fail "$2: exit status $GAME_STATUS, expected $1"
}

expect_stderr_line() {
    grep -qxF -- "$1" "$SCRATCH/stderr.log" || fail "standard error lacks the line: $1"
}

# Keeps a screenshot when E2E_SHOTS names a folder, for a person to look at.
screenshot() {
    [ -n "${E2E_SHOTS:-}" ] || return 0
    mkdir -p "$E2E_SHOTS"
    import -window root "$E2E_SHOTS/$1.png"
}
