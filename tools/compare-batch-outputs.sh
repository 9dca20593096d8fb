#!/usr/bin/env bash
# Runs the Linux skerry-batch and the Windows one (under Wine) on the same inputs and compares
# what they give byte for byte: files, standard output and exit status. The inputs are the
# example scans in every form of save and as listings, a blank subtracted, every data set of
# the example fit file into a folder, and names with letters beyond ASCII, which reach the
# Windows program as UTF-16.
#
# Usage: compare-batch-outputs.sh LINUX_BATCH EXAMPLES_DIR WINDOWS_COMMAND...
#   WINDOWS_COMMAND is how skerry-batch.exe is started (wine and its settings, then the file).
set -u
if [ $# -lt 3 ]; then
    sed -n '2,/^set -u/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
    exit 2
fi
linux=$1
examples=$2
shift 2
windows=("$@")
if [ ! -x "$linux" ]; then
    echo "$linux: no Linux skerry-batch to compare with (build it first: make build)" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in"
# The single example scans; the example run in its own folder is not needed here.
find "$examples" -maxdepth 1 -type f -exec cp {} "$work/in/" \;
cp "$work/in/cell1-absorbance.RA1" "$work/in/Zelle-ä-Ω.RA1"
# Wine takes the command line and file names in the locale's encoding.
export LC_ALL=C.UTF-8

runs=0
# Runs one command line on both systems. '@' in an argument stands for the output folder of
# the system that runs it.
both() {
    local name=$1
    shift
    local side out
    for side in linux windows; do
        out=../$side/$name
        mkdir -p "$work/$side/$name"
        if [ "$side" = linux ]; then
            local command=("$linux")
        else
            local command=("${windows[@]}")
        fi
        (cd "$work/in" && "${command[@]}" "${@//@/$out}" >"$out/stdout" 2>"$work/$side.$name.err")
        echo $? >"$work/$side/$name/status"
    done
    runs=$((runs + 1))
}

for scan in cell1-absorbance.RA1 cell2-interference.IP1 cell1-edited-xi.dat; do
    both "$scan-complete" -o @/out "$scan"
    both "$scan-truncated-xi" --truncated --xi -o @/out "$scan"
    both "$scan-listing" --listing "$scan"
    both "$scan-inverted-noise" --invert --noise 0.02 --seed 7 --xi "$scan"
done
both blank --blank cell1-blank.RA1 -o @/out cell1-absorbance.RA1
both blank-listing --blank cell1-blank.RA1 --listing cell1-absorbance.RA1
both fit-all --fit cell1.fit --entry all -o @
both fit-second --fit cell1.fit --entry 2 --truncated
mkdir -p "$work/linux/Ausgabe-é" "$work/windows/Ausgabe-é"
both "Ausgabe-é" -o @ "Zelle-ä-Ω.RA1" cell2-interference.IP1
both missing-input -o @/out no-such-scan.RA1

if ! diff -r "$work/linux" "$work/windows"; then
    for err in "$work"/*.err; do
        [ -s "$err" ] && { echo "--- ${err##*/}"; cat "$err"; }
    done
    echo "skerry-batch under Wine differs from skerry-batch on Linux" >&2
    exit 1
fi
files=$(find "$work/linux" -type f | wc -l)
echo "$runs runs of skerry-batch: the same $files files on Linux and under Wine"
