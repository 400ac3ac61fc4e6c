#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# examples/migration of the source tree $1: the settings that sketch wrote
# with Q_ENUM ($2) read alike in sketch after its migration to enumgen ($3),
# which stores them as keys and reads those back. Given enumgen-import ($4)
# and the compiler flags of the build before (the rest), the list and lock of
# the build after are what enumgen-import writes of the header before.
set -euo pipefail
source=$1/examples/migration before=$2 after=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# sketch INI THEME SHAPE OPTIONS with the build before, then sketch INI with
# the build after, twice; $4 is a line the build before writes to the INI file.
check() {
    local ini=$tmp/$1.ini wrote read
    wrote=$("$before" "$ini" "$1" "$2" "$3")
    grep -qxF "$4" "$ini" || fail "the build before wrote: $(cat "$ini")"
    read=$("$after" "$ini")
    [ "$read" = "$wrote" ] || fail "the build before wrote:
$wrote
and the build after read:
$read"
    grep -qx "shape=$2" "$ini" || fail "the build after wrote: $(cat "$ini")"
    read=$("$after" "$ini")
    [ "$read" = "$wrote" ] || fail "the build after read back: $read"
}
check Dark Triangle 'Antialias|Shadow' 'options=@ByteArray(Antialias|Shadow)'
check System Circle NoOption 'shape=0'

if [ $# -gt 3 ]; then
    import=$4
    shift 4
    (cd "$source/before" && "$import" -o "$tmp/sketch.enums" --lock "$tmp/sketch.enums.lock" settings.h -- "$@") 2> "$tmp/import.log" ||
        { cat "$tmp/import.log"; fail "enumgen-import failed"; }
    for file in sketch.enums sketch.enums.lock; do
        cmp -s "$tmp/$file" "$source/after/$file" || fail "enumgen-import wrote another $file: $(diff "$source/after/$file" "$tmp/$file")"
    done
fi
echo "PASS: migration"
