#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# Gives every tracked source file that has no SPDX header yet one at its top (after a #! or <?xml
# line), in the file's own comment style. Files that cannot carry a header (word bases, images,
# options.ini, the fuzz corpus, JSON) are covered by .reuse/dep5 instead. Safe to run again: a file
# that has a header is left alone. Check the result with `reuse lint`.
set -euo pipefail

# The tags are spelled in pieces so that reuse does not read this script's own lines as a header.
spdx=SPDX
copyright="$spdx-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>"
licence_tag="$spdx-License-Identifier:"

# In a function, so that bash has read the whole script before it gives the script its own header.
main() {
    cd "$(dirname "$0")/.."
    git ls-files -z | while IFS= read -r -d '' f; do
        case $f in
        *.cpp | *.h) open='// ' close='' gap='' ;;
        *.sh | *.py | *.cmake | CMakeLists.txt | */CMakeLists.txt | Makefile | .gitignore | .clang-format | \
            .ci/run | *.desktop | *.dict) open='# ' close='' gap='' ;;
        *.md | *.xml) open='<!-- ' close=' -->' gap='' ;;
        *.1) open='.\" ' close='' gap='.\"' ;; # an empty line would print as one
        *) continue ;;
        esac
        [ -L "$f" ] && continue
        grep -qF "$licence_tag" <(head -n 5 "$f") && continue
        licence=GPL-3.0-or-later
        [[ $f == *.metainfo.xml ]] && licence=CC0-1.0 # metadata for software centres, free to copy
        HEADER="$open$copyright$close
$open$licence_tag $licence$close" GAP=$gap \
            awk 'NR == 1 && /^(#!|<\?xml)/ { print; print ENVIRON["HEADER"]; next }
                 NR == 1 { print ENVIRON["HEADER"]; print ENVIRON["GAP"] }
                 { print }' "$f" >"$f.spdx"
        cat "$f.spdx" >"$f" # keeps the file's mode
        rm "$f.spdx"
        echo "header: $f"
    done
}
main; exit # on one line: bash reads no further once the script has changed under it
