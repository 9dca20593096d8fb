#!/bin/bash
# Runs every libFuzzer program of build-fuzz for the given number of seconds each, starting from
# the seed corpus in fuzz/corpus. New interesting inputs collect in build-fuzz/corpus; an input
# that breaks a promise is saved in build-fuzz/crashes and the run fails. Turn such an input into
# a regression test by copying it to fuzz/regressions/<target>/ with a name that says what broke.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
status=0
for program in build-fuzz/bin/fuzz-*; do
    target=${program##*/fuzz-}
    mkdir -p "build-fuzz/corpus/$target" build-fuzz/crashes
    echo "== $target: $seconds s"
    if ! "$program" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="build-fuzz/crashes/$target-" \
        "build-fuzz/corpus/$target" "fuzz/corpus/$target" >"build-fuzz/$target.log" 2>&1; then
        status=1
        grep -E 'broken promise|ERROR|SUMMARY' "build-fuzz/$target.log" || true
    fi
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "build-fuzz/$target.log" || true
done
exit $status
