// The server's conversation as a stream of bytes: exit statuses, malformed
// messages, and the re-check of a train when its line source changes.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const {
  rpc, program, builtinFolder, readSource, Session, lineOf,
} = require('./client');

function frame(body) {
  const bytes = Buffer.from(typeof body === 'string' ? body : JSON.stringify(body), 'utf8');
  return Buffer.concat([Buffer.from(`Content-Length: ${bytes.length}\r\n\r\n`), bytes]);
}

// Runs the server over the bytes; its exit status and the messages it sent.
function converse(chunks) {
  return new Promise((resolve, reject) => {
    const child = spawn(program, ['lsp'], { stdio: ['pipe', 'pipe', 'pipe'] });
    const out = [];
    let stderr = '';
    child.stdout.on('data', (chunk) => out.push(chunk));
    child.stderr.on('data', (chunk) => { stderr += chunk; });
    child.on('error', reject);
    child.on('exit', (code) => {
      const messages = [];
      let rest = Buffer.concat(out);
      while (rest.length > 0) {
        const end = rest.indexOf('\r\n\r\n');
        const length = Number(/Content-Length: (\d+)/.exec(rest.subarray(0, end).toString())[1]);
        messages.push(JSON.parse(rest.subarray(end + 4, end + 4 + length).toString('utf8')));
        rest = rest.subarray(end + 4 + length);
      }
      resolve({ code, messages, stderr });
    });
    child.stdin.end(Buffer.concat(chunks.map((c) => (Buffer.isBuffer(c) ? c : frame(c)))));
  });
}

const initialize = { jsonrpc: '2.0', id: 1, method: 'initialize', params: { capabilities: {} } };
const shutdown = { jsonrpc: '2.0', id: 99, method: 'shutdown' };
const exit = { jsonrpc: '2.0', method: 'exit' };

test('shutdown then exit ends with 0, exit alone with 1, the end of the input as exit', async () => {
  const cases = [
    { name: 'shutdown, exit', chunks: [initialize, shutdown, exit], code: 0 },
    { name: 'exit alone', chunks: [initialize, exit], code: 1 },
    { name: 'exit before initialize', chunks: [exit], code: 1 },
    { name: 'end of input', chunks: [initialize], code: 1 },
    { name: 'shutdown, end of input', chunks: [initialize, shutdown], code: 0 },
    { name: 'nothing at all', chunks: [], code: 1 },
  ];
  for (const c of cases) {
    const { code, messages, stderr } = await converse(c.chunks);
    assert.equal(code, c.code, c.name);
    assert.equal(messages.filter((m) => m.id === 99).length, c.chunks.includes(shutdown) ? 1 : 0, c.name);
    assert.ok(!stderr.includes('Content-Length'), 'logs go to standard error, frames never');
  }
  // Nothing after exit is read.
  const after = await converse([initialize, exit, { jsonrpc: '2.0', id: 5, method: 'shutdown' }]);
  assert.equal(after.messages.filter((m) => m.id === 5).length, 0);
});

test('malformed messages get their error and the server goes on', async () => {
  const { code, messages } = await converse([
    initialize,
    '{"jsonrpc": "2.0", "id": 2, "method": ',                        // not JSON
    Buffer.from('Content-Type: x\r\n\r\n'),                          // no Content-Length
    Buffer.from('Content-Length: many\r\n\r\n'),                     // no number
    '[1, 2]',                                                        // a batch
    '42',                                                            // not an object
    { jsonrpc: '2.0', id: 3 },                                       // no method
    { jsonrpc: '2.0', id: 4, method: 7 },                            // a method that is no string
    { jsonrpc: '2.0', id: 5, method: 'textDocument/unheardOf', params: {} },
    { jsonrpc: '2.0', id: 10, method: 'initialize', params: { capabilities: {} } },
    { jsonrpc: '2.0', method: 'textDocument/unheardOfNotification', params: {} },
    { jsonrpc: '2.0', id: 6, method: 'textDocument/hover', params: { textDocument: 3 } },
    { jsonrpc: '2.0', id: 7, method: 'textDocument/didOpen', params: {} },
    { jsonrpc: '2.0', method: 'textDocument/didOpen', params: { textDocument: {} } },
    { jsonrpc: '2.0', id: 8, method: 'textDocument/documentSymbol',
      params: { textDocument: { uri: 'file:///nowhere/x_linea.txt' } } },
    shutdown,
    { jsonrpc: '2.0', id: 9, method: 'textDocument/documentSymbol', params: {} },
    exit,
  ]);
  assert.equal(code, 0);
  const errors = messages.filter((m) => m.error).map((m) => [m.id, m.error.code]);
  assert.deepEqual(errors, [
    [null, -32700], [null, -32700], [null, -32700],
    [null, -32600], [null, -32600], [3, -32600], [4, -32600],
    [5, -32601], [10, -32600], [6, -32602], [7, -32601],
    [9, -32600],
  ]);
  assert.deepEqual(messages.find((m) => m.id === 8).result, []);
  assert.equal(messages.find((m) => m.id === 99).result, null);
});

