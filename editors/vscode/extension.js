// SPDX-License-Identifier: MIT
// Connects VS Code to enumgen's language server (`enumgen --lsp` over
// standard input and output) for enum lists: messages in the Problems view,
// hovers and the outline. Highlighting needs no server; it comes from the
// grammar in syntaxes/.
'use strict';
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

// The executable of the setting enumgen.path, with ${workspaceFolder}
// replaced; a bare name is looked up on PATH when it starts.
function serverCommand() {
  const setting = vscode.workspace.getConfiguration('enumgen').get('path') || 'enumgen';
  const folder = vscode.workspace.workspaceFolders?.[0]?.uri.fsPath;
  return folder ? setting.replaceAll('${workspaceFolder}', folder) : setting;
}

async function start() {
  const command = serverCommand();
  client = new LanguageClient('enumgen', 'enumgen', { command, args: ['--lsp'] }, {
    documentSelector: [{ language: 'enum-list' }],
  });
  try {
    await client.start();
  } catch (error) {
    const choice = await vscode.window.showErrorMessage(
      `enumgen: cannot start the language server "${command} --lsp": ${error.message}`, 'Set enumgen.path');
    if (choice)
      vscode.commands.executeCommand('workbench.action.openSettings', 'enumgen.path');
  }
}

async function stop() {
  const running = client;
  client = undefined;
  // A server that failed to start has nothing to stop.
  if (running?.needsStop())
    await running.stop();
}

async function restart() {
  await stop();
  await start();
}

function activate(context) {
  context.subscriptions.push(
    vscode.commands.registerCommand('enumgen.restartServer', restart),
    vscode.workspace.onDidChangeConfiguration((event) => {
      if (event.affectsConfiguration('enumgen.path'))
        restart();
    }),
    vscode.workspace.onDidGrantWorkspaceTrust(restart));
  return start();
}

function deactivate() {
  return stop();
}

module.exports = { activate, deactivate };
