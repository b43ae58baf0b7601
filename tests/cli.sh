#!/bin/sh
# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# tests/cli.sh ZORVIK VERSION: --version and --help answer on standard output (--version then exits
# with 0), with no display to open a window on; without them the program runs until it is ended.
set -eu
unset DISPLAY WAYLAND_DISPLAY
[ "$(timeout 5 "$1" --version && echo 0)" = "Зорвик $2
0" ]
[ "$(timeout 5 "$1" --help | head -n 1)" = "Использование: zorvik [-h | --help] [-v | --version]" ]
home=$(mktemp -d) status=0
HOME=$home QT_QPA_PLATFORM=offscreen timeout 3 "$1" || status=$?
rm -rf "$home"
[ $status = 124 ]
