#!/bin/sh
# Runs clang-tidy with the repository's .clang-tidy over the sources of the programs, the
# benchmarks, the fuzz checks and the tools, as compiled in BUILD_DIR (its
# compile_commands.json), and fails when it finds anything.
# Usage: tools/run-tidy.sh BUILD_DIR [JOBS]
set -eu
cd "$(dirname "$0")/.."
build="$1"
jobs="${2:-2}"
log="$build/clang-tidy.log"
root="$(pwd)"
# Only the files of the build that are ours: not the generated ones in the build folder.
run-clang-tidy -p "$build" -quiet -j "$jobs" "^$root/(src|bench|fuzz|tools)/.*\\.cpp\$" \
    >"$log" 2>&1 || status=$?
if [ "${status:-0}" -ne 0 ] || grep -q -E '(warning|error):' "$log"; then
    grep -E -A3 '(warning|error):' "$log" || tail -n 40 "$log"
    echo "clang-tidy found problems; the whole report is in $log" >&2
    exit 1
fi
echo "clang-tidy: no findings"
