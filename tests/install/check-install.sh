#!/bin/sh
# Installs a build into a temporary prefix, as `cmake --install` and the Debian package do, and
# checks what a desktop finds there: both programs, a valid desktop entry whose command and icon
# exist, the icon in the theme's sizes, manual pages that format without a warning and describe
# every option skerry-batch has, and the example scans.
# Usage: check-install.sh BUILD_DIR CMAKE
set -eu
build="$1"
cmake="$2"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

for program in skerry skerry-batch; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
done

desktop="$prefix/share/applications/skerry.desktop"
if [ -f "$desktop" ]; then
    report="$(desktop-file-validate "$desktop" 2>&1)" || fail "desktop-file-validate: $report"
    [ -z "$report" ] || fail "desktop-file-validate has remarks: $report"
    entry() { sed -n "s/^$1=//p" "$desktop"; }
    program=$(entry Exec | cut -d' ' -f1)
[ -x "$prefix/bin/$program" ] || fail "Exec=$(entry Exec) is not an installed program"
    [ "$(entry Icon)" = skerry ] || fail "Icon=$(entry Icon), not skerry"
    case ";$(entry Categories)" in
    *";Science;"*) ;;
    *) fail "Categories=$(entry Categories) lacks Science" ;;
    esac
else
    fail "share/applications/skerry.desktop is not installed"
fi

icons="$prefix/share/icons/hicolor"
grep -q '<svg' "$icons/scalable/apps/skerry.svg" 2>/dev/null ||
    fail "the scalable icon is not installed"
for side in 16 32 48 256; do
    png="$icons/${side}x${side}/apps/skerry.png"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    size="$(od -An -tu1 -j16 -N8 "$png" 2>/dev/null | tr -s ' ' | sed 's/^ //')"
    [ "$size" = "0 0 $((side / 256)) $((side % 256)) 0 0 $((side / 256)) $((side % 256))" ] ||
        fail "$png is not a $side x $side PNG"
done

help="$("$prefix/bin/skerry-batch" --help)" || fail "skerry-batch --help failed"
for page in skerry skerry-batch; do
    manual="$prefix/share/man/man1/$page.1.gz"
    if [ ! -f "$manual" ]; then
        fail "share/man/man1/$page.1.gz is not installed"
        continue
    fi
    warnings="$(gzip -dc "$manual" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)"
    [ -z "$warnings" ] || fail "$page.1 formats with warnings: $warnings"
done
text="$(gzip -dc "$prefix/share/man/man1/skerry-batch.1.gz" |
    LC_ALL=C.UTF-8 groff -man -Tutf8 -P-cbou 2>/dev/null)"
options="$(printf '%s\n' "$help" | grep -oE -- '(^| )-(-[a-z]+|[a-z])\b' | tr -d ' ' | sort -u)"
[ -n "$options" ] || fail "no options found in skerry-batch --help"
for option in $options; do
    printf '%s\n' "$text" | grep -q -- "$option" ||
        fail "the manual page of skerry-batch does not describe $option"
done
printf '%s\n' "$text" | grep -q "EXIT STATUS" || fail "the manual page has no EXIT STATUS"

examples="$prefix/share/skerry/examples"
for example in cell1-absorbance.RA1 cell1-blank.RA1 cell1-edited-xi.dat cell1.fit \
    cell2-interference.IP1 run/00001.RA1 run/00009.RA1; do
    [ -f "$examples/$example" ] || fail "share/skerry/examples/$example is not installed"
done
"$prefix/bin/skerry-batch" --fit "$examples/cell1.fit" --entry 2 --truncated >/dev/null ||
    fail "the installed skerry-batch cannot read the installed fit file's data sets"

[ "$failures" -eq 0 ] || exit 1
echo "installed files as expected"
