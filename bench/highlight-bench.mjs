// SPDX-License-Identifier: MIT
// Times the enum-list highlighting in the engines of Kate (kate-syntax-highlighter,
// a process per run, HTML to /dev/null) and VS Code (vscode-textmate, in this
// process) over lists that double in size, and over single long lines: of many
// markers, of an unclosed marker before as many, of one long description, and
// of a comment.
// Run in a folder with the VS Code extension's node_modules (npm ci in
// editors/vscode): node highlight-bench.mjs <enumgen source folder> [runs]
import fs from 'fs';
import os from 'os';
import path from 'path';
import { execFileSync } from 'child_process';
import { createRequire } from 'module';
const [source, runs = 3] = process.argv.slice(2);
const load = createRequire(`${process.cwd()}/`), textmate = load('vscode-textmate'), onig = load('vscode-oniguruma');
await onig.loadWASM(fs.readFileSync(load.resolve('vscode-oniguruma/release/onig.wasm')).buffer);
const grammarFile = `${source}/editors/vscode/syntaxes/enum-list.tmLanguage.json`;
const grammar = await new textmate.Registry({
  onigLib: Promise.resolve({ createOnigScanner: (p) => new onig.OnigScanner(p), createOnigString: (s) => new onig.OnigString(s) }),
  loadGrammar: async () => textmate.parseRawGrammar(fs.readFileSync(grammarFile, 'utf8'), grammarFile),
}).loadGrammar('source.enum-list');

// The definition from the source tree, found through the XDG data folders.
const temp = fs.mkdtempSync(path.join(os.tmpdir(), 'enumgen-highlight-'));
fs.mkdirSync(`${temp}/org.kde.syntax-highlighting/syntax`, { recursive: true });
fs.copyFileSync(`${source}/editors/kate/enum-list.xml`, `${temp}/org.kde.syntax-highlighting/syntax/enum-list.xml`);
const env = { ...process.env, XDG_DATA_HOME: temp, XDG_DATA_DIRS: temp };

function best(run) {
  let fastest = Infinity;
  for (let i = 0; i < runs; ++i) {
    const start = process.hrtime.bigint();
    run();
    fastest = Math.min(fastest, Number(process.hrtime.bigint() - start) / 1e9);
  }
  return fastest;
}

function measure(text) {
  const file = `${temp}/list.enums`;
  fs.writeFileSync(file, text);
  const kate = best(() => execFileSync('kate-syntax-highlighter', ['-o', '/dev/null', file], { env }));
  const lines = text.split('\n');
  const vscode = best(() => lines.reduce((state, line) => grammar.tokenizeLine(line, state).ruleStack, textmate.INITIAL));
  return { mb: text.length / 1e6, kate, vscode };
}

const enumList = (enums) => Array.from({ length: enums }, (_, e) => `+Enum${e}[[enum${e}]][-Enum ${e}-][~Flags${e}~]\n!#include <QString>\n` +
  Array.from({ length: 50 }, (_, i) => `-Item${i}[[item${i}]][-Item ${i} of enum ${e}-]${e % 3 ? '' : `[=${i} << 1=]`}[:QStringLiteral("${i}"):]\n`).join('')).join('');
const series = [
  ['enums of 50 items', [250, 500, 1000, 2000], enumList],
  ['keys on one line', [25000, 50000, 100000], (n) => `+Wide${'[[k]]'.repeat(n)}\n`],
  ["keys after an unclosed '[-'", [25000, 50000, 100000, 200000], (n) => `+Wide[-${'[[k]]'.repeat(n)}\n`],
  ['words in one description', [25000, 50000, 100000, 200000], (n) => `+Wide[-${'text '.repeat(n)}-]\n`],
  ['words in one comment', [25000, 50000, 100000, 200000], (n) => `#${'TODO '.repeat(n)}\n`],
];
console.log('| input | count | MB | kate-syntax-highlighter s | vscode-textmate s | growth per doubling: kate / textmate |\n|---|---|---|---|---|---|');
for (const [name, counts, make] of series) {
  let previous;
  for (const count of counts) {
    const row = measure(make(count));
    const growth = previous ? `${(row.kate / previous.kate).toFixed(2)} / ${(row.vscode / previous.vscode).toFixed(2)}` : '';
    console.log(`| ${name} | ${count} | ${row.mb.toFixed(1)} | ${row.kate.toFixed(3)} | ${row.vscode.toFixed(3)} | ${growth} |`);
    previous = row;
  }
}
fs.rmSync(temp, { recursive: true });
