#!/bin/sh
# Runs a test program as an ordinary user. Root reads and writes whatever the permissions say,
# so tests of read-only folders and unreadable files skip themselves under root; CI runs as root,
# and this runs those tests once more as "nobody". Exit status 77 (CTest's "skipped") when that
# is not possible here, and when the tests already ran as an ordinary user.
set -u
if [ "$(id -u)" -ne 0 ]; then
    echo "not root: the tests already ran as this ordinary user" >&2
    exit 77
fi
if ! command -v setpriv >/dev/null 2>&1; then
    echo "setpriv is missing: cannot run as an ordinary user" >&2
    exit 77
fi
as_nobody() {
    setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=/tmp TMPDIR=/tmp "$@"
}
if ! as_nobody test -x "$1"; then
    echo "$1 cannot be run by an ordinary user (a private folder above it?)" >&2
    exit 77
fi
cd /tmp && as_nobody "$@"
