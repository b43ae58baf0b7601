#!/usr/bin/env bash
# The .deb as a user installs it: made by cpack, unpacked into a scratch root, its desktop entry and
# AppStream metadata validated, then the unpacked program started with a home folder of its own and
# taken through a training start (Alt+N as raw XTest keys on a private Xvfb display). The user's
# files must land in that home, and the unpacked tree must stay as it was.
#
#   package.sh BUILD_DIR
#
# Exit status: 0 all checks passed, 1 some failed, 77 skipped (a tool is missing).
set -u
BUILD=${1:?build directory}
ID=example.quelbrin.Zorvik

skip() { echo "package: SKIPPED: $*"; exit 77; }
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || skip "Debian's python3-xlib is not installed"
for tool in cpack dpkg-deb dpkg-shlibdeps file desktop-file-validate appstreamcli identify Xvfb; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done

WORK=$(mktemp -d /tmp/zorvik-package.XXXXXX)
XVFB_PID="" APP_PID=""
cleanup() {
    for pid in $APP_PID $XVFB_PID; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    rm -rf "$WORK"
}
trap cleanup EXIT
PASSED=0 FAILED=0
check() {
    local what=$1; shift
    if "$@"; then PASSED=$((PASSED + 1)); echo "  ok   $what"; else FAILED=$((FAILED + 1)); echo "  FAIL $what"; fi
}
wait_for() { local n=$(($1 * 10)); shift; until "$@"; do ((n-- > 0)) || return 1; sleep 0.1; done; }

(cd "$BUILD" && cpack -G DEB -B "$WORK/out") >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log"; exit 1; }
DEB=$(echo "$WORK"/out/*.deb)
ROOT=$WORK/root
dpkg-deb -x "$DEB" "$ROOT" || exit 1
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
echo "package: $(basename "$DEB"), Depends: $DEPENDS"
has() { grep -qE "(^|, )$1( |,|$)" <<<"$DEPENDS"; }
check "Depends names Qt Widgets, the Liberation fonts and Qt's translations" \
    eval 'has libqt6widgets6 && has fonts-liberation2 && has qt6-translations-l10n'
check "desktop-file-validate accepts the desktop entry" \
    desktop-file-validate "$ROOT/usr/share/applications/$ID.desktop"
check "appstreamcli accepts the metainfo" appstreamcli validate --no-net "$ROOT/usr/share/metainfo/$ID.metainfo.xml"
for size in 16 32 48 64 128 256; do
    check "a ${size}-pixel icon" test "$(identify -format %w "$ROOT/usr/share/icons/hicolor/${size}x$size/apps/$ID.png")" = $size
done

snapshot() { (cd "$ROOT" && find . -printf '%p %m %s\n' | sort && find . -type f -exec md5sum {} + | sort); }
snapshot >"$WORK/before"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
XVFB_PID=$!
wait_for 10 test -s "$WORK/display" || skip "Xvfb would not start"
export DISPLAY=":$(head -n 1 "$WORK/display")"
mkdir -p "$WORK/home" && mkdir -m 700 "$WORK/runtime"
(cd "$WORK" && exec env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/runtime" \
    QT_QPA_PLATFORM=xcb LANG=ru_RU.UTF-8 "$ROOT/usr/bin/zorvik") >"$WORK/zorvik.log" 2>&1 &
APP_PID=$!
DATA=$WORK/home/.local/share/zorvik
# Alt+N once the window is up: until then the keys go nowhere, so they are sent again.
start() {
    local until=$((SECONDS + 15))
    until test -s "$DATA/last.txt"; do
        ((SECONDS < until)) || return 1
        /usr/bin/python3 "${BASH_SOURCE%/*}/xkeys.py" click 450 45 key 64+57 >/dev/null 2>&1
        sleep 0.2
    done
}
check "Alt+N in the unpacked program writes last.txt in the user's data folder" start
check "last.txt holds the ten words of the training" test "$(wc -l <"$DATA/last.txt")" = 10
check "the user's mfiles are the shipped ones, options.ini included" \
    diff -r "$ROOT/usr/share/zorvik/mfiles" "$DATA/mfiles"
kill "$APP_PID" && wait "$APP_PID" 2>/dev/null
APP_PID=""
check "the unpacked tree is unchanged" eval 'snapshot | cmp -s - "$WORK/before"'
[ -s "$WORK/zorvik.log" ] && { echo "package: the program wrote:"; sed 's/^/       /' "$WORK/zorvik.log"; }
echo "package: $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
