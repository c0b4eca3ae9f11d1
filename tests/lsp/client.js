// Starts `scenario-compiler lsp` and talks to it through the protocol's
// reference client library, and writes the scenarios the tests open.
'use strict';

const assert = require('node:assert/strict');
const { spawn, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const rpc = require('vscode-languageserver-protocol/node');

const program = process.env.SCENARIO_COMPILER;
if (!program) throw new Error('SCENARIO_COMPILER names no program');

// A fresh folder holding the built-in sources (code page 1252, CR LF).
function builtinFolder() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'lsp-test-'));
  const result = spawnSync(program, ['export', '--dir', folder, '--quiet']);
  if (result.status !== 0) throw new Error(`export failed: ${result.stderr}`);
  return folder;
}

// The sources are code page 1252; their text here has only characters that
// latin1 decodes the same way.
function readSource(file) {
  return fs.readFileSync(file).toString('latin1');
}

function uriOf(file) {
  return pathToFileURL(file).href;
}

class Session {
  constructor(options = {}) {
    // options.env: variables set for the server on top of this process's.
    this.process = spawn(program, ['lsp'], {
      stdio: ['pipe', 'pipe', 'pipe'], env: { ...process.env, ...(options.env || {}) },
    });
    this.stderr = '';
    this.process.stderr.on('data', (chunk) => { this.stderr += chunk; });
    this.exited = new Promise((resolve) => this.process.on('exit', (code) => resolve(code)));
    this.connection = rpc.createProtocolConnection(
      new rpc.StreamMessageReader(this.process.stdout),
      new rpc.StreamMessageWriter(this.process.stdin));
    this.published = new Map();  // URI -> the last diagnostics published
    this.publications = [];      // every publication, in order
    this.connection.onNotification(rpc.PublishDiagnosticsNotification.type, (params) => {
      this.published.set(params.uri, params.diagnostics);
      this.publications.push(params);
    });
    this.connection.listen();
    this.versions = new Map();
    this.texts = new Map();
    this.options = options;
  }

  async initialize(capabilities = {}, initializationOptions = undefined, locale = undefined) {
    const result = await this.connection.sendRequest(rpc.InitializeRequest.type, {
      processId: process.pid, rootUri: null, capabilities, initializationOptions, locale,
    });
    await this.connection.sendNotification(rpc.InitializedNotification.type, {});
    return result;
  }

  // The server answers in order: once a request is answered, everything
  // published for the messages before it has arrived.
  async settle() {
    await this.connection.sendRequest('shutdown-never-sent/ping').catch(() => {});
  }

  async open(file, text) {
    const uri = uriOf(file);
    this.versions.set(uri, 1);
    this.texts.set(uri, text);
    await this.connection.sendNotification(rpc.DidOpenTextDocumentNotification.type, {
      textDocument: { uri, languageId: 'scenario', version: 1, text },
    });
    await this.settle();
    return uri;
  }

  async change(uri, text) {
    const version = this.versions.get(uri) + 1;
    this.versions.set(uri, version);
    this.texts.set(uri, text);
    await this.connection.sendNotification(rpc.DidChangeTextDocumentNotification.type, {
      textDocument: { uri, version }, contentChanges: [{ text }],
    });
    await this.settle();
  }

  async close(uri) {
    await this.connection.sendNotification(rpc.DidCloseTextDocumentNotification.type, {
      textDocument: { uri },
    });
    await this.settle();
  }

  request(type, params) {
    return this.connection.sendRequest(type, params);
  }

  async stop() {
    await this.connection.sendRequest(rpc.ShutdownRequest.type);
    await this.connection.sendNotification(rpc.ExitNotification.type);
    const code = await this.exited;
    this.connection.dispose();
    return code;
  }
}

// The text with the edits applied (ranges in UTF-16 units of the text).
function applyEdits(text, edits) {
  const lineStarts = [0];
  for (let i = 0; i < text.length; ++i) {
    if (text[i] === '\r' && text[i + 1] === '\n') continue;
    if (text[i] === '\n' || text[i] === '\r') lineStarts.push(i + 1);
  }
  const offset = (position) => lineStarts[position.line] + position.character;
  const sorted = [...edits].sort((a, b) => offset(b.range.start) - offset(a.range.start));
  for (const edit of sorted) {
    text = text.slice(0, offset(edit.range.start)) + edit.newText + text.slice(offset(edit.range.end));
  }
  return text;
}

// The 0-based line of the first line of the text that contains `needle`.
function lineOf(text, needle) {
  const lines = text.split(/\r\n|\r|\n/);
  const line = lines.findIndex((l) => l.includes(needle));
  if (line < 0) throw new Error(`no line holds ${needle}`);
  return { line, character: lines[line].indexOf(needle), text: lines[line] };
}

// A session over a fresh folder of the built-in sources: `body` gets the
// session, the folder and the answer to "initialize"; the server must then
// shut down cleanly. `env` is set for the server, `locale` told in "initialize".
async function withSession(body, capabilities = {}, initializationOptions = undefined,
  { env, locale } = {}) {
  const folder = builtinFolder();
  const session = new Session({ env });
  try {
    const initialized = await session.initialize(capabilities, initializationOptions, locale);
    await body(session, folder, initialized);
    assert.equal(await session.stop(), 0);
  } finally {
    session.process.kill();
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

// A source of the folder: its path and its text.
function source(folder, name) {
  return { file: path.join(folder, name), text: readSource(path.join(folder, name)) };
}

module.exports = {
  rpc, program, builtinFolder, readSource, uriOf, Session, applyEdits, lineOf, withSession, source,
};
