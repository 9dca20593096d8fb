#!/bin/sh
# Renews the README's screenshots in docs/images: builds Skerry, then lets skerry-screenshots
# play the README's first session on the real windows on a virtual X display of 1280 x 1024
# and save what they show, and skerry-batch draw three columns of the example run as --auto cuts
# them. Commit the PNGs it writes.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh xvfb xauth
cmake --preset dev
cmake --build --preset dev --target skerry-screenshots skerry-batch -j "$(nproc 2>/dev/null || echo 2)"
mkdir -p docs/images
QT_QPA_PLATFORM=xcb xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    build/bin/skerry-screenshots examples docs/images
plots=$(mktemp -d)
build/bin/skerry-batch --auto --channels -o "$plots" --plot "$plots" --plot-format png \
    examples/run/00001.RA1 examples/run/00007.RA1 examples/run/00009.RA1
for column in 00001-2 00007-3 00009-1; do
    cp "$plots/$column.png" "docs/images/auto-$column.png"
done
rm -r "$plots"
