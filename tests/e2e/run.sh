#!/usr/bin/env bash
# End-to-end run of the real program on a private Xvfb display, with the xcb platform and raw
# XTest events (see xkeys.c). No window manager: the window sits at the top-left corner, and the
# keys go to the window under the pointer, so the pointer is parked over the grey title band and
# a click there activates the window.
#
#   run.sh STAGED_PROGRAM_DIR XKEYS_BINARY SHOTS_DIR
#
# Exit status: 0 all checks passed, 1 some failed, 77 skipped (no Xvfb, no XTest, missing tools).
set -u
export LC_ALL=C.UTF-8 # xwininfo prints the Russian window title in the locale's encoding

STAGE=${1:?staged program directory}
XKEYS=${2:-}
SHOTS=${3:?screenshot directory}

skip() { echo "e2e: SKIPPED: $*"; exit 77; }
[ -x "${XKEYS:-/nonexistent}" ] || skip "xkeys was not built (no Xlib/XTest development files)"
for tool in Xvfb setxkbmap xwininfo import convert compare iconv; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
[[ -x $STAGE/zorvik && -d $STAGE/mfiles ]] || { echo "e2e: no staged program in $STAGE"; exit 1; }

T0=$(date +%s)
WORK=$(mktemp -d /tmp/zorvik-e2e.XXXXXX)
XVFB_PID="" APP_PID=""
stop() { [ -n "$1" ] && kill "$1" 2>/dev/null && wait "$1" 2>/dev/null; return 0; }
cleanup() { stop "$APP_PID"; stop "$XVFB_PID"; rm -rf "$WORK"; }
trap cleanup EXIT
trap 'exit 1' INT TERM
mkdir -p "$SHOTS"
rm -f "$SHOTS"/*.png "$SHOTS"/*.log

PASSED=0 FAILED=0
pass() { PASSED=$((PASSED + 1)); echo "  ok   $*"; }
fail() { FAILED=$((FAILED + 1)); echo "  FAIL $*"; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; return 1; fi; }
# wait_for SECONDS COMMAND...: polls the command every 50 ms until it succeeds or time is up.
wait_for() { local n=$(($1 * 20)); shift; until "$@"; do ((n-- > 0)) || return 1; sleep 0.05; done; }

# The X server picks a free display number itself and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
wait_for 10 test -s "$WORK/display" || { cat "$WORK/xvfb.log"; skip "Xvfb would not start"; }
DISPLAY=":$(head -n 1 "$WORK/display")" && export DISPLAY
"$XKEYS" group >/dev/null
case $? in 0) echo "e2e: Xvfb on $DISPLAY" ;; 77) skip "the X server has no XTest or XKEYBOARD" ;; *) exit 1 ;; esac

APP_DIR="$WORK/zorvik"
cp -a "$STAGE" "$APP_DIR"
OPTIONS="$APP_DIR/mfiles/options.ini"
LAST="$APP_DIR/last.txt"
rm -f "$LAST"
printf 'wmbase.txt\r\n10\r\n10\r\n60\r\n\r\n' >"$OPTIONS"
mkdir -m 700 "$WORK/runtime"
TITLE="Зорвик v.2.1"
RUN=0

keys() { "$XKEYS" -d 30 "$@"; }
alt_key() { keys down 64 key "$1" up 64; }
click() { keys click "$1" "$2"; }
park() { keys move 450 45; } # the grey title band, where a click does nothing
activate() { park; click 450 45; sleep 0.2; }
settle() { sleep 0.4; park; sleep 0.2; shot "$1"; } # settle NAME: lets a page change, then a shot
shot() { import -window root -crop 560x400+0+0 +repage "$SHOTS/$1.png"; }
pixel() { import -window root -crop "1x1+$1+$2" +repage -format '%[fx:round(255*r)],%[fx:round(255*g)],%[fx:round(255*b)]' info: 2>/dev/null; }
# changed NAME1 NAME2 X Y W H: how many pixels of that region differ between two screenshots
changed() { compare -metric AE -extract "$5x$6+$3+$4" "$SHOTS/$1.png" "$SHOTS/$2.png" null: 2>&1 | awk '{print int($1)}'; }
# count red|dark NAME X Y W H: clearly red pixels, or those darker than mid grey, in that region
count() {
    local mask=(-colorspace gray -threshold 50% -negate)
    [ "$1" = red ] && mask=(-fx 'r > 0.6 && g < 0.35 && b < 0.35')
    convert "$SHOTS/$2.png" -crop "$5x$6+$3+$4" +repage "${mask[@]}" -format '%[fx:round(mean*w*h)]' info:
}
gt() { [ "${1:-0}" -gt "$2" ]; }
not() { ! "$@"; }
shown() { xwininfo -root -tree 2>/dev/null | grep -qF "\"$1\""; }
painted() { [ "$(pixel 450 45)" = 128,128,128 ]; }
recall_box() { [ "$(import -window root -crop 20x10+208+327 -format '%[fx:minima]' info:)" = 1 ]; } # all white
gone() { [ "$(awk '{print $3}' "/proc/$APP_PID/stat" 2>/dev/null || echo Z)" = Z ]; } # ended, or a zombie
quits() { alt_key 24; wait_for 2 gone; }
up() { shown "$TITLE" && painted; }
lines() { [ "$(wc -l 2>/dev/null <"$LAST")" = "$1" ]; }
results() { shot b-06-results && gt "$(count red b-06-results 336 231 141 78)" 200; }

# Starts the program from a folder other than its own, waits for its painted window, activates it.
start_app() {
    RUN=$((RUN + 1))
    (cd "$WORK" && unset QT_IM_MODULE XMODIFIERS GTK_IM_MODULE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS &&
        QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$WORK/runtime" \
        exec env LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 "$APP_DIR/zorvik") >"$SHOTS/zorvik-run$RUN.log" 2>&1 &
    APP_PID=$!
    check "run $RUN: the window \"$TITLE\" appears and paints" wait_for 10 up || return 1
    activate
}
# check_last N: last.txt appears with exactly N lines, each ending in CR LF
check_last() {
    check "last.txt written with $1 lines" wait_for 3 lines "$1" &&
        check "every line of last.txt ends in CR LF" test "$(grep -c $'\r$' "$LAST")" = "$1"
}

echo "== a: us layout"
setxkbmap us
if start_app; then
    shot a-01-start
    alt_key 57
    check_last 10
    check "Alt+Q ends the program within 2 s" quits
fi
stop "$APP_PID"

echo "== b: ru layout, a whole training"
setxkbmap ru
check "the ru layout is active (к о т on keycodes 27 44 57)" test "$("$XKEYS" codes кот 2>&1)" = "27 44 57"
rm -f "$LAST"
if start_app; then
    alt_key 57
    check_last 10
    mapfile -t WORDS < <(iconv -f CP1251 -t UTF-8 "$LAST" | tr -d '\r')
    sleep 0.3
    shot b-01-memorising
    check "no recall box while memorising" not recall_box
    keys key 36 # Enter on STOP: the memorising ends at the next tick, within a second
    check "Enter ends the memorising: the recall box shows" wait_for 2 recall_box
    sleep 0.3
    shot b-02-recall
    for w in "${WORDS[@]:0:3}"; do keys type "$w"; sleep 0.2; done # the ru keys, in lower case
    shot b-04-recall-typed
    check "typing words changed the word grid" gt "$(changed b-02-recall b-04-recall-typed 160 77 377 240)" 0
    check "the typed words are not red" test "$(count red b-04-recall-typed 160 77 377 240)" = 0
    keys key 36 # asks whether to end the recall
    check "Enter in the recall box asks the \"Darizi2\" question" wait_for 3 shown Darizi2 && sleep 0.2
    keys key 36 # Yes
    check "the results page shows a red total" wait_for 3 results
    click 473 88 # "Показать слова"
    settle b-07-review
    check "the review shows the missed words in red" gt "$(count red b-07-review 160 77 377 240)" 100
    check "Alt+Q ends the program on the ru layout" quits
fi
stop "$APP_PID"

echo "== c: settings"
setxkbmap us
if start_app; then
    alt_key 33
    settle c-01-settings
    click 284 198 # the number of words
    keys down 37 key 38 up 37 type 15 # Ctrl+A 15
    click 347 333 # Apply
    sleep 0.3
    printf 'wmbase.txt\r\n15\r\n10\r\n60\r\n\r\n' >"$WORK/options.want"
    check "Apply saved options.ini byte for byte" cmp "$OPTIONS" "$WORK/options.want" || od -c "$OPTIONS"
    rm -f "$LAST"
    alt_key 57
    check_last 15
    sleep 1
    shot c-04-training-15

    echo "== d: help"
    alt_key 43
    check "Alt+H during a training asks first" wait_for 3 shown Darizi2 && sleep 0.2
    keys key 36
    settle d-02-help
    check "Alt+H replaced the training page" gt "$(changed c-04-training-15 d-02-help 0 70 537 281)" 5000
    check "the help contents have no Назад button" test "$(count dark d-02-help 448 322 78 22)" = 0
    click 109 238 # the first link
    settle d-03-help-topic
    check "the first link opens a topic with a Назад button" gt "$(count dark d-03-help-topic 448 322 78 22)" 20
    check "Alt+Q ends the program from the help" quits
fi

for log in "$SHOTS"/zorvik-run*.log; do
    [ -s "$log" ] && { echo "e2e: the program wrote to $(basename "$log"):"; sed 's/^/       /' "$log"; }
done
echo "e2e: $(($(date +%s) - T0)) s, screenshots in $SHOTS"
echo "e2e: $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
