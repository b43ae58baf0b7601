#!/usr/bin/env bash
# End-to-end run of the real program on a private Xvfb display, with the xcb platform and raw
# XTest events (see xkeys.c). No window manager: the window sits at the top-left corner, and the
# keys go to the window under the pointer unless the program itself takes the X focus, so the
# pointer is parked over the window and a click on the grey title band activates it.
#
#   run.sh STAGED_PROGRAM_DIR XKEYS_BINARY SHOTS_DIR
#
# Exit status: 0 all checks passed, 1 some failed, 77 skipped (no Xvfb, no XTest, missing tools).
# Regions are kept as "X Y W H" strings and slot lists as words: both split on purpose.
# shellcheck disable=SC2086,SC2046
set -u
# xwininfo prints window names in the locale's encoding, and the title is Russian.
export LC_ALL=C.UTF-8

STAGE=${1:?staged program directory}
XKEYS=${2:-}
SHOTS=${3:?screenshot directory}

skip() { echo "e2e: SKIPPED: $*"; exit 77; }

if [ -z "$XKEYS" ] || [ ! -x "$XKEYS" ]; then
    skip "xkeys was not built (no Xlib/XTest development files)"
fi
for tool in Xvfb setxkbmap xwininfo import convert compare iconv; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
if [ ! -x "$STAGE/zorvik" ] || [ ! -d "$STAGE/mfiles" ]; then
    echo "e2e: no staged program in $STAGE"
    exit 1
fi

T0=$(date +%s%N)
WORK=$(mktemp -d /tmp/zorvik-e2e.XXXXXX)
XVFB_PID=""
APP_PID=""

