#!/bin/sh
# SPDX-License-Identifier: MIT
# The generated code compiles without a warning under the flags strict
# projects use, with g++ and clang, Qt's headers as system headers: every
# source at once, and every header with QML, in a namespace.
# Usage: strict-warnings.sh <enumgen> <templates> <work dir> <tests/qt> <Qt include dir>...
set -eu
enumgen=$1 templates=$2 work=$3 lists=$4
shift 4
system=""
for dir in "$@"; do system="$system -isystem $dir"; done
rm -rf "$work" && mkdir -p "$work/plain" "$work/scoped"
cat "$lists/enum-list" "$lists/strict.enums" >"$work/list"
"$enumgen" --list "$work/list" --templates "$templates" --output "$work/plain" --brief >/dev/null 2>&1
"$enumgen" --list "$work/list" --templates "$templates" --output "$work/scoped" --namespace app::settings --brief \
    >/dev/null 2>&1
{
    for source in "$work"/plain/*.cpp; do echo "#include \"$source\""; done
    echo '#include <climits>'
    echo 'static_assert(static_cast<int>(Level::Low) == INT_MIN && static_cast<int>(Level::High) == 15);'
} >"$work/sources.cpp"
for header in "$work"/scoped/*.hpp; do echo "#include \"$header\""; done >"$work/headers.cpp"
for compiler in "g++ -Wall -Wextra -Wpedantic -Wold-style-cast -Wuseless-cast -Wshadow -Wconversion -Wsign-conversion \
-Wzero-as-null-pointer-constant" "clang++ -Weverything -Wno-c++98-compat -Wno-c++98-compat-pedantic -Wno-padded \
-Wno-reserved-identifier"; do
    # shellcheck disable=SC2086
    $compiler -std=c++20 -fPIC -fsyntax-only -Werror $system "$work/sources.cpp"
    # shellcheck disable=SC2086
    $compiler -std=c++20 -fPIC -fsyntax-only -Werror -DENUMGEN_QML $system "$work/headers.cpp"
done
