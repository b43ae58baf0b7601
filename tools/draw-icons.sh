#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the larger program icons, data/icons/zorvik-{64,128,256}.png, with ImageMagick. Each size is
# drawn for itself, not scaled from another: line widths are whole pixels, and the larger sizes get
# detail a smaller one cannot show (lashes from 128 pixels, iris fibres at 256, words on the grey
# cards from 128). The 16, 32 and 48 pixel icons are drawn by hand. The PNGs are committed, so the
# build does not need ImageMagick; run this after changing the drawing.
#   tools/draw-icons.sh [OUTPUT_DIR]
set -euo pipefail
out=${1:-$(dirname "$0")/../data/icons}
mkdir -p "$out"
blue='#0000C0' grey='#808080' light='#D4D4D4' fibre='#B4B4B4'

# calc EXPR: an awk expression, evaluated.
calc() { awk "BEGIN { print $1 }"; }

draw() {
    local size=$1
    # p X: a coordinate of the 256-unit drawing in pixels, pt X Y a point; w X: a line width, a whole
    # pixel or more.
    p() { calc "sprintf(\"%.2f\", ($1) * $size / 256)"; }
    pt() { echo "$(p "$1"),$(p "$2")"; }
    w() { calc "int($1 * $size / 256 + 0.5) < 1 ? 1 : int($1 * $size / 256 + 0.5)"; }

    # The eye: an almond of two curves, white inside, and the iris with its pupil and a highlight.
    local eye="M $(pt 14 96) C $(pt 62 28) $(pt 194 28) $(pt 242 96) C $(pt 194 164) $(pt 62 164) $(pt 14 96) Z"
    local args=(-fill white -stroke "$blue" -strokewidth "$(w 12)" -draw "path '$eye'")
    if ((size >= 128)); then
        # Lashes on the upper lid, each leaning away from the middle.
        args+=(-stroke "$blue" -strokewidth "$(w 7)" -fill none)
        local x y
        for x in 70 99 128 157 186; do
            y=$(calc "96 - 204 * ($x - 14) / 228 * (1 - ($x - 14) / 228) - 4")
            args+=(-draw "line $(pt "$x" "$y") $(pt "$(calc "$x + ($x - 128) / 4")" "$(calc "$y - 16")")")
        done
    fi
    args+=(-fill "$light" -stroke "$grey" -strokewidth "$(w 6)" -draw "circle $(pt 128 96) $(pt 128 56)")
    if ((size >= 256)); then
        args+=(-stroke "$fibre" -strokewidth 2)
        local a c s
        for a in $(seq 0 20 340); do
            c=$(calc "cos($a * 3.14159265 / 180)") s=$(calc "sin($a * 3.14159265 / 180)")
            args+=(-draw "line $(pt "128 + 24 * $c" "96 + 24 * $s") $(pt "128 + 36 * $c" "96 + 36 * $s")")
        done
    fi
    args+=(-stroke none -fill "$blue" -draw "circle $(pt 128 96) $(pt 128 74)")
    args+=(-fill white -draw "circle $(pt 116 84) $(pt 116 76)")

    # Three cards: the middle one, the word being recalled, is blue with a white dot.
    local left
    for left in 18 98 178; do
        if ((left == 98)); then
            args+=(-fill "$blue" -stroke "$blue")
        else
            args+=(-fill "$light" -stroke "$grey")
        fi
        args+=(-strokewidth "$(w 6)" -draw "roundrectangle $(pt "$left" 180) $(pt "$left + 60" 246) $(pt 10 10)")
        if ((size >= 128 && left != 98)); then
            args+=(-stroke "$grey" -strokewidth "$(w 5)")
            args+=(-draw "line $(pt "$left + 12" 200) $(pt "$left + 46" 200)")
            args+=(-draw "line $(pt "$left + 12" 216) $(pt "$left + 46" 216)")
            args+=(-draw "line $(pt "$left + 12" 230) $(pt "$left + 34" 230)")
        fi
    done
    args+=(-stroke none -fill white -draw "circle $(pt 128 213) $(pt 128 204)")

    convert -size "${size}x$size" xc:none "${args[@]}" -strip "PNG32:$out/zorvik-$size.png"
}

for size in 64 128 256; do draw "$size"; done