cleanup() {
    if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
        kill "$APP_PID" 2>/dev/null
        wait "$APP_PID" 2>/dev/null
    fi
    if [ -n "$XVFB_PID" ] && kill -0 "$XVFB_PID" 2>/dev/null; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

mkdir -p "$SHOTS"
rm -f "$SHOTS"/*.png "$SHOTS"/*.log

# ---------------------------------------------------------------------------------------------
# Reporting

PASSED=0
FAILED=0
SCENARIO=""
ms() { echo $(( ($(date +%s%N) - T0) / 1000000 )); }
pass() { PASSED=$((PASSED + 1)); printf '  ok   %s\n' "$*"; }
fail() { FAILED=$((FAILED + 1)); printf '  FAIL [%s] %s\n' "$SCENARIO" "$*"; }
check() { # check DESCRIPTION COMMAND...: passes when the command succeeds; returns its verdict
    local what=$1; shift
    if "$@"; then pass "$what"; else fail "$what"; return 1; fi
}
scenario() { SCENARIO=$1; echo "== $1 ($(ms) ms)"; }

# ---------------------------------------------------------------------------------------------
# The X server

XVFB_LOG="$WORK/xvfb.log"
start_xvfb() {
    local n
    for n in $(seq 71 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >"$XVFB_LOG" 2>&1 &
        XVFB_PID=$!
        local i
        for i in $(seq 1 100); do
            if ! kill -0 "$XVFB_PID" 2>/dev/null; then
                break # lost a race for this display number: try the next
            fi
            if [ -e "/tmp/.X11-unix/X$n" ] && DISPLAY=":$n" xwininfo -root >/dev/null 2>&1; then
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.05
        done
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=""
    done
    return 1
}
start_xvfb || { cat "$XVFB_LOG"; skip "Xvfb would not start"; }
echo "e2e: Xvfb on $DISPLAY"
"$XKEYS" group >/dev/null
case $? in
0) ;;
77) skip "the X server offers no XTest or XKEYBOARD extension" ;;
*) echo "e2e: xkeys cannot talk to $DISPLAY"; exit 1 ;;
esac

# ---------------------------------------------------------------------------------------------
# The program

APP_DIR="$WORK/zorvik"
cp -a "$STAGE" "$APP_DIR"
rm -f "$APP_DIR/last.txt"
OPTIONS="$APP_DIR/mfiles/options.ini"
LAST="$APP_DIR/last.txt"
printf 'wmbase.txt\r\n10\r\n10\r\n60\r\n\r\n' >"$OPTIONS"
mkdir -m 700 "$WORK/runtime"
TITLE="Зорвик v.2.1"
OX=0
OY=0
RUN=0

# Starts the program, waits for its window to show and paint, and activates it.
start_app() {
    RUN=$((RUN + 1))
    local log="$SHOTS/zorvik-run$RUN.log"
    (
        cd "$WORK" || exit 1 # not the program's folder: it must find its files by itself
        unset QT_IM_MODULE XMODIFIERS GTK_IM_MODULE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
        export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$WORK/runtime"
        # A Russian user's locale: the scores show a decimal comma. Qt needs no system locale for it.
        exec env LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 "$APP_DIR/zorvik"
    ) >"$log" 2>&1 &
    APP_PID=$!
    local i info=""
    for i in $(seq 1 200); do
        kill -0 "$APP_PID" 2>/dev/null || break
        info=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$TITLE\"")
        [ -n "$info" ] && break
        sleep 0.05
    done
    if [ -z "$info" ]; then
        fail "the window \"$TITLE\" did not appear within 10 s (log: $log)"
        kill_app
        return 1
    fi
    local id
    id=$(awk '{print $1}' <<<"$info" | head -n 1)
    for i in $(seq 1 100); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && break
        sleep 0.05
    done
    local geometry
    geometry=$(xwininfo -id "$id" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
                                         /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
    read -r OX OY W H <<<"$geometry"
    check "window \"$TITLE\" shown with a 537x373 client area at (0,0), got ${W}x${H} at ($OX,$OY)" \
        test "$W $H $OX $OY" = "537 373 0 0"
    # Painted once the grey title band is there.
    local band=""
    for i in $(seq 1 100); do
        band=$(pixel "$((OX + 450))" "$((OY + 45))")
        [ "$band" = "128,128,128" ] && break
        sleep 0.05
    done
    check "the window painted its grey title band (pixel 450,45 is $band)" test "$band" = "128,128,128"
    activate
    return 0
}

app_alive() { [ -n "$APP_PID" ] && [ -d "/proc/$APP_PID" ] && [ "$(awk '{print $3}' "/proc/$APP_PID/stat")" != Z ]; }

# Waits up to $1 seconds for the program to end; sets EXIT_STATUS.
wait_exit() {
    local deadline=$(( $(date +%s%N) + $1 * 1000000000 ))
    while app_alive && [ "$(date +%s%N)" -lt "$deadline" ]; do sleep 0.02; done
    if app_alive; then
        return 1
    fi
    wait "$APP_PID" 2>/dev/null
    EXIT_STATUS=$?
    APP_PID=""
    return 0
}

kill_app() {
    if app_alive; then
        kill "$APP_PID" 2>/dev/null
        wait "$APP_PID" 2>/dev/null
    fi
    APP_PID=""
}

# ---------------------------------------------------------------------------------------------
# Input, in window coordinates

keys() { "$XKEYS" -d 30 "$@"; }
alt_key() { keys down 64 down "$1" up "$1" up 64; } # Alt held around the letter key
click() { keys click "$((OX + $1))" "$((OY + $2))"; }
# The grey title band right of "Зорвик 2": nothing happens on a click there, so the pointer rests
# there and a click on it makes the window the active one.
park() { keys move "$((OX + 450))" "$((OY + 45))"; }
activate() { park; keys click "$((OX + 450))" "$((OY + 45))"; sleep 0.2; }
select_all() { keys down 37 key 38 up 37; } # Ctrl+A

# ---------------------------------------------------------------------------------------------
# Screenshots and what can be measured on them

shot() { # shot NAME: the top-left 560x400 of the screen into $SHOTS/NAME.png
    import -window root -crop 560x400+0+0 +repage "$SHOTS/$1.png"
    echo "     shot $1.png ($(ms) ms)"
}
png() { echo "$SHOTS/$1.png"; }
pixel() { # pixel X Y: "r,g,b" of a screen pixel now
    import -window root -crop "1x1+$1+$2" +repage -format '%[fx:round(255*r)],%[fx:round(255*g)],%[fx:round(255*b)]' info: 2>/dev/null
}
crop() { # crop NAME X Y W H CONVERT-ARGS...: run convert on that region of a screenshot
    convert "$(png "$1")" -crop "$4x$5+$((OX + $2))+$((OY + $3))" +repage "${@:6}"
}
# Pixel counts for a list of regions (window coordinates, four numbers each), in one convert run:
# "dark" counts pixels darker than mid grey (text, not the light grid lines), "red" clearly red
# ones. Prints the counts separated by spaces.
count() { # count dark|red NAME X Y W H [X Y W H]...
    local kind=$1 name=$2; shift 2
    local mask=()
    case $kind in
    dark) mask=(-colorspace gray -threshold 50% -negate) ;;
    red) mask=(\( -clone 0 -channel R -separate +channel -threshold 60% \)
               \( -clone 0 -channel G -separate +channel -threshold 35% -negate \)
               \( -clone 0 -channel B -separate +channel -threshold 35% -negate \)
               -delete 0 -evaluate-sequence multiply) ;;
    esac
    local regions=()
    while [ $# -ge 4 ]; do
        regions+=(\( -clone 0 -crop "$3x$4+$((OX + $1))+$((OY + $2))" +repage \))
        shift 4
    done
    convert "$(png "$name")" "${mask[@]}" "${regions[@]}" -delete 0 -format '%[fx:round(mean*w*h)] ' info:
    echo
}
dark() { count dark "$@" | tr -d ' '; }
red() { count red "$@" | tr -d ' '; }
white() { # white NAME X Y W H: succeeds when every pixel there is white
    [ "$(crop "$1" "$2" "$3" "$4" "$5" -format '%[fx:minima]' info:)" = 1 ]
}
ink_width() { # ink_width NAME X Y W H: width of the box around the dark pixels there
    crop "$1" "$2" "$3" "$4" "$5" -colorspace gray -threshold 50% -trim -format '%w' info: 2>/dev/null
}
changed() { # changed NAME1 NAME2 X Y W H: number of differing pixels in that region
    local a="$WORK/a.png" b="$WORK/b.png"
    crop "$1" "$3" "$4" "$5" "$6" "$a"
    crop "$2" "$3" "$4" "$5" "$6" "$b"
    compare -metric AE "$a" "$b" null: 2>&1 | awk '{print int($1)}'
}
not() { ! "$@"; }
gt() { [ "$1" -gt "$2" ]; }
lt() { [ "$1" -lt "$2" ]; }
eq() { [ "$1" -eq "$2" ]; }

# The page regions of the window.
PAGE="0 70 537 281"
slot() { # slot I: the region of word slot I on the training page
    echo "$((168 + 119 * ($1 / 17))) $((77 + 14 * ($1 % 17))) 113 14"
}
BOX_EDGE="208 327 20 10"  # inside the recall box, left of any centred text
BOX_TEXT="206 319 260 26" # the recall box's text area
STOP="476 316 50 29"
TOTAL="336 231 141 78"  # the total per cent on the results page
WARN_WORDS="350 189 176 22" # "Неверное значение" beside the number of words
BACK="448 322 78 22"    # "Назад" on a help topic

ALL_SLOTS=$(for i in $(seq 0 49); do slot "$i"; done)
# Which of the 50 word slots show text, as a string of 50 characters: 1 text, 0 none.
slot_text() { # slot_text NAME
    count dark "$1" $ALL_SLOTS | awk '{for (i = 1; i <= 50; ++i) printf "%d", ($i > 0); print ""}'
}
slot_red() {
    count red "$1" $ALL_SLOTS | awk '{for (i = 1; i <= 50; ++i) printf "%d", ($i > 0); print ""}'
}
# The expected pattern: the listed slots 1, the others 0.
pattern() { # pattern I...
    local i p=""
    for i in $(seq 0 49); do
        case " $* " in *" $i "*) p+=1 ;; *) p+=0 ;; esac
    done
    echo "$p"
}
first() { seq 0 $(($1 - 1)) | tr '\n' ' '; } # first N: the slot numbers 0..N-1
same() { # same WHAT GOT WANT: a check that prints both on failure
    if [ "$2" = "$3" ]; then pass "$1"; else fail "$1"; echo "       got  $2"; echo "       want $3"; fi
}

dialog_id() { xwininfo -root -tree 2>/dev/null | awk '/"Darizi2"/{print $1; exit}'; }
wait_dialog() { # wait_dialog SECONDS: until a "Darizi2" box is mapped
    local i
    for i in $(seq 1 $(($1 * 20))); do
        local id
        id=$(dialog_id)
        [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable' && return 0
        sleep 0.05
    done
    return 1
}
wait_no_dialog() {
    local i
    for i in $(seq 1 $(($1 * 20))); do
        local id
        id=$(dialog_id)
        [ -z "$id" ] && return 0
        xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable' || return 0
        sleep 0.05
    done
    return 1
}

# ---------------------------------------------------------------------------------------------
# last.txt

wait_last() { # wait_last LINES: until last.txt has that many lines (3 s at most)
    local i
    for i in $(seq 1 60); do
        [ -f "$LAST" ] && [ "$(wc -l <"$LAST")" -eq "$1" ] && return 0
        sleep 0.05
    done
    return 1
}
words_of() { iconv -f CP1251 -t UTF-8 "$1" | tr -d '\r'; }
BASE_WORDS="$WORK/base-words.txt"
words_of "$APP_DIR/mfiles/wmbase.txt" >"$BASE_WORDS"

# last.txt holds N different words of the base, one per CR LF line.
check_last() { # check_last N
    local n=$1
    check "last.txt written with exactly $n lines" wait_last "$n" || return
    local crlf
    crlf=$(grep -c $'\r$' "$LAST")
    check "every line of last.txt ends in CR LF ($crlf of $n)" eq "$crlf" "$n"
    check "last.txt ends with its last line's CR LF" \
        test "$(tail -c 2 "$LAST" | od -An -tx1 | tr -d ' \n')" = 0d0a
    check "last.txt is Windows-1251 text" iconv -f CP1251 -t UTF-8 "$LAST" -o /dev/null
    local words missing=""
    words=$(words_of "$LAST")
    while IFS= read -r w; do
        grep -Fxq -- "$w" "$BASE_WORDS" || missing+=" '$w'"
    done <<<"$words"
    check "every word in last.txt comes from wmbase.txt${missing:+ (not found:$missing)}" test -z "$missing"
    check "the words in last.txt are all different" \
        test "$(sort <<<"$words" | uniq | wc -l)" -eq "$n"
}

# ---------------------------------------------------------------------------------------------
# a. Latin layout: Alt+N starts a training, Alt+Q quits.

scenario "a: us layout, Alt+N and Alt+Q"
setxkbmap us
if start_app; then
    shot a-01-start
    # N alone, and N after Alt went up again, start nothing.
    keys key 57 down 64 up 64 key 57
    sleep 0.5
    check "N without Alt held starts no training" test ! -e "$LAST"
    alt_key 57
    check_last 10
    sleep 1.2 # the first tick writes the prompt
    shot a-02-memorising
    same "the training page shows words in the first 10 slots and in no other" \
        "$(slot_text a-02-memorising)" "$(pattern $(first 10))"
    check "no recall box while memorising" not white a-02-memorising $BOX_EDGE
    alt_key 24
    if wait_exit 2; then
        pass "Alt+Q ended the program within 2 s"
        check "the program exit status is 0 (got $EXIT_STATUS)" eq "$EXIT_STATUS" 0
    else
        fail "the program still runs 2 s after Alt+Q"
        kill_app
    fi
fi

# ---------------------------------------------------------------------------------------------
# b. Russian layout: a whole training, with the words typed on the Russian keys.

scenario "b: ru layout, a whole training"
setxkbmap ru
check "the ru layout is the active one (group $("$XKEYS" group), к о т on keys $("$XKEYS" codes кот 2>&1))" \
    test "$("$XKEYS" codes кот 2>&1)" = "27 44 57"
rm -f "$LAST"
if start_app; then
    alt_key 57
    check_last 10
    mapfile -t WORDS < <(words_of "$LAST")
    sleep 0.3
    shot b-01-memorising
    same "the training page shows words in the first 10 slots" \
        "$(slot_text b-01-memorising)" "$(pattern $(first 10))"

    # STOP has the focus while memorising: Enter ends the memorising at the next tick, a second
    # later at most.
    keys key 36
    sleep 0.5
    for i in $(seq 1 9); do
        sleep 0.25
        shot b-02-recall >/dev/null
        white b-02-recall $BOX_EDGE && break
    done
    if white b-02-recall $BOX_EDGE; then
        pass "Enter during memorising ended it: the recall box is there $((500 + 250 * i)) ms later"
        sleep 0.5
        shot b-02-recall
    else
        fail "Enter during memorising did not end it: no recall box 2.75 s later (see b-02-recall-stuck.png)"
        cp "$(png b-02-recall)" "$(png b-02-recall-stuck)"
        for i in $(seq 1 60); do # carry on once the countdown ends by itself
            sleep 0.25
            shot b-02-recall >/dev/null
            white b-02-recall $BOX_EDGE && break
        done
        echo "     the recall began by itself $((i / 4)) s later"
    fi
    same "no word is shown when the recall begins" "$(slot_text b-02-recall)" "$(pattern)"
    same "the STOP button is still there" "$(dark b-02-recall $STOP | awk '{print ($1 > 0)}')" 1

    # Something that is no word stays in the box, upper-cased: "ооо" typed and "ООО" typed with
    # Shift look the same.
    keys type ооо
    sleep 0.2
    shot b-03-recall-nonword
    lower_width=$(ink_width b-03-recall-nonword $BOX_TEXT)
    check "a non-word stays in the recall box" gt "$(dark b-03-recall-nonword $BOX_TEXT)" 100
    same "a non-word brings no word back" "$(slot_text b-03-recall-nonword)" "$(pattern)"
    keys key 22 key 22 key 22 # BackSpace
    keys type ООО
    sleep 0.2
    shot b-03-recall-nonword-shift
    upper_width=$(ink_width b-03-recall-nonword-shift $BOX_TEXT)
    check "typed letters are shown upper-cased (ink width ${lower_width:-?} px for ооо, ${upper_width:-?} px for ООО)" \
        test -n "$lower_width" -a -n "$upper_width" -a "${lower_width:-0}" -ge $((${upper_width:-0} - 4)) \
        -a "${lower_width:-0}" -le $((${upper_width:-0} + 4))
    keys key 22 key 22 key 22
    sleep 0.2
    shot b-03-recall-cleared >/dev/null
    check "BackSpace empties the recall box" lt "$(dark b-03-recall-cleared $BOX_TEXT)" 40

    # Three words, typed in lower case; a word that another picked word begins with would show
    # that one first, so such words are passed over.
    TYPED=()
    for i in 0 4 7 1 2 3 5 6 8 9; do
        [ ${#TYPED[@]} -eq 3 ] && break
        w=${WORDS[$i]}
        ok=1
        for other in "${WORDS[@]}"; do
            [ "$other" != "$w" ] && [ "${w#"$other"}" != "$w" ] && ok=0
        done
        "$XKEYS" codes "$w" >/dev/null || ok=0
        [ $ok = 1 ] && TYPED+=("$i")
    done
    shown=()
    for i in "${TYPED[@]}"; do
        keys type "${WORDS[$i]}"
        sleep 0.25
        shown+=("$i")
        shot "b-04-recall-typed-$i" >/dev/null
        same "typing '${WORDS[$i]}' brings back slot $i (and keeps the others hidden)" \
            "$(slot_text "b-04-recall-typed-$i")" "$(pattern "${shown[@]}")"
        check "the recall box empties after '${WORDS[$i]}'" lt "$(dark "b-04-recall-typed-$i" $BOX_TEXT)" 40
    done
    shot b-04-recall-typed
    check "the word grid changed between the empty recall and after typing" \
        gt "$(changed b-02-recall b-04-recall-typed 160 77 377 240)" 0
    same "the words typed are black, not red" "$(slot_red b-04-recall-typed)" "$(pattern)"

    # Enter asks whether to end the recall; Enter again answers Yes.
    keys key 36
    if wait_dialog 3; then
        pass "Enter in the recall box opens the \"Darizi2\" question"
        sleep 0.2
        shot b-05-confirm-end
        keys key 36
        check "Enter answers the question and closes it" wait_no_dialog 3
    else
        fail "Enter in the recall box opened no \"Darizi2\" question"
    fi
    # The recall ends at the next tick; then the results page shows its red total.
    for i in $(seq 1 12); do
        sleep 0.25
        shot b-06-results >/dev/null
        [ "$(red b-06-results $TOTAL)" -gt 200 ] && break
    done
    sleep 0.3
    shot b-06-results
    check "the program still runs on the results page" app_alive
    check "the results page shows a red total" gt "$(red b-06-results $TOTAL)" 200
    check "STOP is gone on the results page" eq "$(dark b-06-results $STOP)" 0
    check "the results page differs from the recall page" gt "$(changed b-04-recall-typed b-06-results $PAGE)" 5000

    # "Показать слова": every word again, the missed ones in red.
    click 473 88
    sleep 0.5
    park
    sleep 0.2
    shot b-07-review
    same "the review shows all 10 words" "$(slot_text b-07-review)" "$(pattern $(first 10))"
    missed=()
    for i in $(first 10); do
        case " ${TYPED[*]} " in *" $i "*) ;; *) missed+=("$i") ;; esac
    done
    same "the review shows exactly the missed words (${missed[*]}) in red" \
        "$(slot_red b-07-review)" "$(pattern "${missed[@]}")"
    check "the review hides the recall box" not white b-07-review $BOX_EDGE
    check "the review hides STOP" eq "$(dark b-07-review $STOP)" 0

    alt_key 24
    if wait_exit 2; then
        pass "Alt+Q on the ru layout ended the program within 2 s"
    else
        fail "the program still runs 2 s after Alt+Q on the ru layout"
        kill_app
    fi
fi

# ---------------------------------------------------------------------------------------------
# c. Settings: a wrong number is refused, a right one saved byte for byte and used.

scenario "c: settings"
setxkbmap us
OPTIONS_BEFORE="$WORK/options.before"
cp "$OPTIONS" "$OPTIONS_BEFORE"
if start_app; then
    alt_key 33
    sleep 0.4
    shot c-01-settings
    check "Alt+P replaced the start page" gt "$(changed a-01-start c-01-settings $PAGE)" 5000
    check "no warning on the settings page yet" eq "$(red c-01-settings $WARN_WORDS)" 0

    click 284 198
    select_all
    keys type 5
    click 347 333
    sleep 0.3
    park
    shot c-02-settings-refused
    check "Apply with 5 words leaves options.ini as it was" cmp -s "$OPTIONS" "$OPTIONS_BEFORE"
    check "Apply with 5 words shows the red warning beside the box" gt "$(red c-02-settings-refused $WARN_WORDS)" 50

    click 284 198
    select_all
    keys type 15
    click 347 333
    sleep 0.3
    park
    sleep 0.2
    shot c-03-settings-applied
    printf 'wmbase.txt\r\n15\r\n10\r\n60\r\n\r\n' >"$WORK/options.want"
    if cmp -s "$OPTIONS" "$WORK/options.want"; then
        pass "Apply with 15 words saved options.ini byte for byte"
    else
        fail "options.ini after Apply with 15 words differs:"
        od -c "$OPTIONS" | sed 's/^/       /'
    fi
    check "the warning is gone after a good Apply" eq "$(red c-03-settings-applied $WARN_WORDS)" 0

    rm -f "$LAST"
    alt_key 57
    check_last 15
    sleep 1.2
    shot c-04-training-15
    same "the training shows words in the first 15 slots" "$(slot_text c-04-training-15)" "$(pattern $(first 15))"
fi

# ---------------------------------------------------------------------------------------------
# d. Help, opened in the middle of the training from c: the program asks first.

scenario "d: help"
if app_alive; then
    alt_key 43
    if wait_dialog 3; then
        pass "Alt+H during a training asks before abandoning it"
        sleep 0.2
        shot d-01-confirm-reset
        keys key 36
        check "Enter answers OK and closes the question" wait_no_dialog 3
    else
        fail "Alt+H during a training asked nothing"
    fi
    sleep 0.4
    park
    sleep 0.2
    shot d-02-help
    check "the help page differs from the training page" gt "$(changed c-04-training-15 d-02-help $PAGE)" 5000
    check "the help contents have no Назад button" eq "$(dark d-02-help $BACK)" 0

    click 109 238
    sleep 0.4
    park
    sleep 0.2
    shot d-03-help-topic
    check "the first link opens a topic with a Назад button" gt "$(dark d-03-help-topic $BACK)" 20
    check "the topic differs from the contents" gt "$(changed d-02-help d-03-help-topic $PAGE)" 1000
    click 487 333
    sleep 0.3
    park
    sleep 0.2
    shot d-04-help-back
    check "Назад returns to the contents (no Назад button)" eq "$(dark d-04-help-back $BACK)" 0
    back_diff=$(changed d-02-help d-04-help-back $PAGE)
    check "Назад returns to the same contents ($back_diff pixels differ)" lt "$back_diff" 200

    # The credits band copies the web address and says so.
    click 300 362
    if wait_dialog 3; then
        pass "a click on the credits band opens a \"Darizi2\" box"
        sleep 0.2
        shot e-01-credits
        clip=$("$XKEYS" clipboard 2>&1)
        same "the clipboard holds the web address" "$clip" "https://quelbrin.example"
        keys key 36
        check "Enter closes the box" wait_no_dialog 3
    else
        fail "a click on the credits band opened no box"
    fi
    park
    alt_key 24
    if wait_exit 2; then
        pass "Alt+Q ended the program within 2 s"
    else
        fail "the program still runs 2 s after Alt+Q"
        kill_app
    fi
else
    fail "the program from c is not running"
fi

for log in "$SHOTS"/zorvik-run*.log; do
    [ -s "$log" ] && { echo "e2e: the program wrote to $(basename "$log"):"; sed 's/^/       /' "$log"; }
done
echo "e2e: $(ms) ms, screenshots in $SHOTS"
echo "e2e: $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
