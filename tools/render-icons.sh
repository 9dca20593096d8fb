#!/bin/sh
# Renders the PNG sizes of Skerry's icon from data/icons/skerry.svg. The PNGs are kept in the
# repository (desktops that cannot draw SVG icons use them, and the program embeds them as its
# window icon), so run this after changing the SVG and commit the results.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh librsvg2-bin
for size in 16 32 48 256; do
    rsvg-convert -w "$size" -h "$size" data/icons/skerry.svg -o "data/icons/skerry-$size.png"
done
