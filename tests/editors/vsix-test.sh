#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Packages the VS Code extension of the source tree $1 into a .vsix in $2 the
# way docs/editors.md describes, then loads the packaged extension with a
# stand-in for VS Code's API: every library it needs to start must be inside.
set -euo pipefail
rm -rf "$2" && mkdir -p "$2/unpacked" && cp -r "$1/editors/vscode" "$2"
cd "$2/vscode" && npm ci --omit=optional --ignore-scripts --no-audit --no-fund
npm run package -- --out ../enum-list.vsix < /dev/null
cd ../unpacked && unzip -q ../enum-list.vsix && mkdir -p extension/node_modules/vscode
echo 'module.exports = new Proxy({}, { get: () => class {} });' > extension/node_modules/vscode/index.js
node -e 'for (const file of ["syntaxes/enum-list.tmLanguage.json", "language-configuration.json", "extension.js"]) require(`./extension/${file}`)'
