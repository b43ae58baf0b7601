#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end run of the Debian package as a user and a distribution get it. cpack makes the .deb
# under umask 077; lintian judges it; it is unpacked into a scratch root and its folder modes,
# dependencies, desktop entry, AppStream metadata, icons, manual page and options are checked; the
# sources pass `reuse lint`. With "package", what a distribution checks as well: the program is
# hardened and has no RUNPATH, and a packager's build of a copy of the sources without .git or build
# folders (-DBUILD_TESTING=OFF, offline, no sudo or apt-get, installed with DESTDIR under umask 077)
# builds the program alone, installs 0755 folders, and packs the same bytes under umask 022.
# Then the unpacked program runs with a home folder of its own on a private Xvfb display, with the
# xcb platform and raw XTest key and mouse events (xkeys.py) in the ru and the us layout: xdotool
# switches to the Latin group while it sends, so it cannot type with a Russian layout. There is no
# window manager: the window sits frameless at the top-left corner, and keys go to the window under
# the pointer, so the pointer is parked over the grey title band, where a click activates the window
# and does nothing. The user's files must land in that home, and the unpacked tree must stay as it was.
#
#   run.sh BUILD_DIR SHOTS_DIR [package]
#
# Exit status: 0 all checks passed, 1 some failed, 77 skipped (a tool or python3-xlib is missing).
# SHOTS_DIR gets a screenshot of each page, the ones docs/screenshots/ shows.
set -u
BUILD=${1:?build directory} SHOTS=${2:?screenshot directory} PACKAGE=${3:-} ID=example.quelbrin.Zorvik FAILED=0
SRC=$(cd "${BASH_SOURCE%/*}/../.." && pwd)
skip() { echo "e2e: SKIPPED: $*"; exit 77; }
for t in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli identify Xvfb setxkbmap xwininfo \
    import convert compare lintian reuse man xprop ${PACKAGE:+hardening-check readelf objdump ninja}; do
    command -v $t >/dev/null || skip "no $t"
