#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The README's first application as a user copies it: every code block marked
# <!-- file: PATH --> in the README and docs/*.md is PATH of the source tree $1
# to the byte, the README itself shows every file of that application, and
# the application builds against enumgen installed from the build tree $2 and
# prints what the README says it prints.
set -euo pipefail
source=$1 build=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Each marked block of the given pages into $tmp/$1/PATH.
blocks() {
    local out=$tmp/$1
    shift
    mkdir -p "$out"
    awk -v out="$out" '
        /^<!-- file: .* -->$/ { path = $3; next }
        path != "" && /^```/ && !inside { inside = 1; file = out "/" path; system("mkdir -p \"$(dirname \"" file "\")\""); printf "" > file; next }
        inside && /^```$/ { inside = 0; path = ""; close(file); next }
        inside { print > file }
    ' "$@"
}
pages=("$source/README.md" "$source"/docs/*.md)
[ -f "${pages[1]}" ] || fail "no page in $source/docs"
blocks all "${pages[@]}"
blocks readme "$source/README.md"
for name in $(cd "$tmp/all" && find * -type f); do
    cmp -s "$source/$name" "$tmp/all/$name" || fail "the block of $name differs: $(diff "$source/$name" "$tmp/all/$name")"
done
app=examples/minimal
for file in "$source/$app"/*; do
    [ -f "$tmp/readme/$app/$(basename "$file")" ] || fail "the README shows no block for $app/$(basename "$file")"
done

# What the README says the application prints: the block after the line "prints".
expected=$(awk '/^prints$/ { want = 1; next } want && /^```/ { if (inside) exit; inside = 1; next } inside' "$source/README.md")
[ -n "$expected" ] || fail "the README shows no output of its application after a line 'prints'"

cmake --install "$build" --prefix "$tmp/prefix" > /dev/null
cmake -S "$tmp/readme/$app" -B "$tmp/build" -G Ninja -DCMAKE_PREFIX_PATH="$tmp/prefix" > "$tmp/log" 2>&1 &&
    cmake --build "$tmp/build" >> "$tmp/log" 2>&1 || { cat "$tmp/log"; fail "the README's application does not build"; }
out=$("$tmp/build/colors" red 2>&1)
[ "$out" = "$expected" ] || fail "the README's application printed:
$out
where the README says it prints:
$expected"
echo "PASS: the README's application"
