#!/bin/bash
# korvanthe --check: the default data has no problems; a copy broken in one
# place for each reader has every one of them named with its file and line.
. "$(dirname "$0")/lib.sh"
: "${DATA:?the data folder of the build}"

"$KORVANTHE" --check "$DATA" >"$SCRATCH/stdout.log" 2>"$SCRATCH/stderr.log" ||
    fail "the default data has problems: $(cat "$SCRATCH/stdout.log")"
[ ! -s "$SCRATCH/stdout.log" ] || fail "problems listed for the default data"
pass "the default data passes"

fresh_game_dir default
cd "$GAME_DIR" || fail "no copy of the data"

expect_problem() {
    grep -qF -- "$1" "$SCRATCH/stdout.log" || fail "no problem '$1' among: $(cat "$SCRATCH/stdout.log")"
}
# Each file broken in one line (its number and new text), and the problem
# --check must name; then breaks that are not one line's.
BROKEN=$(cat <<'CASES'
device.cfg|3|sise 800 600 32|device.cfg:3: expected 'size', found 'sise'
controllers.txt|2|controller1 mouse|controllers.txt:2: expected 'keyboard', 'joystick' or 'cpu', found 'mouse'
settings.txt|3|player2|settings.txt:4: expected a scene and two fighters, each after its label
characters/lyse/tracerlist.txt|1|2|characters/lyse/tracerlist.txt:3: expected 2 material files, found 1
characters/bront/movetree.txt|1|root stance.kaf - 7 CEN -|characters/bront/movetree.txt:1: expected a branch of 1 to 4, found '7'
characters/lyse/stance.kaf|8|flags often|characters/lyse/stance.kaf:8: expected a flag word (a whole number, 0 or more), found 'often'
materials/sparkle.mat|2|1 1 0 0 NONE false false ambient 0 0 0|materials/sparkle.mat:2: expected 'ambi' before the ambient colour, found 'ambient'
images/fire.bml|1|9|images/fire.bml:10: expected 9 names, found 8
scenes/lakeshrine/lights.txt|3|AREA 1 1 1|scenes/lakeshrine/lights.txt:3: expected DIRECTIONAL, POINT or SPOT, found 'AREA'
scenes/lakeshrine/lensflare.txt|8|7 14 -0.6|scenes/lakeshrine/lensflare.txt:8: expected a flare material of 0 to 4, found 7
CASES
)
while IFS='|' read -r file line text _; do sed -i "${line}s|.*|$text|" "$file"; done <<<"$BROKEN"
sed -i "3s| -7 50 0 | -7 fifty 0 |" characters/bront/low.bdf
sed -i "s|^Face 0:    A:0 B:1 C:2 |Face 0:    A:0 B:1 C:9999 |" letters/q.asc
face=$(grep -n "^Face 0:" letters/q.asc | cut -d: -f1)
printf 'BM\066\000\000\000' >images/gold.bmp
printf 'RIFF\004\000\000\000WAVE' >sounds/hit.wav
# The last record of scene.sdf names a type no arena has.
last=$(wc -l <scenes/lakeshrine/scene.sdf)
sed -i "${last}s|^[A-Z]*|TREE|" scenes/lakeshrine/scene.sdf

"$KORVANTHE" --check "$GAME_DIR" >"$SCRATCH/stdout.log" 2>"$SCRATCH/stderr.log"
status=$?
[ "$status" -eq 1 ] || fail "--check on broken data: exit status $status, expected 1"
while IFS='|' read -r _ _ _ problem; do expect_problem "$problem"; done <<<"$BROKEN"
expect_problem "characters/bront/low.bdf:3: expected a number, found 'fifty'"
expect_problem "letters/q.asc:$face: face 0 refers to vertex 9999"
expect_problem "scenes/lakeshrine/scene.sdf:$last: expected STATIC, WATER, FLAT, FIRE, SUN or ARENA, found 'TREE'"
expect_problem "images/gold.bmp: expected a BMP image, found a file of 6 bytes"
expect_problem "sounds/hit.wav: expected a 'fmt ' and a 'data' chunk"
pass "each broken file is named with its line"

# One fighter's folder alone.
"$KORVANTHE" --check "$GAME_DIR/characters/lyse" >"$SCRATCH/stdout.log" 2>&1
[ $? -eq 1 ] || fail "--check on a broken fighter: expected status 1"
expect_problem "characters/lyse/stance.kaf:8"
if grep -q "bront" "$SCRATCH/stdout.log"; then fail "a fighter's check read another fighter"; fi
pass "a fighter's folder is checked alone"