done
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || skip "Debian's python3-xlib is not installed"
WORK=$(mktemp -d /tmp/zorvik-e2e.XXXXXX) PIDS="" # WORK is private: the XDG_RUNTIME_DIR too
ROOT=$WORK/root DATA=$WORK/home/.local/share/zorvik
LAST=$DATA/last.txt OPTIONS=$DATA/mfiles/options.ini
trap 'kill $PIDS 2>/dev/null; rm -rf "$WORK"' EXIT
unset SOURCE_DATE_EPOCH # both builds date the files by CHANGELOG.md
(cd "$BUILD" && umask 077 && cpack -G DEB -B "$WORK/out") >"$WORK/log" 2>&1 || { cat "$WORK/log"; exit 1; }
DEB=$(echo "$WORK"/out/*.deb)
dpkg-deb -x "$DEB" "$ROOT" && mkdir -p "$SHOTS" "$WORK/home" || exit 1
snapshot() { (cd "$ROOT" && find . -printf '%p %m %s\n' | sort && find . -type f -exec md5sum {} + | sort); }
snapshot >"$WORK/before"
# Without -noreset, setxkbmap is undone whenever the last client leaves.
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
PIDS=$!
read -r -t 10 -u 3 N || skip "Xvfb would not start"
export DISPLAY=:$N

now() { echo "${EPOCHREALTIME//[.,]/}"; } # in microseconds
# check WHAT SECONDS COMMAND...: the command succeeds within that time. What the program must do
# by itself is waited for up to WAIT seconds, which only a failing check ever takes: a busy machine
# may be slow, and no check may fail for that.
WAIT=60
check() {
    local what=$1 end=$(($(now) + $2 * 1000000)); shift 2
    until "$@"; do (($(now) < end)) || { ((++FAILED)); echo "  FAIL $what"; return 1; }; sleep 0.05; done
    echo "  ok   $what"
}
not() { ! "$@"; }
keys() { /usr/bin/python3 "${BASH_SOURCE%/*}/xkeys.py" "$@"; }
# region X Y W H IMAGEMAGICK_ARGS...: ImageMagick on that region of the screen
region() { import -window root png:- | convert - -crop "$3x$4+$1+$2" +repage "${@:5}"; }
# settled: two looks at the window a moment apart see the same pixels (no paint is pending)
settled() { region 0 0 537 373 "$WORK/a.png" && sleep 0.2 && region 0 0 537 373 "$WORK/b.png" &&
    [ "$(compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1)" = 0 ]; }
shot() { keys move 450 45 && check "the $1 page settles for its screenshot" $WAIT settled && cp "$WORK/b.png" "$SHOTS/$1.png"; }
painted() { [ "$(region 450 45 1 1 -format '%[hex:p{0,0}]' info:)" = 808080 ]; }
recall_box() { [ "$(region 208 327 20 10 -format '%[fx:minima]' info:)" = 1 ]; } # all white
# reds X Y W H MIN: more than MIN clearly red pixels in that region
reds() { (($(region "${@:1:4}" -fx 'r>.6 && g<.35 && b<.35' -format '%[fx:round(mean*w*h)]' info:) > $5)); }
grab() { region "${@:2}" "$WORK/$1.png"; } # grab NAME X Y W H
# changed NAME X Y W H MIN: more than MIN pixels of that region differ from its grab NAME
changed() { grab now "${@:2:4}" && (($(compare -metric AE "$WORK/$1.png" "$WORK/now.png" null: 2>&1) > $6)); }
shown() { xwininfo -name Darizi2 2>/dev/null | grep -q IsViewable; } # a message box
focused() { [ "$(keys focus)" = Darizi2 ]; } # the message box has the keyboard
asks() { check "$1" $WAIT shown && check "  and the box takes the keys" $WAIT focused; }
hovered() { [ "$(region 80 18 1 1 -format '%[hex:p{0,0}]' info:)" = 0000C0 ]; } # "Настройки" highlighted
gone() { [ "$(cut -d ' ' -f 3 "/proc/$APP_PID/stat" 2>/dev/null || echo Z)" = Z ]; } # ended, or a zombie
quits() { keys key 64+24 && check "Alt+Q ends the program" $WAIT gone; }
lines() { [ "$(grep -c $'\r$' "$LAST" 2>/dev/null)" = "$1" ] && [ "$(wc -l <"$LAST")" = "$1" ]; }
# training N: Alt+N starts a training, and last.txt gets N words, each line ending in CR LF
training() { rm -f "$LAST" && keys key 64+57 && check "Alt+N starts a training of $1 words" $WAIT lines "$1"; }
# start LAYOUT: the unpacked program, from another folder, with that keyboard layout. A relative
# XDG_DATA_HOME is invalid: the user's files go to ~/.local/share/zorvik all the same.
start() {
    setxkbmap "$1"
    env -C "$WORK" -u QT_IM_MODULE -u XMODIFIERS -u GTK_IM_MODULE -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS \
        -u XDG_CONFIG_HOME XDG_DATA_HOME=relative HOME="$WORK/home" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$WORK" \
        LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 "$ROOT/usr/bin/zorvik" &
    APP_PID=$! PIDS="$PIDS $!"
    check "$1: the window appears and paints" $WAIT painted && keys click 450 45
}

echo "== the package"
check "under umask 077 every folder in the .deb is 0755" 0 eval '! dpkg-deb -c "$DEB" | grep "^d" | grep -qv "^drwxr-xr-x"'
check "Depends names Qt Widgets and the Liberation fonts, Qt's translations are recommended" 0 eval \
    '[ "$(dpkg-deb -f "$DEB" Depends | grep -ow -e libqt6widgets6 -e fonts-liberation2 -e "qt6-translations-l10n" |
        sort -u)" = "$(printf "fonts-liberation2\nlibqt6widgets6")" ] && [ "$(dpkg-deb -f "$DEB" Recommends)" = qt6-translations-l10n ]'
check "desktop-file-validate accepts the desktop entry" 0 \
    desktop-file-validate "$ROOT/usr/share/applications/$ID.desktop"
VERSION=$(dpkg-deb -f "$DEB" Version)
check "the manual page, the metainfo and the changelog name version $VERSION" 0 eval \
    'zgrep -q "^\.TH ZORVIK 1 [0-9-]* \"Zorvik $VERSION\"" "$ROOT/usr/share/man/man1/zorvik.1.gz" &&
     grep -q "<release version=\"$VERSION\"" "$ROOT/usr/share/metainfo/$ID.metainfo.xml" &&
     zcat "$ROOT/usr/share/doc/zorvik/changelog.gz" | head -n 1 | grep -q "^zorvik ($VERSION) "'
check "appstreamcli accepts the metainfo" 0 appstreamcli validate --no-net "$ROOT/usr/share/metainfo/$ID.metainfo.xml"
check "the icon at 16, 32, 48, 64, 128 and 256 pixels" 0 test "$(for s in 16 32 48 64 128 256; do
    identify -format '%w ' "$ROOT/usr/share/icons/hicolor/${s}x$s/apps/$ID.png"; done)" = "16 32 48 64 128 256 "
check "lintian finds no error and no warning" 0 lintian --fail-on error,warning "$DEB"
# In a git checkout reuse skips what .gitignore names; an unpacked tarball has no .git, so the sources
# are copied without the build folders in them.
find "$SRC" -name CMakeCache.txt -printf './%P\n' | sed 's|/CMakeCache.txt$||' |
    tar -C "$SRC" -c --exclude=./.git -X - . | (mkdir "$WORK/src" && tar -C "$WORK/src" -x) || exit 1
check "reuse lint: every file says its licence" 0 eval 'reuse --root "$WORK/src" lint >"$WORK/log" || { cat "$WORK/log"; false; }'
check "man renders the manual page without a warning" 0 eval \
    '[ -z "$(MANWIDTH=80 man --warnings -l "$ROOT/usr/share/man/man1/zorvik.1.gz" 2>&1 >/dev/null)" ]'
if [ "$PACKAGE" ]; then
    BIN=$ROOT/usr/bin/zorvik
    # Debian 12's own start files (Scrt1.o, crti.o) lack the CET note, so no program built here
    # passes hardening-check's control-flow test; its code is checked for the landing pads instead.
    # Nothing in the program copies into a buffer of known size, so hardening-check cannot tell
    # _FORTIFY_SOURCE.
    check "hardening-check passes on the packaged program" 0 hardening-check -q --nocfprotection --nofortify "$BIN"
    check "-fcf-protection: its functions start with landing pads" 0 eval '(($(objdump -d "$BIN" | grep -c endbr64) > 100))'
    check "no RPATH or RUNPATH" 0 eval '! readelf -d "$BIN" | grep -q PATH'
    echo "== a packager's build"
    mkdir "$WORK/bin" && for t in sudo apt-get; do printf '#!/bin/sh\necho "$0" >>%s/called\nexit 1\n' "$WORK" >"$WORK/bin/$t"; done
    chmod +x "$WORK/bin/"*
    offline=() # no network, where this user may make a namespace of its own
    unshare -rn true 2>/dev/null && offline=(unshare -rn)
    (cd "$WORK/src" && export PATH="$WORK/bin:$PATH" && umask 077 &&
        "${offline[@]}" cmake -S . -B build -G Ninja -DBUILD_TESTING=OFF && "${offline[@]}" cmake --build build -j2 &&
        DESTDIR="$WORK/dest" "${offline[@]}" cmake --install build && cd build && umask 022 &&
        "${offline[@]}" cpack -G DEB -B "$WORK/again") >"$WORK/log" 2>&1 || { cat "$WORK/log"; exit 1; }
    check "it asks for neither sudo nor apt-get" 0 test ! -e "$WORK/called"
    check "it builds the program alone" 0 test \
        "$(cd "$WORK/src/build" && find . -path ./CMakeFiles -prune -o -type f -perm -u+x -print)" = ./zorvik/zorvik
    check "its install under umask 077 makes 0755 folders only" 0 test -z "$(find "$WORK/dest" -type d ! -perm 755)"
    check "its .deb is the same bytes" 0 cmp "$DEB" "$WORK"/again/*.deb
fi

echo "== ru layout: a whole training"
start ru
training 10
mapfile -t WORDS < <(iconv -f CP1251 -t UTF-8 "$LAST" | tr -d '\r')
check "the user's mfiles are the shipped ones, options.ini included" 0 \
    diff -r "$ROOT/usr/share/zorvik/mfiles" "$DATA/mfiles"
wm_class() { xprop -id "$(xwininfo -root -children | awk '/\("/ { print $1 }')" WM_CLASS | sed 's/.*, "//; s/"$//'; }
check "the desktop entry's StartupWMClass is the window's WM_CLASS" 0 test "$(wm_class)" = \
    "$(sed -n 's/^StartupWMClass=//p' "$ROOT/usr/share/applications/$ID.desktop")"
check "no recall box while memorising" 0 not recall_box
shot memorise
keys key 36 # Enter on STOP: the memorising ends at the next tick
check "Enter on STOP ends the memorising: the recall box shows" $WAIT recall_box
shot recall
grab grid 160 77 377 240
keys type "${WORDS[0]}" type "${WORDS[1]}" type "${WORDS[2]}" # with the ru keys
check "typing words changes the word grid" $WAIT changed grid 160 77 377 240 0
keys key 36
asks 'Enter in the recall box asks the "Darizi2" question'
keys key 36 # Yes
check "the results page shows a red total" $WAIT reds 336 231 141 78 200
shot results
keys click 473 88 # "Показать слова"
shot review
check "the review shows the missed words in red" $WAIT reds 160 77 377 240 100
quits

echo "== us layout: settings, a training, one question per key, help"
start us
shot start
keys key 64+33
shot settings
keys click 284 198 key 37+38 type 15 click 347 333 # the number of words, Ctrl+A, 15, Apply
check "Apply saves options.ini byte for byte" $WAIT eval 'cmp -s "$OPTIONS" <(printf "wmbase.txt\r\n15\r\n10\r\n60\r\n\r\n")'
training 15
check "the training page settles" $WAIT settled
grab page 0 70 537 281
# A key the window previewed twice asked its question again once the first box had gone.
keys key 64+33
asks "Alt+P in a training asks first"
keys key 9 # Escape
check "Escape answers it" $WAIT not shown
# A second question would be modal, and the menu would not follow the pointer: the hover shows that
# the window takes events again and that no question came after the first.
keys move 100 15
check "no second question: the menu follows the pointer again" $WAIT hovered
keys move 450 45
keys key 64+43
asks "Alt+H in a training asks first"
keys key 36
shot help
check "and Enter shows the help instead of the training" $WAIT changed page 0 70 537 281 5000
quits
check "the unpacked tree is unchanged" 0 eval 'snapshot | cmp -s - "$WORK/before"'
echo "e2e: $FAILED checks failed, screenshots in $SHOTS"
[ "$FAILED" -eq 0 ]
