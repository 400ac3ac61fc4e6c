#!/usr/bin/env bash
# Installs enumgen from the build tree $1 to a temporary prefix, builds the
# example program of the source tree $2 against it with the CMake generator $3,
# and checks which steps later builds run again.
set -euo pipefail
build=$1 source=$2 generator=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/prefix" > /dev/null
mkdir "$tmp/src"
cp -r "$source/examples/app" "$source/examples/definitions" "$tmp/src/"
app=$tmp/build
enum=$app/drawing-enumgen/enum
list=$tmp/src/definitions/enum-list

fail() { echo "FAIL: $*" >&2; exit 1; }
# Every object file, generated file and the generator's log, with its mtime.
times() { find "$app" \( -name '*.o' -o -path "$enum/*" -o -name enumgen.log \) -printf '%P %T@\n' | sort; }
# The entries of `times` that changed from $1 to now, names only.
changed() { diff <(echo "$1") <(times) | sed -n 's/^> \([^ ]*\) .*/\1/p' | sed 's,.*/,,' | sort | tr '\n' ' '; }
build() { cmake --build "$app" > "$tmp/build.log" 2>&1 || { cat "$tmp/build.log"; fail "build failed"; }; }
# File times have a resolution the next edit must not fall inside.
tick() { sleep 1; }

cmake -S "$tmp/src/app" -B "$app" -G "$generator" -DCMAKE_PREFIX_PATH="$tmp/prefix" > /dev/null
build
out=$("$app/drawing" square blue antialias,shadow)
[ "$out" = "Square (4 corners) in Blue #0000ff; Smooth edges, Drop shadow" ] || fail "drawing printed: $out"

before=$(times); tick; build
[ -z "$(changed "$before")" ] || fail "an unchanged build ran again: $(changed "$before")"

# One item's description: only color.hpp changes, and only what includes it
# is compiled again; the generator's own run is in the log.
before=$(times); tick
sed -i 's/\[-Blue-\]/[-Deep blue-]/' "$list"
build
[ "$(changed "$before")" = "color.cpp.o color.hpp enumgen.log enums.cpp.o main.cpp.o " ] ||
    fail "a description change rebuilt: $(changed "$before")"
out=$("$app/drawing" square blue)
[ "$out" = "Square (4 corners) in Deep blue #0000ff; No option" ] || fail "drawing printed: $out"
before=$(times); tick; build
[ -z "$(changed "$before")" ] || fail "the build after the change ran again: $(changed "$before")"

# A new generator runs again but changes no file, so nothing is compiled.
touch "$tmp/prefix/bin/enumgen"
build
[ "$(changed "$before")" = "enumgen.log " ] || fail "a new generator rebuilt: $(changed "$before")"

# A removed enum's files stay in the output folder but leave the target: a
# broken priority.cpp is not compiled.
before=$(times); tick
sed -i '/^+Priority/,/^$/d' "$list"
build
echo '#error a removed enum is still compiled' >> "$enum/priority.cpp"
build
"$app/drawing" --list | grep -qx '3 enums' || fail "drawing --list: $("$app/drawing" --list)"
echo "PASS: $generator"
