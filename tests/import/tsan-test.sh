#!/bin/sh
# SPDX-License-Identifier: MIT
# enumgen-import built with ThreadSanitizer imports the keep-going case's
# headers on several threads with no finding and gives its golden result.
# libclang is not built with ThreadSanitizer, so its own atomics and fences
# are unseen and its copies between its threads read as races; the finder
# watches what enumgen-import's own code does, as on macOS by default.
# Usage: tsan-test.sh <source tree> <build folder> <C++ compiler> <CMake generator>
set -eu
source=$1 build=$2 compiler=$3 generator=$4
case=$source/tests/import/golden/keep-going
cmake -S "$source" -B "$build" -G "$generator" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_CXX_FLAGS=-fsanitize=thread \
    -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >"$build.log" 2>&1 || { cat "$build.log"; exit 1; }
cmake --build "$build" --target enumgen-import >>"$build.log" 2>&1 || { cat "$build.log"; exit 1; }
work=$build/case
rm -rf "$work" && mkdir -p "$work"
cp "$case"/*.h "$work"
cd "$work"
status=0
TSAN_OPTIONS="halt_on_error=1 exitcode=66 ignore_noninstrumented_modules=1" "$build/enumgen-import" -j4 \
    $(sed '/^--$/,$d' "$case/args") -- -I"$source/tests/import/fake-qt" >list 2>stderr || status=$?
if [ "$status" != "$(cat "$case/expected/status")" ] || ! cmp -s list "$case/expected/list" ||
    ! cmp -s stderr "$case/expected/stderr"; then
    echo "exit status $status; standard error:"
    cat stderr
    diff "$case/expected/list" list || true
    exit 1
fi
