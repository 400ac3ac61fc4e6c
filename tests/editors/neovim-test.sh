#!/usr/bin/env bash
# Debian's Neovim with the configuration of docs/editors.md, from the source
# tree $1, and the enumgen in folder $2 on PATH: diagnostics, a hover, the
# outline and a change, as the editor's own client gets them, against
# golden/neovim.out.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$here/golden/neovim.enums" "$tmp/shapes.enums"
cd "$tmp"
PATH="$2:$PATH" ENUMGEN_NVIM_OUT="$tmp/out" timeout 60 nvim --headless --clean \
    --cmd "luafile $1/editors/neovim/enumgen.lua" -c "luafile $here/neovim-test.lua" shapes.enums
diff -u "$here/golden/neovim.out" "$tmp/out" && echo "PASS: Neovim $(nvim --version | head -1)"
