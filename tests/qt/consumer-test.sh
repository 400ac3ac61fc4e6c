#!/usr/bin/env bash
# Builds the example program of the source tree $1 the way a user's project
# gets enumgen from the build tree $2, then checks which steps later builds
# run again. $3 is the way:
#   install GENERATOR  cmake --install to a prefix, find_package, CMake GENERATOR
#   deb                the .deb from cpack, unpacked; find_package and Ninja
#   fetch              FetchContent from the source tree; Ninja
#   qmake              the .deb from cpack, unpacked; qmake6 and make
#   qmake-qml          the same with the QML example, run offscreen
set -euo pipefail
source=$1 build=$2 way=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $way: $*" >&2; exit 1; }
mkdir "$tmp/src"
cp -r "$source/examples/app" "$tmp/src/"
app=$tmp/build
list=$tmp/src/app/drawing.enums

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
    configure=(cmake -S "$tmp/src/app" -B "$app" -G Ninja -DENUMGEN_SOURCE_DIR="$source")
    ;;
qmake)
    unpack_deb
    export QMAKEFEATURES
    QMAKEFEATURES=$(dirname "$(find "$tmp/root" -name enumgen.prf)")
    configure=(sh -c "mkdir -p '$app' && cd '$app' && qmake6 '$tmp/src/app/drawing.pro'")
    ;;
qmake-qml)
    # Values by name, a C++ property and the model at run time.
    unpack_deb
    export QMAKEFEATURES
    QMAKEFEATURES=$(dirname "$(find "$tmp/root" -name enumgen.prf)")
    cp -r "$source/examples/qml" "$tmp/src/"
    (mkdir "$app" && cd "$app" && qmake6 "$tmp/src/qml/cards.pro" && make -j"$(nproc)") > "$tmp/build.log" 2>&1 ||
        { cat "$tmp/build.log"; fail "build failed"; }
    out=$(QT_QPA_PLATFORM=offscreen "$app/cards" --print spades)
    [ "$out" = "Spades, The suit is trumps: yes; table: spades, trumps" ] || fail "cards printed: $out"
    echo "PASS: $way"
    exit 0
    ;;
*) fail "unknown way" ;;
esac
enum=$app/drawing-enumgen/enum
"${configure[@]}" > "$tmp/configure.log" 2>&1 || { cat "$tmp/configure.log"; fail "configure failed"; }
if [ "$way" = qmake ]; then
    build() { make -C "$app" -j"$(nproc)" > "$tmp/build.log" 2>&1 || { cat "$tmp/build.log"; fail "build failed"; }; }
else
    build() { cmake --build "$app" > "$tmp/build.log" 2>&1 || { cat "$tmp/build.log"; fail "build failed"; }; }
fi
# Every object file, generated file and the generator's stamp, with its mtime;
# objects named as qmake names them.
times() { find "$app" \( -name '*.o' -o -path "$enum/*" -o -name enumgen.stamp \) -printf '%P %T@\n' | sort; }
# The entries of `times` that changed from $1 to now, names only.
changed() { diff <(echo "$1") <(times) | sed -n 's/^> \([^ ]*\) .*/\1/p' | sed 's,.*/,,; s/\.cpp\.o$/.o/' | sort | tr '\n' ' '; }
# File times have a resolution the next edit must not fall inside.
tick() { sleep 1; }

build
export XDG_CONFIG_HOME=$tmp/config
out=$("$app/drawing" square blue 'antialias|shadow')
[ "$out" = "Square (4 corners) in Blue #0000ff; Smooth edges, Drop shadow" ] || fail "drawing printed: $out"
# The choice comes back from the settings, stored as keys.
[ "$("$app/drawing")" = "$out" ] || fail "drawing from its settings printed: $("$app/drawing")"
grep -qx 'options=antialias|shadow' "$XDG_CONFIG_HOME/enumgen-example/drawing.ini" ||
    fail "settings: $(cat "$XDG_CONFIG_HOME/enumgen-example/drawing.ini")"

before=$(times); tick; build
[ -z "$(changed "$before")" ] || fail "an unchanged build ran again: $(changed "$before")"

# One item's description: only color.hpp changes, and only what includes it
# is compiled again.
before=$(times); tick
sed -i 's/\[-Blue-\]/[-Deep blue-]/' "$list"
build
[ "$(changed "$before")" = "color.hpp color.o enumgen.stamp enums.o main.o " ] ||
    fail "a description change rebuilt: $(changed "$before")"
out=$("$app/drawing" square blue)
[ "$out" = "Square (4 corners) in Deep blue #0000ff; No option" ] || fail "drawing printed: $out"
before=$(times); tick; build
[ -z "$(changed "$before")" ] || fail "the build after the change ran again: $(changed "$before")"

# A new generator runs again but changes no file, so nothing is compiled.
touch "$generator"
build
[ "$(changed "$before")" = "enumgen.stamp " ] || fail "a new generator rebuilt: $(changed "$before")"

# A removed enum's files stay in the output folder but leave the target: a
# broken priority.cpp is not compiled.
before=$(times); tick
sed -i '/^+Priority/,/^$/d' "$list"
build
echo '#error a removed enum is still compiled' >> "$enum/priority.cpp"
build
"$app/drawing" --list | grep -qx '3 enums' || fail "drawing --list: $("$app/drawing" --list)"
echo "PASS: $way ${4:-}"
