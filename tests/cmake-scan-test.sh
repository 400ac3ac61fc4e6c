#!/bin/sh
# SPDX-License-Identifier: MIT
# cmake-scan-test.sh <enumgen> <cmake> <source dir> <scratch dir>
# enumgen_generate learns the enums' files at configure time from its own scan
# of the list, as the executable may not exist yet; the build then runs
# enumgen, so the two must name the same files. For every enum list among the
# golden cases, the fuzz corpus and the examples that enumgen accepts, the
# scan must name exactly the per-enum files `enumgen --outputs` names, in the
# same order.
set -eu
enumgen=$1 cmake=$2 source=$3 scratch=$4
rm -rf "$scratch"
mkdir -p "$scratch/out"

# The enum list of a fuzz input: what comes before the first "\n%%\n".
list_part() {
    size=$(wc -c < "$1")
    for offset in $(LC_ALL=C grep -abx '%%' "$1" | cut -d: -f1); do
        if [ "$offset" -gt 0 ] && [ $((offset + 2)) -lt "$size" ]; then
            head -c $((offset - 1)) "$1"
            return
        fi
    done
    cat "$1"
}

compared=0 failed=0
for input in "$source"/tests/golden/*/input/enum-list "$source"/tests/fuzz/corpus/* \
    "$source"/examples/*/*.enums "$source"/tests/qt/enum-list; do
    [ -f "$input" ] || continue
    list_part "$input" > "$scratch/list"
    "$enumgen" --outputs --list "$scratch/list" --templates "$source/templates/qt" --output "$scratch/out/" \
        > "$scratch/outputs" 2> /dev/null || continue
    sed -n 's|^.*/out/\(.*\)\.hpp$|\1|p' "$scratch/outputs" | grep -vx enums > "$scratch/expected" || true
    rm -f "$scratch/names"
    if ! "$cmake" -DENUMGEN_TARGET=scan "-DENUMGEN_LIST=$scratch/list" "-DENUMGEN_NAMES_FILE=$scratch/names" \
        -P "$source/cmake/enumgen-generate.cmake" > "$scratch/scan-log" 2>&1; then
        echo "$input: enumgen accepts the list, the CMake scan does not:"
        cat "$scratch/scan-log"
        failed=$((failed + 1))
        continue
    fi
    head -n 1 "$scratch/names" | tr ';' '\n' | sed '/^$/d' > "$scratch/scanned"
    if ! cmp -s "$scratch/expected" "$scratch/scanned"; then
        echo "$input: the CMake scan names other files than enumgen --outputs (enumgen's first):"
        diff "$scratch/expected" "$scratch/scanned" || true
        failed=$((failed + 1))
    fi
    compared=$((compared + 1))
done
echo "$compared lists compared, $failed differ"
# Fewer would mean the inputs moved or enumgen rejects what it should take.
[ "$compared" -ge 15 ] && [ "$failed" -eq 0 ]
