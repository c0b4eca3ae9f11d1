// The language client of `scenario-compiler lsp` for the two sources, and
// tasks "check" and "compile" for the scenario whose source is open: the base
// name and train number come from the file's name, the folder is the file's
// folder, and the findings go to the Problems view through the
// scenario-compiler problem matcher. Bundled with its client library into one
// file (npm run bundle): the extension needs no network and no node_modules.
const fs = require('fs');
const path = require('path');
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');
const { serverOptions, clientOptions, SECTION } = require('./client_options');

const TYPE = 'scenario-compiler';
const LINE_SOURCE = /^(.+)_linea\.txt$/;
const TRAIN_SOURCE = /^(.+)_([^_]+)-\.txt$/;

/** The folder, base name and train number of the scenario `file` belongs to. */
function scenarioOf(file) {
  const dir = path.dirname(file);
  const name = path.basename(file);
  const line = LINE_SOURCE.exec(name);
  if (line) {
    // The train number is the one of a train source of the same base beside it.
    let train;
    for (const other of fs.readdirSync(dir)) {
      const found = TRAIN_SOURCE.exec(other);
      if (found && found[1] === line[1]) {
        train = found[2];
        break;
      }
    }
    return { dir, base: line[1], train };
  }
  const trainSource = TRAIN_SOURCE.exec(name);
  if (trainSource) return { dir, base: trainSource[1], train: trainSource[2] };
  return { dir };
}

function activeScenario() {
  const editor = vscode.window.activeTextEditor;
  if (!editor || editor.document.uri.scheme !== 'file') return {};
  try {
    return scenarioOf(editor.document.uri.fsPath);
  } catch (error) {
    return { dir: path.dirname(editor.document.uri.fsPath) };
  }
}

/** The program: scenarioCompiler.path, or the former scenarioCompiler.executable. */
function programPath() {
  const config = vscode.workspace.getConfiguration(SECTION);
  const set = config.inspect('path');
  const chosen = set.workspaceFolderValue ?? set.workspaceValue ?? set.globalValue;
  return chosen || config.get('executable') || 'scenario-compiler';
}

function settings() {
  const config = vscode.workspace.getConfiguration(SECTION);
  return { path: programPath(), inlayHintsEnabled: config.get('inlayHints.enabled', true) };
}

let client;

function makeTask(definition) {
  const scenario = activeScenario();
  const executable = programPath();
  const args = [definition.command, '--dir', definition.dir || scenario.dir || '${fileDirname}'];
  const base = definition.base || scenario.base;
  const train = definition.train || scenario.train;
  if (base) args.push('--base', base);
  if (train) args.push('--train', train);
  const task = new vscode.Task(
    definition,
    vscode.TaskScope.Workspace,
    definition.command,
    TYPE,
    new vscode.ProcessExecution(executable, args),
    ['$scenario-compiler'],
  );
  if (definition.command === 'compile') task.group = vscode.TaskGroup.Build;
  return task;
}

function activate(context) {
  context.subscriptions.push(
    vscode.tasks.registerTaskProvider(TYPE, {
      provideTasks: () => ['check', 'compile'].map((command) => makeTask({ type: TYPE, command })),
      resolveTask: (task) => (task.definition.command ? makeTask(task.definition) : undefined),
    }),
  );
  const current = settings();
  client = new LanguageClient(
    'scenarioCompiler',
    'Scenario compiler',
    serverOptions(current),
    clientOptions(current),
  );
  // A program that cannot be started is told once, in a message and the
  // output channel; highlighting and tasks still work.
  return client.start().catch((error) => {
    vscode.window.showErrorMessage(
      `scenario-compiler lsp could not be started (${current.path}): ${error.message}. ` +
        'Set scenarioCompiler.path to the program.',
    );
  });
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
