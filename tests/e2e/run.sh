#!/usr/bin/env bash
# End-to-end run of the real program on a private Xvfb display, with the xcb platform and raw XTest
# key and mouse events (xkeys.py) in the ru and the us layout: xdotool switches to the Latin group
# while it sends, so it cannot type with a Russian layout. There is no window manager: the window
# sits frameless at the top-left corner, and keys go to the window under the pointer, so the
# pointer is parked over the grey title band, where a click activates the window and does nothing.
#
#   run.sh STAGED_PROGRAM_DIR SHOTS_DIR
#
# Exit status: 0 all checks passed, 1 some failed, 77 skipped (no Xvfb, X tools or python3-xlib).
# SHOTS_DIR gets a screenshot of each page, the ones docs/screenshots/ shows.
set -u
STAGE=${1:?staged program directory} SHOTS=${2:?screenshot directory}
skip() { echo "e2e: SKIPPED: $*"; exit 77; }
for t in Xvfb setxkbmap xwininfo import convert compare; do command -v $t >/dev/null || skip "no $t"; done
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || skip "Debian's python3-xlib is not installed"
WORK=$(mktemp -d /tmp/zorvik-e2e.XXXXXX) PIDS="" FAILED=0 # WORK is private: the XDG_RUNTIME_DIR too
APP=$WORK/zorvik LAST=$WORK/zorvik/last.txt OPTIONS=$WORK/zorvik/mfiles/options.ini
trap 'kill $PIDS 2>/dev/null; rm -rf "$WORK"' EXIT
cp -a "$STAGE" "$APP" && mkdir -p "$SHOTS" && printf 'wmbase.txt\r\n10\r\n10\r\n60\r\n\r\n' >"$OPTIONS"
# Without -noreset, setxkbmap is undone whenever the last client leaves.
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
PIDS=$!
read -r -t 10 -u 3 N || skip "Xvfb would not start"
export DISPLAY=:$N

now() { echo "${EPOCHREALTIME//[.,]/}"; } # in microseconds
# check WHAT SECONDS COMMAND...: the command succeeds within that time
check() {
    local what=$1 end=$(($(now) + $2 * 1000000)); shift 2
    until "$@"; do (($(now) < end)) || { ((++FAILED)); echo "  FAIL $what"; return 1; }; sleep 0.05; done
    echo "  ok   $what"
}
not() { ! "$@"; }
keys() { /usr/bin/python3 "${BASH_SOURCE%/*}/xkeys.py" "$@"; }
# region X Y W H IMAGEMAGICK_ARGS...: ImageMagick on that region of the screen
region() { import -window root png:- | convert - -crop "$3x$4+$1+$2" +repage "${@:5}"; }
shot() { keys move 450 45 && sleep 0.5 && region 0 0 537 373 "$SHOTS/$1.png"; } # the pointer parked
painted() { [ "$(region 450 45 1 1 -format '%[hex:p{0,0}]' info:)" = 808080 ]; }
recall_box() { [ "$(region 208 327 20 10 -format '%[fx:minima]' info:)" = 1 ]; } # all white
# reds X Y W H MIN: more than MIN clearly red pixels in that region
reds() { (($(region "${@:1:4}" -fx 'r>.6 && g<.35 && b<.35' -format '%[fx:round(mean*w*h)]' info:) > $5)); }
grab() { region "${@:2}" "$WORK/$1.png"; } # grab NAME X Y W H
# changed NAME X Y W H MIN: more than MIN pixels of that region differ from its grab NAME
changed() { grab now "${@:2:4}" && (($(compare -metric AE "$WORK/$1.png" "$WORK/now.png" null: 2>&1) > $6)); }
shown() { xwininfo -name Darizi2 2>/dev/null | grep -q IsViewable; } # a message box
asks() { check "$1" 3 shown && sleep 0.2; }
gone() { [ "$(cut -d ' ' -f 3 "/proc/$APP_PID/stat" 2>/dev/null || echo Z)" = Z ]; } # ended, or a zombie
quits() { keys key 64+24 && check "Alt+Q ends the program" 2 gone; }
lines() { [ "$(grep -c $'\r$' "$LAST" 2>/dev/null)" = "$1" ] && [ "$(wc -l <"$LAST")" = "$1" ]; }
# training N: Alt+N starts a training, and last.txt gets N words, each line ending in CR LF
training() { rm -f "$LAST" && keys key 64+57 && check "Alt+N starts a training of $1 words" 3 lines "$1"; }
start() { # start LAYOUT: the program, from a folder other than its own, with that keyboard layout
    setxkbmap "$1"
    env -C "$WORK" -u QT_IM_MODULE -u XMODIFIERS -u GTK_IM_MODULE -u QT_SCALE_FACTOR \
        -u QT_SCREEN_SCALE_FACTORS QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$WORK" \
        LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 "$APP/zorvik" &
    APP_PID=$! PIDS="$PIDS $!"
    check "$1: the window appears and paints" 10 painted && keys click 450 45
}

echo "== ru layout: a whole training"
start ru
training 10
mapfile -t WORDS < <(iconv -f CP1251 -t UTF-8 "$LAST" | tr -d '\r')
shot memorise
check "no recall box while memorising" 0 not recall_box
keys key 36 # Enter on STOP: the memorising ends at the next tick, within a second
check "Enter on STOP ends the memorising: the recall box shows" 2 recall_box
shot recall
grab grid 160 77 377 240
keys type "${WORDS[0]}" type "${WORDS[1]}" type "${WORDS[2]}" # with the ru keys
check "typing words changes the word grid" 3 changed grid 160 77 377 240 0
keys key 36
asks 'Enter in the recall box asks the "Darizi2" question'
keys key 36 # Yes
check "the results page shows a red total" 3 reds 336 231 141 78 200
shot results
keys click 473 88 # "Показать слова"
shot review
check "the review shows the missed words in red" 1 reds 160 77 377 240 100
quits

echo "== us layout: settings, a training, one question per key, help"
start us
shot start
keys key 64+33
shot settings
keys click 284 198 key 37+38 type 15 click 347 333 # the number of words, Ctrl+A, 15, Apply
printf 'wmbase.txt\r\n15\r\n10\r\n60\r\n\r\n' >"$WORK/options.want"
check "Apply saves options.ini byte for byte" 2 cmp -s "$OPTIONS" "$WORK/options.want"
training 15
sleep 1
grab page 0 70 537 281
# A key the window previewed twice asked its question again once the first box had gone.
keys key 64+33
asks "Alt+P in a training asks first"
keys key 9 && sleep 0.5 # Escape
check "Escape answers it: no second question" 0 not shown
keys key 64+43
asks "Alt+H in a training asks first"
keys key 36
shot help
check "and Enter shows the help instead of the training" 3 changed page 0 70 537 281 5000
quits
echo "e2e: $FAILED checks failed, screenshots in $SHOTS"
[ "$FAILED" -eq 0 ]
