#!/bin/bash
# make install into a staging DESTDIR: the files a desktop expects, the
# installed game played from another folder (F8 shots of the match, Alt+Enter
# there and back), the player's own files first, an unusable config folder,
# and make uninstall leaving nothing behind.
. "$(dirname "$0")/lib.sh"
: "${BUILD:?the build folder}" "${SOURCE:?the source folder}"
start_xvfb

STAGE="$SCRATCH/stage"
PREFIX=/usr/local
ROOT="$STAGE$PREFIX"
DESTDIR="$STAGE" cmake --install "$BUILD" --prefix "$PREFIX" >"$SCRATCH/install.log" 2>&1 ||
    fail "cmake --install: $(tail -n 5 "$SCRATCH/install.log")"
for file in share/korvanthe/device.cfg share/korvanthe/settings.txt share/korvanthe/letters/a.asc \
    share/korvanthe/characters/bront/movetree.txt share/applications/korvanthe.desktop; do
    [ -f "$ROOT/$file" ] || fail "not installed: $file"
done
[ -x "$ROOT/bin/korvanthe" ] && [ -z "$(find "$STAGE" -name .generated)" ] || fail "no program, or the build's stamps installed"
desktop-file-validate "$ROOT/share/applications/korvanthe.desktop" &&
    grep -qx "Exec=$PREFIX/bin/korvanthe" "$ROOT/share/applications/korvanthe.desktop" || fail "the desktop entry"
[ "$(identify -format '%m %wx%h' "$ROOT/share/icons/hicolor/48x48/apps/korvanthe.png")" = "PNG 48x48" ] ||
    fail "no 48x48 PNG icon"
pass "the game, its data, a valid desktop entry and the icon are installed"

tree_state() { find "$STAGE" -printf '%p %s %T@\n' | sort; }
tree_state >"$SCRATCH/tree.before"
CONFIG="$SCRATCH/config" PICTURES="$SCRATCH/pictures"
mkdir -p "$SCRATCH/elsewhere"
run_installed() {  # with $1 as XDG_CONFIG_HOME
    (cd "$SCRATCH/elsewhere" && exec env XDG_CONFIG_HOME="$1" XDG_PICTURES_DIR="$PICTURES" \
        KORVANTHE_DEBUG="$SCRATCH/debug.log" "$ROOT/bin/korvanthe") \
        >"$SCRATCH/stdout.log" 2>"$SCRATCH/stderr.log" &
    GAME_PID=$!
}
# Keys are held longer than a slow frame: the game acts once on a press, in
# the first frame that sees it. (The menu is worked by the trace-driven tap.)
press() { focus_window; xdotool keydown "$@"; sleep 0.4; xdotool keyup "$@"; }
take_shot() {  # F8; SHOT is the BMP it wrote
    local taken
    taken=$(grep -c '^screenshot ' "$SCRATCH/debug.log")
    press F8
    wait_for 10 traced_more '^screenshot ' "$taken"
    SHOT=$(grep '^screenshot ' "$SCRATCH/debug.log" | sed -n "$((taken + 1))s/^screenshot //p")
    [ "$(dirname "${SHOT:-/}")" = "$PICTURES" ] || fail "F8 saved no screenshot in $PICTURES"
    [ "$(head -c 2 "$SHOT")$(identify -format '%wx%h' "$SHOT")" = BM800x600 ] || fail "$SHOT: not an 800x600 BMP"
    [ -z "${E2E_SHOTS:-}" ] || convert "$SHOT" "$E2E_SHOTS/install_$1.png"
}
# Player 2's life bar, drawn only in the match, along the top (so the shot
# is the right way up): its filled part ends in a saturated colour.
shows_match() {
    convert "$SHOT" -crop 200x1+560+30 txt:- 2>/dev/null |
        sed -n 's/^\([0-9]*\),0:.*srgba\{0,1\}(\([0-9]*\),\([0-9]*\).*/\1 \3/p' |
        awk '$2 < 90 { end = $1 } END { exit !(end > 190) }'
}
# Below the round's clock, whose digits wave on real time even with the clock frozen.
difference() { compare -metric RMSE "$1[800x520+0+80]" "$2[800x520+0+80]" null: 2>&1 | sed 's/.*(\(.*\))/\1/'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

[ -n "${E2E_SHOTS:-}" ] && mkdir -p "$E2E_SHOTS"
run_installed "$CONFIG"
wait_window
wait_trace "^data folder: $ROOT/share/korvanthe\$" 1 10
start_match
for _ in $(seq 10); do take_shot match; shows_match && break; done
shows_match || fail "the screenshot does not show the match: $SHOT"
[ ! -s "$SCRATCH/stderr.log" ] || fail "the game complained: $(cat "$SCRATCH/stderr.log")"
pass "the installed game runs from another folder; F8 saves the match as a BMP"

# With the clock frozen (F3) the frame holds still, so the one after
# Alt+Enter twice can be held against the one before.
press F3
take_shot frozen
FROZEN="$SHOT"
press Alt_L Return
wait_trace '^full screen 800x600$' 1 10
screenshot install_fullscreen
press Alt_L Return
wait_trace '^windowed 800x600$' 1 10
wait_for 10 find_window  # remapped
take_shot switched
still=$(difference "$FROZEN" "$SHOT")
below "$still" 0.01 || fail "Alt+Enter twice changed the frame by $still"
press F3
for _ in $(seq 10); do
    take_shot resumed
    moved=$(difference "$FROZEN" "$SHOT")
    below 0.002 "$moved" && break
done
shows_match && below 0.002 "$moved" || fail "the match did not go on (the frame moved by $moved)"
pass "Alt+Enter twice: the match is drawn as before (RMSE $still) and goes on (RMSE $moved)"

escape_quits "Escape"
tree_state | diff -q "$SCRATCH/tree.before" - >/dev/null || fail "the game wrote into the installed tree"
pass "nothing was written into the installed tree"

printf 'controller0 keybord\ncontroller1 keyboard\n' >"$CONFIG/korvanthe/controllers.txt"
run_installed "$CONFIG"
wait_game 20; expect_status 1 "a wrong controllers.txt of the player's"
expect_stderr_line "$CONFIG/korvanthe/controllers.txt:1: expected 'keyboard', 'joystick' or 'cpu', found 'keybord'"
pass "the player's own controllers.txt comes before the installed one"

touch "$SCRATCH/not-a-folder"
run_installed "$SCRATCH/not-a-folder"
wait_window
escape_quits "an unusable config folder"
[ "$(wc -l <"$SCRATCH/stderr.log")" -eq 1 ] &&
    grep -q "^$SCRATCH/not-a-folder/korvanthe: cannot be read or written" "$SCRATCH/stderr.log" ||
    fail "the unusable config folder was not said once: $(cat "$SCRATCH/stderr.log")"
pass "an unusable config folder is said once and the game starts"

make -s -C "$SOURCE" uninstall BUILD="$BUILD" PREFIX="$PREFIX" DESTDIR="$STAGE" >"$SCRATCH/uninstall.log" 2>&1 ||
    fail "make uninstall: $(tail -n 5 "$SCRATCH/uninstall.log")"
[ -d "$STAGE" ] && [ -z "$(find "$STAGE" -mindepth 1)" ] || fail "make uninstall left: $(find "$STAGE" | head -n 5)"
pass "make uninstall leaves nothing behind"
