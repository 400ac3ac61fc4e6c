#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Debian package as the README builds it from the source tree $2, in
# folders under $3. $1 is the check:
#   build         builds it in a/ (kept from run to run) and in a fresh b/,
#                 some seconds apart, and unpacks a/'s package into root/
#   reproducible  the two packages are the same to the byte
#   lintian       lintian reports nothing, informational tags included, and
#                 the only programs are enumgen's own
#   versions      CMakeLists.txt's project version is that of enumgen
#                 --version, the package, the VS Code extension and the top
#                 released entry of CHANGELOG.md
#   man           the installed man pages render without a warning and name
#                 every option of enumgen --help
#   completion    the installed bash completion offers every option and
#                 completes files and folders where the options take them
set -euo pipefail
check=$1 source=$2 dir=$3
fail() { echo "FAIL: $check: $*" >&2; exit 1; }
deb() { echo "$dir/$1/enumgen_${version}_$(dpkg --print-architecture).deb"; }
version=$(sed -n 's/^project(enumgen VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
[ -n "$version" ] || fail "no version in CMakeLists.txt"
root=$dir/root
# The options enumgen --help lists.
options() { "$root/usr/bin/enumgen" --help | grep -oE '^ +-[^ ]+(, -[^ ]+)?' | tr ', ' '\n\n' | grep -- '^-' | sort -u; }

case $check in
build)
    rm -rf "$dir/b" "$root"
    for build in a b; do
        [ $build = a ] || sleep 2
        { cmake -S "$source" -B "$dir/$build" -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF &&
            cmake --build "$dir/$build" -j1 && (cd "$dir/$build" && cpack -G DEB); } > "$dir/$build.log" 2>&1 ||
            { cat "$dir/$build.log"; fail "the package build in $build failed"; }
    done
    dpkg-deb -x "$(deb a)" "$root"
    ;;
reproducible)
    cmp "$(deb a)" "$(deb b)" ||
        fail "two builds differ: $(diff <(dpkg-deb -c "$(deb a)") <(dpkg-deb -c "$(deb b)"))"
    ;;
lintian)
    # Every tag lintian names, informational ones and pedantic ones too.
    out=$(lintian --info --display-info --pedantic "$(deb a)" 2>&1 | grep -v 'running with root privileges' || true)
    [ -z "$out" ] || fail "lintian: $out"
    programs=$(dpkg-deb -c "$(deb a)" | awk '{print $6}' | grep -E '/(s?bin|libexec)/.' | grep -vE '/bin/enumgen(-import)?$' || true)
    [ -z "$programs" ] || fail "programs a user does not need: $programs"
    ;;
versions)
    extension=$(sed -n 's/^  "version": "\(.*\)",$/\1/p' "$source/editors/vscode/package.json")
    changelog=$(sed -n 's/^## \[\([0-9][0-9.]*\)\] - .*/\1/p' "$source/CHANGELOG.md" | head -1)
    for place in "enumgen --version: $("$root/usr/bin/enumgen" --version | cut -d' ' -f2)" \
                 "the package: $(dpkg-deb -f "$(deb a)" Version)" \
                 "editors/vscode/package.json: $extension" "CHANGELOG.md: $changelog"; do
        [ "${place##*: }" = "$version" ] || fail "CMakeLists.txt says $version, $place"
    done
    ;;
man)
    for page in "$root"/usr/share/man/man1/*.1.gz; do
        warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$page" 2>&1 > "$dir/page.txt") || fail "man failed on $page"
        [ -z "$warnings" ] || fail "$page: $warnings"
    done
    zcat "$root/usr/share/man/man1/enumgen.1.gz" > "$dir/enumgen.1"
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$dir/enumgen.1" 2>&1)
    for option in $(options); do
        grep -qe "$option" <<< "$text" || fail "the man page lacks $option"
    done
    ;;
completion)
    work=$dir/completion
    rm -rf "$work" && mkdir -p "$work/templates" && touch "$work/colors.enums"
    # complete WORD...: what the completion offers for the last word, one a line.
    offers=$(cd "$work" && bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$1"
        complete_line() {
            COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*" COMP_POINT=${#COMP_LINE} COMPREPLY=()
            _enumgen enumgen "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
            echo "[$*]" "${COMPREPLY[@]}"
        }
        complete_line enumgen --
        complete_line enumgen --list ""
        complete_line enumgen --output ""' bash "$root/usr/share/bash-completion/completions/enumgen")
    grep -q '^\[enumgen --\] ' <<< "$offers" || fail "nothing offered after enumgen --: $offers"
    for option in $(options | grep -- '^--'); do
        grep -qE "^\[enumgen --\] (.* )?$option( |$)" <<< "$offers" || fail "$option not offered: $offers"
    done
    grep -qx '\[enumgen --list \] \(colors.enums templates\|templates colors.enums\)' <<< "$offers" ||
        fail "after --list, not the files: $offers"
    grep -qx '\[enumgen --output \] templates' <<< "$offers" || fail "after --output, not the folders: $offers"
    ;;
*) fail "unknown check" ;;
esac
echo "PASS: $check"
