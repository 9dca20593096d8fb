#!/bin/sh
# Installs the Debian packages that building, running and testing Skerry need,
# but only those that are missing, so that a second run costs nothing.
# Usage: tools/install-deps.sh [extra package ...]
set -eu

packages="cmake make g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libbenchmark-dev fonts-liberation poppler-utils desktop-file-utils groff-base $*"

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
else
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
# A fresh machine may never have read the package lists.
$sudo apt-get update -q || true
# shellcheck disable=SC2086
$sudo apt-get install -y -q --no-install-recommends $missing