test('requests before initialize are refused', async () => {
  const { messages } = await converse([
    { jsonrpc: '2.0', id: 2, method: 'textDocument/hover', params: {} }, initialize, exit]);
  assert.equal(messages[0].id, 2);
  assert.equal(messages[0].error.code, -32002);
  assert.ok(messages[1].result.capabilities);
});

test('editing the line source checks its open trains again', async () => {
  const folder = builtinFolder();
  const session = new Session();
  try {
    await session.initialize();
    const line = { file: path.join(folder, 'Orvale_Varcona_linea.txt') };
    line.text = readSource(line.file);
    const train = { file: path.join(folder, 'Orvale_Varcona_593-.txt') };
    train.text = readSource(train.file);
    const trainUri = await session.open(train.file, train.text);
    const lineUri = await session.open(line.file, line.text);
    assert.deepEqual(session.published.get(trainUri), []);
    assert.deepEqual(session.published.get(lineUri), []);

    // A shorter line puts the train's last stations off the grid.
    const short = line.text.replace('lunghezza percorso,    358000', 'lunghezza percorso,    200000');
    session.publications.length = 0;
    await session.change(lineUri, short);
    assert.deepEqual(session.publications.map((p) => p.uri).sort(), [lineUri, trainUri].sort());
    const trainFindings = session.published.get(trainUri);
    assert.ok(trainFindings.some((d) => d.code === 'S15'), JSON.stringify(trainFindings));
    const s15 = trainFindings.find((d) => d.code === 'S15');
    assert.ok(s15.range.start.line > 0);

    await session.change(lineUri, line.text);
    assert.deepEqual(session.published.get(trainUri), []);

    // Closed, the line source is read from the disk again: the train stays clean.
    await session.change(lineUri, short);
    await session.close(lineUri);
    assert.deepEqual(session.published.get(lineUri), []);
    assert.deepEqual(session.published.get(trainUri), []);
    assert.equal(await session.stop(), 0);
  } finally {
    session.process.kill();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test('a character code page 1252 cannot hold is an error at its place, in either encoding', async () => {
  for (const [capabilities, unit] of [[{}, 'utf-16'], [{ general: { positionEncodings: ['utf-8'] } }, 'utf-8']]) {
    const folder = builtinFolder();
    const session = new Session();
    try {
      await session.initialize(capabilities);
      const file = path.join(folder, 'Orvale_Varcona_593-.txt');
      // "è" is in the code page; "Ω" is not; the trailing blank after both is a warning.
      const text = readSource(file).replace('MIRALTO', 'MIRALTè Ω ');
      const uri = await session.open(file, text);
      const findings = session.published.get(uri);
      const at = lineOf(text, 'MIRALTè');
      const wide = (s) => (unit === 'utf-8' ? Buffer.byteLength(s, 'utf8') : s.length);
      const omega = findings.find((d) => d.code === 'cp1252');
      assert.equal(omega.severity, rpc.DiagnosticSeverity.Error);
      const before = at.text.slice(0, at.text.indexOf('Ω'));
      assert.deepEqual(omega.range, {
        start: { line: at.line, character: wide(before) },
        end: { line: at.line, character: wide(before + 'Ω') },
      });
      const blanks = findings.find((d) => d.code === 'trailing-blanks');
      // The name's field, its trailing blank included.
      assert.deepEqual(blanks.range, {
        start: { line: at.line, character: wide(at.text.slice(0, at.text.indexOf('MIRALTè'))) },
        end: { line: at.line, character: wide(at.text) },
      });
      assert.equal(await session.stop(), 0);
    } finally {
      session.process.kill();
      fs.rmSync(folder, { recursive: true, force: true });
    }
  }
});
