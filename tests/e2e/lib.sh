# Helpers shared by the end-to-end tests, sourced by each script: a private X
# server, a scratch folder with the fixture data, the game started and driven
# as a player would. Waits poll the game's trace with a deadline, and a key is
# held until the trace shows the game has seen it: frames are slow on a
# loaded machine.
set -u

: "${KORVANTHE:?the path of the korvanthe binary}"
: "${FIXTURES:?the tests/fixtures folder}"
: "${MAKE_FIXTURE:?the make_fixture tool}"

SCRATCH=$(mktemp -d /tmp/korvanthe-e2e.XXXXXX)
GAME_DIR="$SCRATCH/game"
LOG="$SCRATCH/debug.log"
# The player's own files are the test's, never the machine's.
export XDG_CONFIG_HOME="$SCRATCH/config"
XVFB_PID=""
GAME_PID=""

trap '[ -n "$GAME_PID" ] && kill -9 "$GAME_PID" 2>/dev/null; [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null; rm -rf "$SCRATCH"' EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in "$SCRATCH"/stderr.log "$LOG"; do
        [ -s "$log" ] && { echo "--- $log" >&2; grep -v "^--------begin" "$log" | tail -n 20 >&2; }
    done
    exit 1
}
pass() { echo "ok: $*"; }

# Runs the command every 0.1 s until it succeeds, for at most $1 seconds.
wait_for() {
    local limit=$(( $1 * 10 ))
    shift
    for _ in $(seq "$limit"); do
        "$@" 2>/dev/null && return 0
        sleep 0.1
    done
    "$@" 2>/dev/null
}

# The trace: a line matching $1; more than $2 of them; the lines that are $1 whole.
traced() { grep -q -- "$1" "$LOG"; }
traced_more() { [ "$(grep -c -- "$1" "$LOG" 2>/dev/null)" -gt "$2" ]; }
trace_count() { grep -cxF -- "$1" "$LOG" 2>/dev/null; }
# Waits up to $3 seconds for $2 lines matching $1; up to 30 s for the line $1.
wait_trace() { wait_for "$3" traced_more "$1" $(( $2 - 1 )) || fail "the trace lacks $2 lines matching: $1"; }
wait_line() { wait_for 30 grep -qxF -- "$1" "$LOG" || fail "the trace lacks the line: $1"; }
# Waits up to $2 seconds (30) for the screen $1: the last one the trace names.
on_screen() { [ "$(grep '^screen: ' "$LOG" | tail -n 1)" = "screen: $1" ]; }
wait_screen() { wait_for "${2:-30}" on_screen "$1" || fail "the game is not on the $1 screen"; }

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

# A fresh working folder of the given fixture folders, merged in order;
# "game" is a whole small match written by make_fixture, "default" the
# build's own content.
fresh_game_dir() {
    rm -rf "$GAME_DIR"
    mkdir -p "$GAME_DIR"
    for fixture in "$@"; do
        case $fixture in
        game) "$MAKE_FIXTURE" "$GAME_DIR" || fail "make_fixture failed" ;;
        default)
            [ -f "${DATA:?the data folder of the build}/settings.txt" ] || fail "no default content in $DATA"
            cp -r "$DATA/." "$GAME_DIR/" ;;
        *) cp -r "$FIXTURES/$fixture/." "$GAME_DIR/" ;;
        esac
    done
}

# The game in the background with the given arguments, its trace in $LOG.
start_game() {
    (cd "$GAME_DIR" && exec env KORVANTHE_DEBUG="$LOG" XDG_CONFIG_HOME="$SCRATCH/config" \
        XDG_DATA_HOME="$SCRATCH/share" "$KORVANTHE" "$@") \
        >"$SCRATCH/stdout.log" 2>"$SCRATCH/stderr.log" &
    GAME_PID=$!
}
# Started, with its window shown and its first frame drawn: keys pressed
# while it still loads are never seen.
launch() { start_game "$@"; wait_window; wait_first_frame; }
wait_first_frame() { wait_for 60 grep -qxF -- "--------begin" "$LOG" || fail "the game drew no frame within 60 s"; }

# Waits for the game to end (at most $1 seconds, 20) and sets GAME_STATUS.
game_ended() { ! kill -0 "$GAME_PID"; }
wait_game() {
    wait_for "${1:-20}" game_ended || fail "the game did not end within ${1:-20} s"
    wait "$GAME_PID"; GAME_STATUS=$?; GAME_PID=""
}
# Runs the game until it ends by itself; for start-up failures.
run_game() { start_game; wait_game 20; }

