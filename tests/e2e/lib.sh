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
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    exit 1
}

pass() { echo "ok: $*"; }

# An X server of our own: -displayfd picks a free display number atomically.
start_xvfb() {
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        5>"$SCRATCH/display" 2>"$SCRATCH/xvfb.log" &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$SCRATCH/display" ] && break
        sleep 0.1
    done
    [ -s "$SCRATCH/display" ] || fail "Xvfb did not start"
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

# Runs the game to its end in the background; the trace goes to debug.log.
start_game() {
    # The player's options go to the scratch folder, not to the real home.
    (cd "$GAME_DIR" && exec env KORVANTHE_DEBUG="$SCRATCH/debug.log" \
        XDG_CONFIG_HOME="$SCRATCH/config" XDG_DATA_HOME="$SCRATCH/share" "$KORVANTHE") \
        >"$SCRATCH/stdout.log" 2>"$SCRATCH/stderr.log" &
    GAME_PID=$!
}

# Waits for the game to end (at most $1 seconds) and sets GAME_STATUS.
wait_game() {
    local limit=$(( ${1:-20} * 10 ))
    for _ in $(seq "$limit"); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$GAME_PID" 2>/dev/null; then
        fail "the game did not end within ${1:-20} s"
    fi
    wait "$GAME_PID"
    GAME_STATUS=$?
    GAME_PID=""
}

# Runs the game until it ends by itself; for start-up failures.
run_game() {
    start_game
    wait_game 20
}

# Waits for the game window and sets WINDOW: the window it draws its frames
# into, not one SDL makes and destroys while it sets the video mode.
wait_window() {
    wait_until 30 trace_grown "--------begin" 0 || fail "the game drew no frame"
    WINDOW=$(timeout 30 xdotool search --sync --onlyvisible --name '^KORVANTHE$' 2>/dev/null | tail -n 1)
    [ -n "$WINDOW" ] || fail "no KORVANTHE window appeared"
}

# Keyboard focus follows the pointer on a bare X server. The window is
# looked up again each time: X hands a new window the id of one just gone.
focus_window() {
    for _ in $(seq 50); do
        WINDOW=$(xdotool search --onlyvisible --name '^KORVANTHE$' 2>/dev/null | tail -n 1)
        [ -n "$WINDOW" ] && xdotool mousemove --window "$WINDOW" 40 40 2>/dev/null && return 0
        sleep 0.1
    done
    fail "the pointer cannot be moved onto the game window"
}

# Polls `$2...` until it succeeds, for at most $1 seconds; false if it never
# does or the game has ended.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    while [ "$SECONDS" -lt "$deadline" ]; do
        "$@" && return 0
        kill -0 "$GAME_PID" 2>/dev/null || return 1
        sleep 0.05
    done
    "$@"
}

# How many lines of the trace are exactly $1.
trace_count() {
    local n
    n=$(grep -cxF -- "$1" "$SCRATCH/debug.log" 2>/dev/null)
    echo "${n:-0}"
}
trace_grown() { [ "$(trace_count "$1")" -gt "$2" ]; }

# Waits up to $3 seconds (10) until the trace holds $2 (1) lines matching $1.
trace_has() { [ "$(grep -c -- "$1" "$SCRATCH/debug.log" 2>/dev/null)" -ge "$2" ]; }
wait_trace() {
    wait_until "${3:-10}" trace_has "$1" "${2:-1}" || fail "the trace lacks ${2:-1} lines matching: $1"
}

# A key goes down or up and stays so until the game has seen it: the game
# traces every change of the keys it polls, once a frame.
key_to() {
    local line="key $1: ${2,,}" before
    before=$(trace_count "$line")
    xdotool "key$1" "$2"
    wait_until 10 trace_grown "$line" "$before" && return 0
    # A game that has ended (Escape) sees no more keys.
    kill -0 "$GAME_PID" 2>/dev/null && fail "the game never saw $2 go $1"
    return 0
}
hold_key() { focus_window; key_to down "$1"; }
release_key() { key_to up "$1"; }
tap() { hold_key "$1"; release_key "$1"; }

# Escape ends the game; the key comes up again for the next game to start.
quit_with_escape() {
    focus_window
    xdotool keydown Escape
    wait_game 20
    xdotool keyup Escape
}

# Waits (at most 60 s) for the game's first frame: keys pressed while it
# still loads are never seen, for it polls them from that frame on.
wait_first_frame() {
    for _ in $(seq 600); do
        grep -qxF -- "--------begin" "$SCRATCH/debug.log" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "the game drew no frame within 60 s"
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

# Holds a key down until the game has acted on it, which the trace shows by
# one more line holding $2 (at most 10 s), then lets it go: a quick tap may
# fall between two frames of a slow one.
press_until() {
    local before
    before=$(grep -cF -- "$2" "$SCRATCH/debug.log" 2>/dev/null)
    # The pointer stays where it is: moved, it would change the menu's highlight.
    key_to down "$1"
    wait_until 10 lines_grown "$2" "${before:-0}" || fail "the game never acted on $1"
    release_key "$1"
}
lines_grown() { [ "$(grep -cF -- "$1" "$SCRATCH/debug.log" 2>/dev/null)" -gt "$2" ]; }

# Moves the menu's highlight down by $1 entries and chooses that entry.
menu_choose() {
    for _ in $(seq "$1"); do press_until Down "MENU: selection"; done
    press_until Return "MENU:  Pressed keyboard key"
}

# From the menu into a match of two players. Moving the pointer onto the
# window leaves no entry highlighted; Down then selects "one player" and
# Down again "two players".
start_match() {
    wait_first_frame
    focus_window
    menu_choose 2
}

# How much of player $1's life bar (0 left, 1 right) is filled, in percent,
# read by the bar's own geometry: a quarter of the window wide, a twentieth
# in from its side, its middle row 30 pixels from the top. The filled part
# fades from white to (1 - life, 0, life), so that red + blue - green is
# full everywhere in it and green falls evenly to nothing at its end,
# whatever the scene behind the bar shows.
bar_percent() {
    local size w width margin left
    size=$(window_size)
    w=${size%x*}
    width=$((w / 4))
    margin=$((w / 20))
    left=$margin
    [ "$1" -eq 1 ] && left=$((w - width - margin))
    import -window "$WINDOW" -crop "$((width + 1))x1+$left+30" -depth 8 txt:- 2>/dev/null |
        sed -n 's/^\([0-9]*\),[0-9]*: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' |
        awk -v width="$width" '
            { r[$1] = $2; g[$1] = $3; b[$1] = $4 }
            function filled(x) { return r[x] + b[x] - g[x] > 246 && r[x] + b[x] - g[x] < 264 }
            END {
                end = 0
                for (x = 2; x < width; ++x) {
                    m = int(x / 2)
                    if (filled(x) && g[x] < 16 && filled(m) && g[m] > 107 && g[m] < 147) end = x + 1
                }
                print int(100 * end / width + 0.5)
            }'
}
bar_at_least() { [ "$(bar_percent "$1")" -ge "$2" ]; }
bar_below() { [ "$(bar_percent "$1")" -lt "$2" ]; }

window_size() { xwininfo -id "$WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

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
