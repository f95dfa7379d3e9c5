#!/bin/bash
# make install into a staging DESTDIR: the files a desktop expects, the
# installed game started from another folder with the player's own config
# folder, F8 screenshots of the match, Alt+Enter there and back, the
# player's files overriding the installed ones, and make uninstall leaving
# nothing behind.
. "$(dirname "$0")/lib.sh"
: "${BUILD:?the build folder}"
: "${SOURCE:?the source folder}"
start_xvfb

STAGE="$SCRATCH/stage"
PREFIX=/usr/local
ROOT="$STAGE$PREFIX"
DESTDIR="$STAGE" cmake --install "$BUILD" --prefix "$PREFIX" >"$SCRATCH/install.log" 2>&1 ||
    fail "cmake --install: $(tail -n 5 "$SCRATCH/install.log")"

for file in bin/korvanthe share/korvanthe/device.cfg share/korvanthe/controllers.txt \
    share/korvanthe/settings.txt share/korvanthe/letters/a.asc \
    share/applications/korvanthe.desktop share/icons/hicolor/48x48/apps/korvanthe.png; do
    [ -f "$ROOT/$file" ] || fail "not installed: $file"
done
[ -x "$ROOT/bin/korvanthe" ] || fail "the game is not executable"
[ -z "$(find "$STAGE" -name .generated)" ] || fail "the build's stamp files were installed"
[ -n "$(find "$ROOT/share/korvanthe/characters" -name movetree.txt)" ] || fail "no fighters installed"
desktop-file-validate "$ROOT/share/applications/korvanthe.desktop" ||
    fail "the desktop entry is not valid"
grep -qx "Exec=$PREFIX/bin/korvanthe" "$ROOT/share/applications/korvanthe.desktop" ||
    fail "the launcher does not start $PREFIX/bin/korvanthe"
[ "$(identify -format '%m %wx%h' "$ROOT/share/icons/hicolor/48x48/apps/korvanthe.png")" = "PNG 48x48" ] ||
    fail "the 48x48 icon is not a 48x48 PNG"
pass "the game, its data, a valid desktop entry and the icon are installed"

# Nothing may be written into the installed tree while the game runs.
tree_state() { find "$STAGE" -printf '%p %s %T@\n' | sort; }
tree_state >"$SCRATCH/tree.before"

CONFIG="$SCRATCH/config"
PICTURES="$SCRATCH/pictures"
mkdir -p "$SCRATCH/elsewhere"
run_installed() {
    (cd "$SCRATCH/elsewhere" &&
        exec env XDG_CONFIG_HOME="$1" XDG_PICTURES_DIR="$PICTURES" \
            KORVANTHE_DEBUG="$SCRATCH/debug.log" "$ROOT/bin/korvanthe") \
        >"$SCRATCH/stdout.log" 2>"$SCRATCH/stderr.log" &
    GAME_PID=$!
}

# Waits up to $2 seconds for the trace to hold a line matching $1.
wait_trace() {
    for _ in $(seq $(( $2 * 10 ))); do
        grep -q -- "$1" "$SCRATCH/debug.log" 2>/dev/null && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for: $1"
        sleep 0.1
    done
    fail "the trace lacks a line matching: $1"
}

# Holds the keys down together for longer than a slow frame: the game acts
# once on a press, in the first frame that sees it. The menu is worked the
# same way (start_match taps).
press() {
    focus_window
    for key in "$@"; do xdotool keydown "$key"; done
    sleep 0.4
    for key in "$@"; do xdotool keyup "$key"; done
    sleep 0.1
}
tap() { press "$1"; }

# Presses F8 and waits for the screenshot; SHOT is then its path.
take_shot() {
    local before
    before=$(grep -c '^screenshot ' "$SCRATCH/debug.log")
    press F8
    for _ in $(seq 100); do
        [ "$(grep -c '^screenshot ' "$SCRATCH/debug.log")" -gt "$before" ] && break
        sleep 0.1
    done
    SHOT=$(grep '^screenshot ' "$SCRATCH/debug.log" | sed -n "$((before + 1))s/^screenshot //p")
    [ -n "$SHOT" ] || fail "F8 wrote no screenshot"
    [ "$(dirname "$SHOT")" = "$PICTURES" ] || fail "the screenshot went to $SHOT"
    [ "$(head -c 2 "$SHOT")" = BM ] || fail "$SHOT is not a BMP"
    [ "$(identify -format '%wx%h' "$SHOT")" = 800x600 ] || fail "$SHOT is not 800x600"
    [ -n "${E2E_SHOTS:-}" ] && mkdir -p "$E2E_SHOTS" && convert "$SHOT" "$E2E_SHOTS/install_$1.png"
    return 0
}

