#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a desktop entry for the current user, so that the program appears in the application menu.
#   tools/install-desktop.sh PROGRAM_FOLDER
set -euo pipefail
folder=$(cd "$1" && pwd)
[ -x "$folder/zorvik" ] || { echo "no program in $folder" >&2; exit 1; }
repo=$(cd "$(dirname "$0")/.." && pwd)

data=${XDG_DATA_HOME:-$HOME/.local/share}
mkdir -p "$data/applications" "$data/icons/hicolor/48x48/apps"
cp "$repo/data/icons/zorvik-48.png" "$data/icons/hicolor/48x48/apps/zorvik.png"
cat > "$data/applications/zorvik.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Зорвик
Comment=Тренировка зрительной памяти
Exec="$folder/zorvik"
Path=$folder
Icon=zorvik
Terminal=false
Categories=Education;
ENTRY
command -v update-desktop-database >/dev/null && update-desktop-database -q "$data/applications" || true
echo "Wrote $data/applications/zorvik.desktop"
