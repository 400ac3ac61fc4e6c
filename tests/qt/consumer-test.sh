#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the example program of the source tree $1 the way a user's project
# gets enumgen from the build tree $2, then checks which steps later builds
# run again, what they show of enumgen's messages, and the translations. $3 is
# the way:
#   install GENERATOR  cmake --install to a prefix, find_package, CMake GENERATOR
#   deb                the .deb from cpack, unpacked; find_package and Ninja
#   fetch              FetchContent from the source tree; Ninja; the enums in a
#                      library that the program links
#   qmake              the .deb from cpack, unpacked; qmake6 and make, with
#                      QMAKEFEATURES set for the first qmake6 call only
#   qmake-qml          the .deb, qmake6 and make with the QML example, run offscreen
#   qml GENERATOR      cmake --install, the QML example with CMake GENERATOR, run
#                      offscreen
set -euo pipefail
source=$1 build=$2 way=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $way: $*" >&2; exit 1; }
# make's own warnings in the build log, such as two rules for one file.
make_warned() { grep -E '^(g?make(\[[0-9]+\])?|[^ :]*Makefile[^ :]*:[0-9]+): warning:' "$tmp/build.log"; }
mkdir "$tmp/src"
cp -r "$source/examples/app" "$tmp/src/"
app=$tmp/build
list=$tmp/src/app/drawing.enums
target=drawing

# A package made by cpack and unpacked into $tmp/root, as dpkg would install it.
unpack_deb() {
    cpack -G DEB -B "$tmp/deb" --config "$build/CPackConfig.cmake" > "$tmp/cpack.log" 2>&1 ||
        { cat "$tmp/cpack.log"; fail "cpack failed"; }
    local version deb
    version=$("$build/enumgen" --version | cut -d' ' -f2)
    deb=$tmp/deb/enumgen_${version}_$(dpkg --print-architecture).deb
    [ -f "$deb" ] || fail "no $deb: $(ls "$tmp/deb")"
    dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "the package depends on: $(dpkg-deb -f "$deb" Depends)"
    dpkg-deb -x "$deb" "$tmp/root"
    generator=$tmp/root/usr/bin/enumgen
    [ "$("$generator" --version)" = "enumgen $version" ] || fail "the packaged enumgen is $("$generator" --version)"
}

case $way in
install)
    cmake --install "$build" --prefix "$tmp/prefix" > /dev/null
    generator=$tmp/prefix/bin/enumgen
    configure=(cmake -S "$tmp/src/app" -B "$app" -G "$4" -DCMAKE_PREFIX_PATH="$tmp/prefix")
    ;;
deb)
    unpack_deb
    configure=(cmake -S "$tmp/src/app" -B "$app" -G Ninja -DCMAKE_PREFIX_PATH="$tmp/root/usr")
    ;;
fetch)
    generator=$app/_deps/enumgen-build/enumgen
    target=drawing-enums
    configure=(cmake -S "$tmp/src/app" -B "$app" -G Ninja -DENUMGEN_SOURCE_DIR="$source" -DDRAWING_ENUMS_LIBRARY=ON)
    ;;
qmake)
    unpack_deb
    features=$(dirname "$(find "$tmp/root" -name enumgen.prf)")
    configure=(sh -c "mkdir -p '$app' && cd '$app' && QMAKEFEATURES='$features' qmake6 '$tmp/src/app/drawing.pro'")
    ;;
qmake-qml)
    # Values by name, a C++ property and the model at run time.
    unpack_deb
    export QMAKEFEATURES
    QMAKEFEATURES=$(dirname "$(find "$tmp/root" -name enumgen.prf)")
    configure=(sh -c "mkdir -p '$app' && cd '$app' && qmake6 '$tmp/src/qml/cards.pro'")
    ;;
qml)
    cmake --install "$build" --prefix "$tmp/prefix" > /dev/null
    configure=(cmake -S "$tmp/src/qml" -B "$app" -G "$4" -DCMAKE_PREFIX_PATH="$tmp/prefix")
    ;;
*) fail "unknown way" ;;
esac
enum=$app/$target-enumgen/enum
case $way in *qml) cp -r "$source/examples/qml" "$tmp/src/" ;; esac
"${configure[@]}" > "$tmp/configure.log" 2>&1 || { cat "$tmp/configure.log"; fail "configure failed"; }
if [[ $way = qmake* ]]; then
    try_build() { make -C "$app" -j"$(nproc)" > "$tmp/build.log" 2>&1; }
else
    try_build() { cmake --build "$app" > "$tmp/build.log" 2>&1; }