# Player 2's life bar, which only the match draws: its filled part ends at
# a saturated colour (little green) near the right end of the strip.
shows_match() {
    local end
    end=$(convert "$1" -crop 200x1+560+30 txt:- 2>/dev/null |
        sed -n 's/^\([0-9]*\),0:.*srgba\{0,1\}(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' |
        awk '$3 < 90 { end = $1 } END { print end + 0 }')
    [ "$end" -gt 190 ]
}

run_installed "$CONFIG"
wait_window
wait_trace "^data folder: $ROOT/share/korvanthe\$" 10
start_match
for _ in $(seq 10); do
    take_shot match
    shows_match "$SHOT" && break
done
shows_match "$SHOT" || fail "the screenshot does not show the match: $SHOT"
[ ! -s "$SCRATCH/stderr.log" ] || fail "the game complained: $(cat "$SCRATCH/stderr.log")"
pass "the installed game runs from another folder; F8 saves the match as a BMP"

# With the game clock frozen (F3) the frame holds still, so that the one
# after Alt+Enter twice can be held against the one before.
press F3
take_shot frozen
FROZEN="$SHOT"
press Alt_L Return
wait_trace '^full screen 800x600$' 10
sleep 0.5
screenshot install_fullscreen
press Alt_L Return
wait_trace '^windowed 800x600$' 10
# The window comes back from full screen; a search while it is being
# remapped may fail, so it is repeated.
for _ in $(seq 100); do
    WINDOW=$(xdotool search --onlyvisible --name '^KORVANTHE$' 2>/dev/null | head -n 1)
    [ -n "$WINDOW" ] && break
    sleep 0.1
done
[ -n "$WINDOW" ] || fail "no window after Alt+Enter twice"
take_shot after_switches
difference() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/'; }
still=$(difference "$FROZEN" "$SHOT")
awk -v d="$still" 'BEGIN { exit !(d < 0.01) }' ||
    fail "the frame after Alt+Enter twice differs from the one before by $still"
press F3
for _ in $(seq 10); do
    take_shot resumed
    moved=$(difference "$FROZEN" "$SHOT")
    awk -v d="$moved" 'BEGIN { exit !(d > 0.002) }' && break
done
shows_match "$SHOT" && awk -v d="$moved" 'BEGIN { exit !(d > 0.002) }' ||
    fail "the match did not go on after Alt+Enter twice (the frame changed by $moved)"
pass "Alt+Enter twice: the match is drawn as before (RMSE $still) and goes on (RMSE $moved)"

hold_key Escape
wait_game 20
release_key Escape
expect_status 0 "Escape"
tree_state >"$SCRATCH/tree.after"
diff -q "$SCRATCH/tree.before" "$SCRATCH/tree.after" >/dev/null ||
    fail "the installed tree changed: $(diff "$SCRATCH/tree.before" "$SCRATCH/tree.after" | head -n 5)"
pass "nothing was written into the installed tree"

# The player's own controllers.txt comes before the installed one.
mkdir -p "$CONFIG/korvanthe"
printf 'controller0 keybord\ncontroller1 keyboard\n' >"$CONFIG/korvanthe/controllers.txt"
run_installed "$CONFIG"
wait_game 20
expect_status 1 "a wrong controllers.txt of the player's"
expect_stderr_line "expected 'joystick' or 'keyboard' as a value for controller0"
expect_stderr_line "$CONFIG/korvanthe/controllers.txt:1: expected 'keyboard' or 'joystick', found 'keybord'"
pass "the player's own controllers.txt overrides the installed one"

# A config folder that cannot be one: said once, and the game starts.
touch "$SCRATCH/not-a-folder"
run_installed "$SCRATCH/not-a-folder"
wait_window
hold_key Escape
wait_game 20
release_key Escape
expect_status 0 "an unusable config folder"
[ "$(wc -l <"$SCRATCH/stderr.log")" -eq 1 ] || fail "expected one line on stderr: $(cat "$SCRATCH/stderr.log")"
grep -q "^$SCRATCH/not-a-folder/korvanthe: cannot be read or written" "$SCRATCH/stderr.log" ||
    fail "the unusable config folder was not named: $(cat "$SCRATCH/stderr.log")"
pass "an unusable config folder is reported once and the game starts"

make -s -C "$SOURCE" uninstall BUILD="$BUILD" PREFIX="$PREFIX" DESTDIR="$STAGE" >"$SCRATCH/uninstall.log" 2>&1 ||
    fail "make uninstall: $(tail -n 5 "$SCRATCH/uninstall.log")"
[ -d "$STAGE" ] || fail "make uninstall removed the staging folder itself"
left=$(find "$STAGE" -mindepth 1 | head -n 5)
[ -z "$left" ] || fail "make uninstall left: $left"
pass "make uninstall leaves nothing behind"
