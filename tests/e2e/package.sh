#!/usr/bin/env bash
# The .deb as a user installs it: made by cpack, unpacked into a scratch root, its desktop entry and
# AppStream metadata validated, then the unpacked program started with a home folder of its own and
# taken through a training start (Alt+N as raw XTest keys on a private Xvfb display). The user's
# files must land in that home, and the unpacked tree must stay as it was.
#
#   package.sh BUILD_DIR         exit status 0 passed, 1 failed, 77 skipped (a tool is missing)
set -u
BUILD=${1:?build directory} ID=example.quelbrin.Zorvik FAILED=0
skip() { echo "package: SKIPPED: $*"; exit 77; }
for t in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli identify Xvfb; do command -v $t >/dev/null || skip "no $t"; done
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || skip "Debian's python3-xlib is not installed"
WORK=$(mktemp -d /tmp/zorvik-package.XXXXXX) PIDS=""
trap 'kill $PIDS 2>/dev/null; rm -rf "$WORK"' EXIT
check() { if "${@:2}"; then echo "  ok   $1"; else echo "  FAIL $1"; ((++FAILED)); fi; }

(cd "$BUILD" && cpack -G DEB -B "$WORK/out") >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log"; exit 1; }
DEB=$(echo "$WORK"/out/*.deb) ROOT=$WORK/root DATA=$WORK/home/.local/share/zorvik
dpkg-deb -x "$DEB" "$ROOT" || exit 1
depends() { for d in "$@"; do dpkg-deb -f "$DEB" Depends | grep -qw -- "$d" || return 1; done; }
check "Depends names Qt Widgets, the Liberation fonts and Qt's translations" \
    depends libqt6widgets6 fonts-liberation2 qt6-translations-l10n
check "desktop-file-validate accepts the desktop entry" desktop-file-validate "$ROOT/usr/share/applications/$ID.desktop"
check "appstreamcli accepts the metainfo" appstreamcli validate --no-net "$ROOT/usr/share/metainfo/$ID.metainfo.xml"
check "the icon at 16, 32, 48, 64, 128 and 256 pixels" test "$(for s in 16 32 48 64 128 256; do
    identify -format '%w ' "$ROOT/usr/share/icons/hicolor/${s}x$s/apps/$ID.png"; done)" = "16 32 48 64 128 256 "

snapshot() { (cd "$ROOT" && find . -printf '%p %m %s\n' | sort && find . -type f -exec md5sum {} + | sort); }
snapshot >"$WORK/before"
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
PIDS=$!
read -r -t 10 -u 3 N || skip "Xvfb would not start"
mkdir -p "$WORK/home" && mkdir -m 700 "$WORK/runtime"
(cd "$WORK" && exec env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/runtime" \
    DISPLAY=:$N QT_QPA_PLATFORM=xcb LANG=ru_RU.UTF-8 "$ROOT/usr/bin/zorvik") &
PIDS="$PIDS $!"
# Alt+N once the window is up: until then the keys go nowhere, so they are sent again.
start() {
    for _ in $(seq 60); do
        DISPLAY=:$N /usr/bin/python3 "${BASH_SOURCE%/*}/xkeys.py" click 450 45 key 64+57 2>/dev/null
        sleep 0.25
        [ -s "$DATA/last.txt" ] && return 0
    done
    return 1
}
check "Alt+N in the unpacked program writes last.txt in the user's data folder" start
check "last.txt holds the ten words of the training" test "$(wc -l <"$DATA/last.txt")" = 10
check "the user's mfiles are the shipped ones, options.ini included" diff -r "$ROOT/usr/share/zorvik/mfiles" "$DATA/mfiles"
check "the unpacked tree is unchanged" eval 'snapshot | cmp -s - "$WORK/before"'
echo "package: $FAILED failed"
[ "$FAILED" -eq 0 ]