fi
build() {
    try_build || { cat "$tmp/build.log"; fail "build failed"; }
    ! make_warned || fail "make warned"
}
# Accepts the list's changes into its lock, as a user does on purpose.
accept() {
    if [ "$way" = qmake ]; then
        make -C "$app" enumgen_lock_update > "$tmp/accept.log" 2>&1
    else
        cmake --build "$app" --target "${target}_lock_update" > "$tmp/accept.log" 2>&1
    fi || { cat "$tmp/accept.log"; fail "the lock update failed"; }
}
lock=$tmp/src/app/drawing.enums.lock
# Every object file, generated file and the generator's stamp, with its mtime;
# objects named as qmake names them.
times() { find "$app" \( -name '*.o' -o -path "$enum/*" -o -name enumgen.stamp \) -printf '%P %T@\n' | sort; }
# The entries of `times` that changed from $1 to now, names only.
changed() { diff <(echo "$1") <(times) | sed -n 's/^> \([^ ]*\) .*/\1/p' | sed 's,.*/,,; s/\.cpp\.o$/.o/' | sort | tr '\n' ' '; }
# File times have a resolution the next edit must not fall inside.
tick() { sleep 1; }
# Whether the build log has a $1 (error or warning) at line $2 of the list as
# Qt Creator's GCC parser and VS Code's $gcc problem matcher read it.
ide_reads() {
    grep -E "^$list:$2:([0-9]+:)?[[:space:]]+((fatal |#)?$1:?[[:space:]])(.+)$" "$tmp/build.log" |
        grep -qE "^([^:]*):$2:[0-9]*:?[[:space:]]+(fatal[[:space:]]+)?$1:[[:space:]]+(.*)$"
}

build
# A QObject's header that includes generated headers, edited: moc reads the
# generated headers too, and the builds after an edit run, with no cycle
# between moc and the generator.
edit_qobject_header() { for _ in 1 2; do tick; touch "$1"; build; done; }
if [[ $way = *qml ]]; then
    edit_qobject_header "$tmp/src/qml/table.h"
    out=$(QT_QPA_PLATFORM=offscreen "$app/cards" --print spades)
    [ "$out" = "Spades, The suit is trumps: yes; table: spades, trumps" ] || fail "cards printed: $out"
    echo "PASS: $way ${4:-}"
    exit 0
fi
edit_qobject_header "$tmp/src/app/drawing.h"
export XDG_CONFIG_HOME=$tmp/config
out=$("$app/drawing" square blue 'antialias|shadow')
[ "$out" = "Square (4 corners) in Blue #0000ff; Smooth edges, Drop shadow" ] || fail "drawing printed: $out"
# The choice comes back from the settings, stored as keys.
[ "$("$app/drawing")" = "$out" ] || fail "drawing from its settings printed: $("$app/drawing")"
grep -qx 'options=antialias|shadow' "$XDG_CONFIG_HOME/enumgen-example/drawing.ini" ||
    fail "settings: $(cat "$XDG_CONFIG_HOME/enumgen-example/drawing.ini")"
out=$(LC_ALL=fr_FR.UTF-8 "$app/drawing" square red shadow)
[ "$out" = "Carré (4 corners) in Rouge #ff0000; Ombre portée" ] || fail "drawing in French printed: $out"

before=$(times); tick; build
[ -z "$(changed "$before")" ] || fail "an unchanged build ran again: $(changed "$before")"

# One item's description: only color.hpp changes, in a part that the files
# including it do not see, so only its source is compiled again.
before=$(times); tick
sed -i 's/\[-Blue-\]/[-Deep blue-]/' "$list"
build
[ "$(changed "$before")" = "color.hpp color.o enumgen.stamp " ] ||
    fail "a description change rebuilt: $(changed "$before")"
# With Ninja the configuration runs again only when the list's enums change.
[ "$way" = qmake ] || [ "${4:-Ninja}" != Ninja ] || ! grep -q 'Re-running CMake' "$tmp/build.log" ||
    fail "a description change configured the project again: $(cat "$tmp/build.log")"
out=$("$app/drawing" square blue)
[ "$out" = "Square (4 corners) in Deep blue #0000ff; No option" ] || fail "drawing printed: $out"
before=$(times); tick; build
[ -z "$(changed "$before")" ] || fail "the build after the change ran again: $(changed "$before")"

# A new generator runs again but changes no file, so nothing is compiled.
touch "$generator"
build
[ "$(changed "$before")" = "enumgen.stamp " ] || fail "a new generator rebuilt: $(changed "$before")"

# A changed key would lose the settings that hold the old one: the lock stops
# the build at the list's line until the change is accepted. Item keys are
# only in the item table of the enum's source. Text outside the markers is a
# warning, shown at its line by a build that succeeds.
before=$(times); tick
sed -i 's/\[\[blue\]\]/[[navy]] (was blue)/' "$list"
line=$(grep -n '(was blue)' "$list" | cut -d: -f1)
! try_build || fail "a key change built past the lock"
ide_reads error "$line" || fail "no error at the list's line: $(cat "$tmp/build.log")"
accept
build
[ "$(changed "$before")" = "color.cpp color.o enumgen.stamp " ] || fail "a key change rebuilt: $(changed "$before")"
grep -q 'key "navy" former-key "blue"' "$lock" || fail "the lock: $(cat "$lock")"
ide_reads warning "$line" || fail "no warning at the list's line: $(cat "$tmp/build.log")"
# The settings still hold the old key, which reads as the item.
[ "$("$app/drawing")" = "Square (4 corners) in Deep blue #0000ff; No option" ] ||
    fail "drawing from settings with the old key printed: $("$app/drawing")"
