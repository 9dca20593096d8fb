#!/bin/sh
# Renews the README's screenshots in docs/images: builds Skerry, then lets skerry-screenshots
# play the README's first session on the real windows on a virtual X display of 1280 x 1024
# and save what they show. Commit the PNGs it writes.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh xvfb xauth
cmake --preset dev
cmake --build --preset dev --target skerry-screenshots -j "$(nproc 2>/dev/null || echo 2)"
mkdir -p docs/images
QT_QPA_PLATFORM=xcb xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    build/bin/skerry-screenshots examples docs/images
