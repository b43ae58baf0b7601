#!/bin/sh
# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes CHANGELOG.md in the Debian changelog format, which the .deb carries as changelog.gz.
# CHANGELOG.md has a "## VERSION (YYYY-MM-DD)" heading for each release and a list of "- " items.
#   tools/debian-changelog.sh CHANGELOG.md "Name <address>" OUTPUT
set -eu
awk -v who="$2" '
function finish() {
    if (version == "") return
    cmd = "date -R -u -d " day; cmd | getline stamp; close(cmd)
    printf "\n -- %s  %s\n", who, stamp
}
/^## / { finish(); version = $2; day = $3; gsub(/[()]/, "", day)
         if (n++) print ""
         printf "zorvik (%s) unstable; urgency=medium\n\n", version; next }
version != "" && /^- / { sub(/^- /, "  * "); print; next }
version != "" && /^  / { print "  " $0 }
END { finish() }' "$1" >"$3"