[ "$("$app/drawing" circle navy)" = "Circle (0 corners) in Deep blue #0000ff; No option" ] ||
    fail "drawing with the new key printed: $("$app/drawing" circle navy)"

# Enums named alike but for case, like the registry files, or by no
# identifier: the build runs enumgen, which says so, and a fixed list builds.
cp "$list" "$tmp/list"
printf '+Size\n+SIZE\n+Enums\n+Odd;$<0:x>[y\\\n' >> "$list"
! try_build || fail "a list with the same enum twice built"
ide_reads error "$(grep -n '^+SIZE' "$list" | cut -d: -f1)" || fail "no error at the list's line: $(cat "$tmp/build.log")"
cp "$tmp/list" "$list"
build

# A removed enum's files leave the output folder (and its object qmake's
# build folder), so its header can no longer be included, once its removal
# is accepted.
sed -i '/^+Priority/,/^$/d' "$list"
! try_build || fail "a removed enum built past the lock"
accept
build
left=$(find "$enum" "$enum/../include" "$app" -maxdepth 1 -name 'priority.*')
[ -z "$left" ] || fail "a removed enum left: $left"
"$app/drawing" --list | grep -qx '3 enums' || fail "drawing --list: $("$app/drawing" --list)"
cp "$tmp/src/app/main.cpp" "$tmp/main.cpp"
echo '#include "priority.hpp"' >> "$tmp/src/app/main.cpp"
! try_build || fail "the removed enum's header was still included"
cp "$tmp/main.cpp" "$tmp/src/app/main.cpp"

# An item inserted mid-enum renumbers those after it: the build fails at the
# first of them. With a value of its own, and the next item's value given as
# the message says, the item is added to the lock.
sed -i 's/^-Square/-Pentagon[[pentagon]][-Pentagon-][:5:]\n-Square/' "$list"
! try_build || fail "an inserted item built past the lock"
ide_reads error "$(grep -n '^-Square' "$list" | cut -d: -f1)" || fail "no error at Square's line: $(cat "$tmp/build.log")"
sed -i 's/^-Pentagon\[\[pentagon\]\]/-Pentagon[[pentagon]][=5=]/; s/^-Square\[\[square\]\]/-Square[[square]][=1=]/' "$list"
build
grep -q '^item Pentagon value 5 key "pentagon"$' "$lock" || fail "the lock lacks the new item: $(cat "$lock")"
# In CI the lock is frozen: a change it lacks fails the build.
sed -i 's/^-Triangle.*/&\n-Hexagon[[hexagon]][-Hexagon-][:6:][=6=]/' "$list"
if [ "$way" = qmake ]; then
    (cd "$app" && qmake6 "$tmp/src/app/drawing.pro" ENUMGEN_LOCKED=1) > /dev/null
else
    cmake -DENUMGEN_LOCKED=ON "$app" > /dev/null
fi
! try_build || fail "a build with ENUMGEN_LOCKED took a stale lock"
grep -q "is not in the lock" "$tmp/build.log" || fail "no message about the stale lock: $(cat "$tmp/build.log")"
sed -i '/^-Hexagon/d' "$list"
if [ "$way" = qmake ]; then
    (cd "$app" && qmake6 "$tmp/src/app/drawing.pro") > /dev/null
else
    cmake -DENUMGEN_LOCKED=OFF "$app" > /dev/null
fi
# A lock that is gone fails the build: a new one would forget its history.
mv "$lock" "$tmp/lock.kept"
! try_build || fail "a build made a new lock in place of one that was gone"
grep -q "the lock is gone" "$tmp/build.log" || fail "no message about the lost lock: $(cat "$tmp/build.log")"
mv "$tmp/lock.kept" "$lock"

# lupdate finds the descriptions in the generated headers.
ts=$tmp/src/app/drawing_fr.ts
if [ "$way" = qmake ]; then
    (cd "$app" && "$(qmake6 -query QT_HOST_BINS)/lupdate" "$tmp/src/app/drawing.pro") > "$tmp/lupdate.log" 2>&1
else
    cmake --build "$app" --target update_translations > "$tmp/lupdate.log" 2>&1
fi || { cat "$tmp/lupdate.log"; fail "lupdate failed"; }
grep -q '<source>Deep blue</source>' "$ts" || fail "the translations lack a new description: $(cat "$ts")"
echo "PASS: $way ${4:-}"