# Sets WINDOW to the game's window (a search fails now and then while
# windows come and go: callers poll it).
find_window() {
    WINDOW=$(xdotool search --onlyvisible --name '^KORVANTHE$' | head -n 1)
    [ -n "$WINDOW" ]
}
wait_window() { wait_for 30 find_window || fail "no KORVANTHE window appeared"; }
window_size() { xwininfo -id "$WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# Keyboard focus follows the pointer on a bare X server.
focus_window() { xdotool mousemove --window "$WINDOW" 40 40; }
hold_key() { focus_window; xdotool keydown "$1"; }
release_key() { xdotool keyup "$1"; }

# Holds key $1 until the trace has $3 (1) more lines matching $2 (at most
# 10 s), then lets it go.
press_until() {
    local before
    before=$(grep -c -- "$2" "$LOG" 2>/dev/null)
    xdotool keydown "$1"
    wait_for 10 traced_more "$2" "$(( ${before:-0} + ${3:-1} - 1 ))"
    xdotool keyup "$1"
    sleep 0.1
}
# A press the game has seen: it polls the keyboard before each frame it
# traces, so the key is held until two more frames have begun.
tap() { press_until "$1" "^--------begin" 2; }

# The build's default content, started to its first frame with the pointer
# where the game keeps its mouse, (320, 200) in the window at the screen's
# corner: the menu then keeps the keyboard's choice, "one player".
start_default_game() { xdotool mousemove 320 200; fresh_game_dir default; launch; }

# From the main menu past the round's caption: two players, the settings'
# fighters and arena.
start_match() { wait_first_frame; focus_window; sleep 0.3; take_defaults "TWO PLAYERS"; wait_line "fight"; }
# The menu's entry $1, then Return for each default: both fighters, the arena.
take_defaults() {
    choose_entry "$1"; wait_screen "fighter select"
    press_until Return " picks "
    press_until Return " picks "
    wait_screen "arena select"
    tap Return
}

# Moves the menu's selection to the entry that begins with $1 (choose_entry
# takes it with Return): the menu traces each entry the keyboard reaches.
# The pointer may have left the mouse in charge with no entry under it;
# Down then Up first give the keyboard an entry either way.
at_entry() { [[ "$(grep '^MENU: at ' "$LOG" | tail -n 1)" == "MENU: at $1"* ]]; }
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
choose_entry() { select_entry "$1"; tap Return; }

# Player 1 walks player 2 back to the edge and strikes with the heavy blow
# (toward + kick), at most $2 times (10), until the trace matches $1.
ring_out() {
    for _ in $(seq "${2:-10}"); do
        traced "$1" && return 0
        hold_key d; sleep 1.5
        xdotool keydown h; sleep 0.2; xdotool keyup h
        release_key d; sleep 1.5
    done
    traced "$1" || fail "never in the trace: $1"
}

# Player 1 punches (g) until the trace has $2 lines matching $1.
punch_until() {
    for _ in $(seq 12); do
        traced_more "$1" $(( $2 - 1 )) && return 0
        tap g; sleep 0.5
    done
    screenshot no_blows
    fail "fewer than $2 '$1' after a dozen punches"
}

# The colour of window pixel (x, y), as "r,g,b".
pixel() {
    import -window "$WINDOW" -crop "1x1+$1+$2" txt:- 2>/dev/null |
        sed -n 's/.*srgba\{0,1\}(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
# Where player N's (0 or 1) life bar ends, in pixels of an 800-wide window:
# the filled part fades to a saturated colour (green 0) at its end, the rest
# shows the sky.
bar_end() {
    local left=$(( $1 == 0 ? 40 : 560 ))
    import -window "$WINDOW" -crop "200x1+$left+30" txt:- 2>/dev/null |
        sed -n 's/^\([0-9]*\),0:.*srgba\{0,1\}(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' |
        awk '$3 < 90 { end = $1 } END { print end + 0 }'
}

# Escape held until the game ends; it must end with status 0.
escape_quits() { hold_key Escape; wait_game 20; release_key Escape; expect_status 0 "${1:-Escape}"; }
expect_status() { [ "$GAME_STATUS" -eq "$1" ] || fail "$2: exit status $GAME_STATUS, expected $1"; }
expect_stderr_line() { grep -qxF -- "$1" "$SCRATCH/stderr.log" || fail "standard error lacks the line: $1"; }

# Keeps a screenshot when E2E_SHOTS names a folder, for a person to look at.
screenshot() { [ -z "${E2E_SHOTS:-}" ] || { mkdir -p "$E2E_SHOTS"; import -window root "$E2E_SHOTS/$1.png"; }; }
