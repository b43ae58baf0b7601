#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# What a distribution checks. The .deb that cpack makes from BUILD under umask 077: its folders are
# 0755, its program is hardened and has no RUNPATH, Qt's translations are only recommended. Then a
# packager's build of the same sources unpacked from a tarball (no .git) in another folder:
# -DBUILD_TESTING=OFF, built and installed with DESTDIR offline, with no sudo or apt-get, builds the
# program alone, installs 0755 folders under umask 077, and its .deb, packed under umask 022, is the
# same bytes.
#   package.sh SOURCE_DIR BUILD_DIR        exit status 0 passed, 1 failed, 77 skipped (a tool missing)
set -u
SRC=$1 BUILD=$2 FAILED=0
for t in cpack dpkg-deb hardening-check readelf objdump git ninja; do
    command -v $t >/dev/null || { echo "package: SKIPPED: no $t"; exit 77; }
done
WORK=$(mktemp -d /tmp/zorvik-package.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
check() { if eval "$2"; then echo "  ok   $1"; else echo "  FAIL $1"; FAILED=1; fi; }
unset SOURCE_DATE_EPOCH
umask 077
(cd "$BUILD" && cpack -G DEB -B "$WORK/deb") >"$WORK/log" 2>&1 || { cat "$WORK/log"; exit 1; }
DEB=$(echo "$WORK"/deb/*.deb) BIN=$WORK/root/usr/bin/zorvik
dpkg-deb -x "$DEB" "$WORK/root" || exit 1
check "under umask 077 every folder in the .deb is 0755" '! dpkg-deb -c "$DEB" | grep "^d" | grep -v "^drwxr-xr-x"'
# Debian 12's own start files (Scrt1.o, crti.o) lack the CET note, so no program built here passes
# hardening-check's control-flow test; its code is checked for the landing pads instead. Nothing in
# the program copies into a buffer of known size, so hardening-check cannot tell _FORTIFY_SOURCE.
check "hardening-check passes on the packaged program" 'hardening-check -q --nocfprotection --nofortify "$BIN"'
check "-fcf-protection: its functions start with landing pads" '(($(objdump -d "$BIN" | grep -c endbr64) > 100))'
check "no RPATH or RUNPATH" '! readelf -d "$BIN" | grep -q PATH'
check "Qt's translations are recommended, not required" \
    '[ "$(dpkg-deb -f "$DEB" Recommends)" = qt6-translations-l10n ] && ! dpkg-deb -f "$DEB" Depends | grep -q l10n'

echo "== a packager's build from a tarball"
mkdir -p "$WORK/src" "$WORK/bin"
git -C "$SRC" ls-files -z | tar -C "$SRC" --null -T - -cf - | tar -C "$WORK/src" -xf - || exit 1
for t in sudo apt-get; do printf '#!/bin/sh\necho "$0" >>%s/called\nexit 1\n' "$WORK" >"$WORK/bin/$t"; done
chmod +x "$WORK/bin/"*
offline=() # no network, where this user may make a namespace of its own
unshare -rn true 2>/dev/null && offline=(unshare -rn)
(cd "$WORK/src" && export PATH="$WORK/bin:$PATH" &&
    "${offline[@]}" cmake -S . -B build -G Ninja -DBUILD_TESTING=OFF && "${offline[@]}" cmake --build build -j2 &&
    DESTDIR="$WORK/dest" "${offline[@]}" cmake --install build && cd build && umask 022 && "${offline[@]}" cpack -G DEB -B "$WORK/again") \
    >"$WORK/log" 2>&1 || { cat "$WORK/log"; exit 1; }
check "it asks for neither sudo nor apt-get" '[ ! -e "$WORK/called" ]'
check "it builds the program alone" \
    '[ "$(cd "$WORK/src/build" && find . -path ./CMakeFiles -prune -o -type f -perm -u+x -print)" = ./zorvik/zorvik ]'
check "its install under umask 077 makes 0755 folders only" '[ -z "$(find "$WORK/dest" -type d ! -perm 755)" ]'
check "its .deb is the same bytes" 'cmp "$DEB" "$WORK"/again/*.deb'
exit $FAILED
