#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the Windows build of enumgen under wine: every golden case and language
# server session through the test program, then what only Windows has: a
# target another process holds open, read-only files, and Ctrl-C while a file
# is being written.
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

# A read-only output is replaced and stays read-only (wine keeps the flag as
# the file's write bits); a read-only stale file is removed.
echo old > ../enum/color.hpp
touch ../enum/stale.hpp
chmod a-w ../enum/color.hpp ../enum/stale.hpp
"$wine" "$exe" --brief --remove-stale > ../out 2> ../err || fail "read-only files: $(cat ../err)"
[ "$(cat ../enum/color.hpp)" = "// Color" ] || fail "a read-only target holds: $(cat ../enum/color.hpp)"
[ "$(stat -c %A ../enum/color.hpp)" = -r--r--r-- ] || fail "a read-only target became $(stat -c %A ../enum/color.hpp)"
[ ! -e ../enum/stale.hpp ] || fail "a read-only stale file was left"

# Ctrl-C (wine turns SIGINT into it) while a 120 MB header is being written,
# new in place, then over an old one through a temporary file: the file being
# written goes, and the status is Windows' for Ctrl-C. The header is left as
# it was, or whole where the write ended before wine passed Ctrl-C on.
head -c $((30 << 20)) /dev/zero | tr '\0' d | sed 's/^/+Big[-/; s/$/-]/' > enum-list
printf '__ENUM_DESC__ENUM_DESC__ENUM_DESC__ENUM_DESC' > enum_type.hpp
for writing in ../enum/big.hpp '../enum/.enumgen-*'; do
    [ "$writing" = ../enum/big.hpp ] || echo old > ../enum/big.hpp
    env --default-signal=INT "$wine" "$exe" > /dev/null &
    until [ -e $writing ]; do
        kill -0 $! 2> /dev/null || fail "enumgen ended before it was interrupted"
    done
    kill -INT $!
    status=0
    wait $! || status=$?
    # On a busy machine the run may end before wine passes Ctrl-C on: then
    # with status 0 and the header whole.
    [ "$status" = $((0xC000013A & 0xff)) ] ||
        { [ "$status" = 0 ] && [ "$(stat -c %s ../enum/big.hpp)" = $((120 << 20)) ]; } ||
        fail "Ctrl-C gave status $status"
    ! ls ../enum/.enumgen-* > /dev/null 2>&1 || fail "Ctrl-C left $(ls ../enum/.enumgen-*)"
    size=$(stat -c %s ../enum/big.hpp 2> /dev/null || echo none)
    [ "$size" = $((120 << 20)) ] || [ "$size" = "$([ "$writing" = ../enum/big.hpp ] && echo none || echo 4)" ] ||
        fail "Ctrl-C left a big.hpp of $size bytes"
done
echo "PASS: golden cases, a held target, read-only files and Ctrl-C under wine"
