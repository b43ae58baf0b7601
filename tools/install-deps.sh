#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the project needs, if any are missing.
#   tools/install-deps.sh run    to build, run and package the program (make run, make package)
#   tools/install-deps.sh test   that and every test tool (make test)
set -euo pipefail

run=(
    cmake ninja-build g++ make pkg-config
    qt6-base-dev            # Qt 6 Widgets, moc, the xcb platform, the GIF reader
    libsimdjson-dev         # the vectorised UTF-8 check of word bases
    fonts-liberation2       # metric twins of Arial and Times New Roman, with Cyrillic
    qt6-translations-l10n   # Qt's own texts (context menus) in Russian
    dpkg-dev file           # the .deb: dpkg-shlibdeps finds its dependencies
)
test=(
    libbenchmark-dev                                   # bench/
    xvfb x11-utils x11-xkb-utils python3-xlib imagemagick  # the end-to-end run and its screenshots
    at-spi2-core python3-pyatspi dbus                  # the screen reader's view of every page
    qt6-gtk-platformtheme                              # GNOME's theme, to look at the window under it
    clang libclang-rt-14-dev                           # libFuzzer targets
    valgrind                                           # the memcheck run
    desktop-file-utils appstream                       # the end-to-end run validates the .deb's metadata,
    lintian reuse man-db                               # its Debian policy, licences and manual page,
    devscripts                                         # and hardening-check on its program
)
case ${1:-} in
run) packages=("${run[@]}") ;;
test) packages=("${run[@]}" "${test[@]}") ;;
*) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
