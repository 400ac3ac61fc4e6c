#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The README's first application as a user copies it: every code block marked
# <!-- file: PATH --> in the README and docs/*.md is PATH of the source tree $1
# to the byte, and that application builds against enumgen installed from the
# build tree $2 and runs.
set -euo pipefail
source=$1 build=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Each marked block into $tmp/blocks/PATH.
awk -v out="$tmp/blocks" '
    /^<!-- file: .* -->$/ { path = $3; next }
    path != "" && /^```/ && !inside { inside = 1; file = out "/" path; system("mkdir -p \"$(dirname \"" file "\")\""); printf "" > file; next }
    inside && /^```$/ { inside = 0; path = ""; close(file); next }
    inside { print > file }
' "$source/README.md" "$source"/docs/*.md
for name in $(cd "$tmp/blocks" && find * -type f); do
    cmp -s "$source/$name" "$tmp/blocks/$name" || fail "the block of $name differs: $(diff "$source/$name" "$tmp/blocks/$name")"
done
app=examples/minimal
for file in "$source/$app"/*; do
    [ -f "$tmp/blocks/$app/$(basename "$file")" ] || fail "the README shows no block for $app/$(basename "$file")"
done

cmake --install "$build" --prefix "$tmp/prefix" > /dev/null
cmake -S "$tmp/blocks/$app" -B "$tmp/build" -G Ninja -DCMAKE_PREFIX_PATH="$tmp/prefix" > "$tmp/log" 2>&1 &&
    cmake --build "$tmp/build" >> "$tmp/log" 2>&1 || { cat "$tmp/log"; fail "the README's application does not build"; }
out=$("$tmp/build/colors" red 2>&1)
expected=$'red Red\ngreen Green\nblue Blue\nColor::Red "red"'
[ "$out" = "$expected" ] || fail "the README's application printed: $out"
echo "PASS: the README's application"
