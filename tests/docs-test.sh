#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The reference keeps saying what the programs do: a man page describes the
# options its program's --help lists, no more and no fewer, and every
# message the README and docs/ show at a place in a list is one a golden
# case makes, but for the names quoted, the numbers and the place.
# Usage: docs-test.sh <source dir> <enumgen> [<enumgen-import> or ""]
set -euo pipefail
export LC_ALL=C
src=$1
failed=0

# The options a man page's OPTIONS section gives a paragraph each.
manOptions() {
    sed -n '/^\.SH OPTIONS/,/^\.SH /{/^\.TP/{n;p;}}' "$1" | sed 's/\\-/-/g' | grep -oE -- '-(-|[A-Za-z])[a-z-]*' | sort -u
}
# The options --help lists, one or two at the start of a line.
helpOptions() {
    "$1" --help | grep -oE -- '^  (-[A-Za-z], )?-(-|[A-Za-z])[a-z-]*' | grep -oE -- '-(-|[A-Za-z])[a-z-]*' | sort -u
}
checkOptions() {
    if ! diff <(manOptions "$src/man/$(basename "$1").1.in") <(helpOptions "$1"); then
        echo "the options of man/$(basename "$1").1.in (<) and of $1 --help (>) differ"
        failed=1
    fi
}
# An empty argument stands for enumgen-import where it is not built.
for program in "${@:2}"; do
    [ -z "$program" ] || checkOptions "$program"
done

placed='^[^ :]+:[0-9]+(:[0-9]+)?: (error|warning|note): '
shape() { sed -E "s/$placed//; s/'[^']*'/''/g; s/[0-9]+/N/g"; }
missing=$(comm -23 <(grep -hE "$placed" "$src/README.md" "$src"/docs/*.md | shape | sort -u) \
    <(cat "$src"/tests/golden/*/expected*/stderr "$src"/tests/import/golden/*/expected*/stderr | shape | sort -u))
if [ -n "$missing" ]; then
    printf 'no golden case makes this message the docs show:\n%s\n' "$missing"
    failed=1
fi
exit $failed
