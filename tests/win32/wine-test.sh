#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the Windows build of enumgen under wine: every golden case and language
# server session through the test program, then what only Windows has: a
# target another process holds open, and Ctrl-C while a file is being written.
#   wine-test.sh ENUMGEN_EXE TEST_PROGRAM
set -euo pipefail
exe=$1 tests=$2
tmp=$(mktemp -d)
export WINEPREFIX=$tmp/prefix WINEDEBUG=-all
wine=/usr/lib/wine/wine64
trap '/usr/lib/wine/wineserver -k 2> /dev/null || true; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# A server kept running makes each start after the first, which makes the
# prefix, take a twentieth of a second instead of seconds.
mkdir "$WINEPREFIX"
/usr/lib/wine/wineserver -p30
"$wine" "$exe" --version > /dev/null 2>&1

ENUMGEN_PLATFORM=win32 ENUMGEN_COMMAND="$wine $exe" "$tests" --gtest_filter='Cases/*:Sessions/*' --gtest_brief=1

x86_64-w64-mingw32-g++-posix -static -O2 -o "$tmp/hold-file.exe" "$(dirname "$0")/hold-file.cpp"
mkdir "$tmp/work" "$tmp/enum"
cd "$tmp/work"
printf '+Color\n-Red\n' > enum-list
printf '// __ENUM_NAME\n' > enum_type.hpp
# hold MILLISECONDS: holds ../enum/color.hpp open, unshared, from another process.
hold() {
    rm -f ../held
    "$wine" "$tmp/hold-file.exe" ../enum/color.hpp "$1" > ../held &
    holder=$!
    until grep -q held ../held 2> /dev/null; do sleep 0.05; done
}

# Held for a moment, the target is waited for and written.
echo old > ../enum/color.hpp
hold 300
"$wine" "$exe" --brief > ../out 2> ../err || fail "a briefly held target: $(cat ../err)"
[ "$(cat ../enum/color.hpp)" = "// Color" ] || fail "a briefly held target holds: $(cat ../enum/color.hpp)"
wait

# Held for longer than enumgen waits, it is reported and left as it was.
echo old > ../enum/color.hpp
hold 60000
status=0
"$wine" "$exe" --brief > ../out 2> ../err || status=$?
kill "$holder"
[ "$status" = 1 ] || fail "a held target gave status $status"
grep -q '^enumgen: error: \.\./enum/color\.hpp: cannot read: ' ../err || fail "a held target: $(cat ../err)"
[ "$(cat ../enum/color.hpp)" = old ] || fail "a held target was changed"
wait || true

# Ctrl-C (wine turns SIGINT into it) while a 120 MB header is being written:
# the temporary file goes, and the status is Windows' for Ctrl-C.
head -c $((30 << 20)) /dev/zero | tr '\0' d | sed 's/^/+Big[-/; s/$/-]/' > enum-list
printf '__ENUM_DESC__ENUM_DESC__ENUM_DESC__ENUM_DESC' > enum_type.hpp
env --default-signal=INT "$wine" "$exe" > /dev/null &
until ls ../enum/.enumgen-* > /dev/null 2>&1; do
    kill -0 $! 2> /dev/null || fail "enumgen ended before it was interrupted"
done
kill -INT $!
status=0
wait $! || status=$?
[ "$status" = $((0xC000013A & 0xff)) ] || fail "Ctrl-C gave status $status"
! ls ../enum/.enumgen-* > /dev/null 2>&1 || fail "Ctrl-C left $(ls ../enum/.enumgen-*)"
echo "PASS: golden cases, a held target and Ctrl-C under wine"
