// SPDX-License-Identifier: MIT
// Highlights the sample enum list with the engine behind Kate and Qt Creator
// (kate: kate-syntax-highlighter, finding the definition through the XDG data
// folders) or VS Code (textmate: vscode-textmate from the extension's
// node_modules in the working folder), and compares each token's text and
// style with the golden file. Arguments: kate|textmate <enumgen source folder>
import fs from 'fs';
import assert from 'assert';
import { execFileSync } from 'child_process';
import { createRequire } from 'module';
const [engine, source] = process.argv.slice(2);
const golden = `${source}/tests/editors/golden/`, sample = `${golden}sample.enums`;
const plain = (row) => row.replace(/\x1b\[[0-9;]*[mK]/g, '');

// The format trace prints each line, a row of bars where its tokens start,
// then rows of format names, each starting at its token's bar.
function kateTokens() {
  const rows = execFileSync('kate-syntax-highlighter', ['-f', 'ansi', '--syntax-trace', 'format', sample]).toString().split('\n'), lines = [];
  for (let i = 0; rows[i + 1]?.includes('|'); --i) {
    const text = plain(rows[i]), starts = [...plain(rows[i + 1]).matchAll(/\|/g)].map((m) => m.index), names = {};
    for (i += 2; Object.keys(names).length < starts.length; i += 2)
      for (const label of rows[i].matchAll(/\x1b\[7m([^\x1b]*)/g)) names[plain(rows[i].slice(0, label.index)).length] = label[1];
    lines.push([text, starts.map((start, n) => [text.slice(start, starts[n + 1]), names[start]])]);
  }
  return lines;
}

async function textMateTokens() {
  const load = createRequire(`${process.cwd()}/`), textmate = load('vscode-textmate'), onig = load('vscode-oniguruma');
  await onig.loadWASM(fs.readFileSync(load.resolve('vscode-oniguruma/release/onig.wasm')).buffer);
  const file = `${source}/editors/vscode/syntaxes/enum-list.tmLanguage.json`;
  const grammar = await new textmate.Registry({
    onigLib: Promise.resolve({ createOnigScanner: (p) => new onig.OnigScanner(p), createOnigString: (s) => new onig.OnigString(s) }),
    loadGrammar: async () => textmate.parseRawGrammar(fs.readFileSync(file, 'utf8'), file),
  }).loadGrammar('source.enum-list');
  let state = textmate.INITIAL;
  return fs.readFileSync(sample, 'utf8').replace(/\n$/, '').split('\n').map((text) => {
    const { tokens, ruleStack } = grammar.tokenizeLine(text, state);
    state = ruleStack;
    return [text, tokens.map((t) => [text.slice(t.startIndex, t.endIndex), t.scopes.slice(1).join(' ')])];
  });
}

const lines = engine === 'kate' ? kateTokens() : await textMateTokens();
const actual = lines.map(([text, tokens]) => `${text}\n` + tokens.filter(([token]) => token)
  .map(([token, style]) => `    ${JSON.stringify(token)} ${style}\n`).join('')).join('');
fs.writeFileSync(`${engine}.tokens`, actual);
assert.strictEqual(actual, fs.readFileSync(`${golden}${engine}.tokens`, 'utf8'));
