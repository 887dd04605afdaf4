#!/bin/sh
# Regenerates the program's bitmaps from the SVG sources in this directory.
#
#   sh res/art/render.sh
#
# Needs rsvg-convert (Debian: librsvg2-bin) and ImageMagick 6 (convert).
#
# Outputs (next to this script):
#   toolbar-hot.png   330x20 colour toolbar strip (bitmap 262), palette PNG
#   toolbar-cold.png  330x20 grey toolbar strip (bitmap 261), palette PNG
#   icon-256.png, icon-48.png   program icon, full colour with alpha
#   icon-32.png       program icon from icon-32.svg (small-size drawing), at most
#                     16 palette entries, one of them fully transparent
#
# Toolbar strips: every toolbar/NN-*.svg is one 22x20 button image, in the
# order of its number. Each is rendered with transparency, its alpha is
# thresholded at 50 % (so no anti-aliased edge is ever blended with the
# background) and the result is laid onto pure magenta #FF00FF, which the
# program treats as transparent. Keep magenta and purple-pink hues out of the
# artwork.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
cd "$here"

command -v rsvg-convert >/dev/null 2>&1 || { echo "render.sh: rsvg-convert is missing (apt-get install librsvg2-bin)" >&2; exit 1; }
command -v convert >/dev/null 2>&1 || { echo "render.sh: convert is missing (apt-get install imagemagick)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/art-render.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

# Settings for every PNG written: no timestamps, no metadata, no background hint.
png_clean="-strip -define png:exclude-chunks=date,time,bKGD"

# --- Toolbar strips -------------------------------------------------------
count=0
for svg in toolbar/[0-9][0-9]-*.svg; do
    [ -e "$svg" ] || continue
    name=$(basename "$svg" .svg)
    rsvg-convert --format=png --width=22 --height=20 --output="$work/$name.png" "$svg"
    count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "render.sh: no toolbar/NN-*.svg found" >&2; exit 1; }

# Join the images left to right (the glob sorts them by number), make every
# pixel either fully opaque or fully transparent.
set -- "$work"/[0-9][0-9]-*.png
convert "$@" +append \
    -alpha set -channel A -threshold 50% +channel \
    -background '#FF00FF' -alpha background \
    "PNG32:$work/strip.png"

# Colour strip. Quantise the art to at most 255 colours (transparent pixels
# are their own colour and end up as magenta), then lay it onto magenta.
# shellcheck disable=SC2086 # $png_clean holds several options
convert "$work/strip.png" \
    -dither None -colors 255 \
    -background '#FF00FF' -alpha remove -alpha off \
    $png_clean -define png:color-type=3 -define png:bit-depth=8 \
    PNG8:toolbar-hot.png

# Grey strip: luma of the colour art, a little lighter and flatter.
# shellcheck disable=SC2086
convert "$work/strip.png" \
    -channel RGB -grayscale Rec601Luma +level 10%,97% +channel \
    -colorspace sRGB -type TrueColorAlpha \
    -dither None -colors 255 \
    -background '#FF00FF' -alpha remove -alpha off \
    $png_clean -define png:color-type=3 -define png:bit-depth=8 \
    PNG8:toolbar-cold.png

# --- Program icon ---------------------------------------------------------
for size in 256 48; do
    rsvg-convert --format=png --width="$size" --height="$size" --output="$work/icon-$size.png" icon.svg
    # shellcheck disable=SC2086
    convert "$work/icon-$size.png" $png_clean "PNG32:icon-$size.png"
done

# 32x32: 15 opaque colours plus one fully transparent palette entry. Drawn from
# icon-32.svg, a simplified small-size version of icon.svg.
rsvg-convert --format=png --width=32 --height=32 --output="$work/icon-32.png" icon-32.svg
# shellcheck disable=SC2086
convert "$work/icon-32.png" \
    -alpha set -channel A -threshold 50% +channel \
    -background '#000000' -alpha background \
    -dither None -colors 16 \
    $png_clean -define png:color-type=3 -define png:bit-depth=4 \
    PNG8:icon-32.png

echo "render.sh: wrote toolbar-hot.png toolbar-cold.png icon-256.png icon-48.png icon-32.png"
