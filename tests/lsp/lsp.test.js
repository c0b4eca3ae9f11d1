// The language server driven through the protocol's reference client
// library, over the built-in sources and faulty ones.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { fileURLToPath } = require('node:url');
const { spawnSync } = require('node:child_process');
const {
  rpc, program, readSource, applyEdits, lineOf, withSession, source,
} = require('./client');

const LINE = 'Orvale_Varcona_linea.txt';
const TRAIN = 'Orvale_Varcona_593-.txt';

test('initialize tells the capabilities and the position encoding', async () => {
  await withSession(async (session, folder, result) => {
    const caps = result.capabilities;
    assert.equal(caps.positionEncoding, 'utf-16');
    assert.equal(caps.textDocumentSync.change, rpc.TextDocumentSyncKind.Full);
    for (const provider of ['hoverProvider', 'inlayHintProvider', 'documentSymbolProvider',
      'definitionProvider', 'completionProvider', 'signatureHelpProvider', 'codeActionProvider',
      'documentFormattingProvider']) {
      assert.ok(caps[provider], provider);
    }
    assert.equal(result.serverInfo.name, 'scenario-compiler');
  });
  await withSession(async (session, folder, result) => {
    assert.equal(result.capabilities.positionEncoding, 'utf-8');
  }, { general: { positionEncodings: ['utf-8', 'utf-16'] } });
});

test('the built-in sources open clean and a typo shows at its field', async () => {
  await withSession(async (session, folder) => {
    const train = source(folder, TRAIN);
    const uri = await session.open(train.file, train.text);
    assert.deepEqual(session.published.get(uri), []);

    const text = train.text.replace('velocita,   31200', 'velocta,   31200');
    await session.change(uri, text);
    const [finding] = session.published.get(uri);
    const at = lineOf(text, 'velocta');
    assert.equal(finding.code, 'unknown-keyword');
    assert.equal(finding.severity, rpc.DiagnosticSeverity.Warning);
    assert.deepEqual(finding.range, {
      start: { line: at.line, character: 0 }, end: { line: at.line, character: 7 },
    });
    assert.match(finding.message, /did you mean "velocita"\?/);
    // The link goes to the finding's own entry of docs/diagnostics.md.
    const href = new URL(finding.codeDescription.href);
    const page = fs.readFileSync(fileURLToPath(href), 'utf8');
    assert.match(page, /^## unknown-keyword: /m);
    assert.equal(href.hash, '#unknown-keyword-a-field-that-matches-no-keyword-of-its-section');

    // An error of a value covers the value, with the other file's place.
    const broken = train.text.replace('stazione,   121050', 'stazione,   121060');
    await session.change(uri, broken);
    const errors = session.published.get(uri).filter((d) => d.severity === rpc.DiagnosticSeverity.Error);
    assert.equal(errors.length, 1);
    assert.equal(errors[0].code, 'S8');
    const value = lineOf(broken, '121060');
    assert.deepEqual(errors[0].range.start, { line: value.line, character: value.character });
    assert.deepEqual(errors[0].range.end, { line: value.line, character: value.character + 6 });

    // A taken cell names what holds it, as a place to go to.
    const taken = train.text.replace('segnale,   116000,', 'segnale,   113060,');
    await session.change(uri, taken);
    const [clash] = session.published.get(uri);
    assert.equal(clash.code, 'S16');
    const holder = lineOf(taken, 'segnale,    113050');
    assert.deepEqual(clash.relatedInformation.map((r) => [r.location.uri, r.location.range.start.line]),
      [[uri, holder.line]]);
    const clashAt = lineOf(taken, 'segnale,   113060');
    const places = await session.request(rpc.DefinitionRequest.type, {
      textDocument: { uri }, position: { line: clashAt.line, character: clashAt.text.indexOf('113060') + 1 },
    });
    assert.deepEqual(places.map((p) => p.range.start.line), [holder.line]);

    await session.change(uri, train.text);
    assert.deepEqual(session.published.get(uri), []);
  });
});

test('a quick fix applied clears its finding', async () => {
  const cases = [
    { name: 'did you mean', file: TRAIN, id: 'unknown-keyword',
      edit: (t) => t.replace('velocita,   45000', 'velocta,   45000') },
    { name: 'keyword case', file: LINE, id: 'keyword-case',
      edit: (t) => t.replace('sfondo due', 'Sfondo due') },
    { name: 'trailing blanks', file: TRAIN, id: 'trailing-blanks',
      edit: (t) => t.replace('MIRALTO', 'MIRALTO \t ') },
    { name: 'values left over', file: TRAIN, id: 'extra-values',
      edit: (t) => t.replace('numero vetture,    12', 'numero vetture,    12, 13, abc') },
    { name: 'a comment mark', file: LINE, id: 'comment-marker',
      edit: (t) => t.replace('[montagne]\r\n', '[montagne]\r\n# montagna, 1000, 2000, 11\r\n') },
    { name: 'semicolons around a negative value', file: LINE, id: 'field-separator',
      edit: (t) => t.replace('pendenza,  15900,   -3', 'pendenza;  15900;   -3') },
    { name: 'tabs', file: LINE, id: 'field-separator',
      edit: (t) => t.replace('pendenza,  22700,   -5', 'pendenza\t22700\t-5') },
    { name: 'out of order', file: TRAIN, id: 'out-of-order',
      edit: (t) => t.replace('velocita,   57000,   150\r\n', '').replace(
        'velocita,   97400,   150\r\n', 'velocita,   97400,   150\r\nvelocita,   57000,   150\r\n') },
  ];
  await withSession(async (session, folder) => {
    for (const c of cases) {
      const original = source(folder, c.file);
      const text = c.edit(original.text);
      assert.notEqual(text, original.text, c.name);
      const uri = await session.open(original.file, text);
      const findings = session.published.get(uri);
      const finding = findings.find((d) => d.code === c.id);
      assert.ok(finding, `${c.name}: ${JSON.stringify(findings)}`);
      const actions = await session.request(rpc.CodeActionRequest.type, {
        textDocument: { uri }, range: finding.range, context: { diagnostics: [finding] },
      });
      assert.equal(actions.length, 1, c.name);
      assert.equal(actions[0].isPreferred, true, c.name);
      assert.equal(actions[0].kind, 'quickfix', c.name);
      // A client that drops the diagnostic's data gets the same fix.
      const { data, ...withoutData } = finding;
      assert.ok(data.fix, c.name);
      const again = await session.request(rpc.CodeActionRequest.type, {
        textDocument: { uri }, range: finding.range, context: { diagnostics: [withoutData] },
      });
      assert.deepEqual(again.map((a) => a.edit), actions.map((a) => a.edit), c.name);
      const fixed = applyEdits(text, actions[0].edit.changes[uri]);
      await session.change(uri, fixed);
      assert.deepEqual(session.published.get(uri), [], `${c.name}: ${fixed === original.text}`);
      await session.close(uri);
    }
  });
});

test('hover tells an entry, a value with its cell and the compiled model, a finding', async () => {
  await withSession(async (session, folder) => {
    const train = source(folder, TRAIN);
    const text = train.text.replace('numero vetture,    12', 'numero vetture,    12, 5');
    const uri = await session.open(train.file, text);
    const station = lineOf(text, 'stazione,   121050');
    const hover = async (character, line = station.line) => (await session.request(
      rpc.HoverRequest.type, { textDocument: { uri }, position: { line, character } }));

    const keyword = await hover(2);
    assert.match(keyword.contents.value, /\*\*stazione\*\*: station/);
    assert.match(keyword.contents.value, /13\. standing time in seconds \(0 to 255\)/);

    const position = await hover(station.text.indexOf('121050') + 2);
    assert.match(position.contents.value, /position in metres/);
    assert.match(position.contents.value, /km 121\+050, cell 2421/);
    assert.match(position.contents.value, /the compiled model at cell 2421: .*speed limit 170 km\/h; gradient 2 permille/);
    assert.deepEqual(position.range.start, { line: station.line, character: station.text.indexOf('121050') });

    const standing = await hover(station.text.indexOf(' 30,') + 1);
    assert.match(standing.contents.value, /standing time in seconds.*\n\nunit: s\n\nrange: 0 to 255/s);

    const extra = lineOf(text, 'numero vetture');
    const finding = await hover(extra.text.indexOf(' 5') + 1, extra.line);
    assert.match(finding.contents.value, /\*\*extra-values\*\*/);
    assert.match(finding.contents.value, /Fix: /);

    assert.equal(await hover(0, lineOf(text, '[stazioni]').line), null);
  });
});

test('inlay hints name each value, with the kilometre of a position; a setting turns them off', async () => {
  await withSession(async (session, folder) => {
    const train = source(folder, TRAIN);
    const uri = await session.open(train.file, train.text);
    const station = lineOf(train.text, 'stazione,   121050');
    const range = { start: { line: station.line, character: 0 }, end: { line: station.line, character: 200 } };
    const hints = await session.request(rpc.InlayHintRequest.type, { textDocument: { uri }, range });
    const labels = hints.map((h) => h.label);
    assert.deepEqual(labels.slice(0, 3), ['position:', 'km 121+050', 'kind:']);
    assert.ok(labels.includes('standing s:'));
    assert.equal(labels.at(-1), 'name:');
    assert.equal(labels.length, 18);
    assert.deepEqual(hints[0].position, { line: station.line, character: station.text.indexOf('121050') });
    assert.deepEqual(hints[1].position, { line: station.line, character: station.text.indexOf('121050') + 6 });

    await session.connection.sendNotification(rpc.DidChangeConfigurationNotification.type, {
      settings: { scenarioCompiler: { inlayHints: false } },
    });
    assert.deepEqual(await session.request(rpc.InlayHintRequest.type, { textDocument: { uri }, range }), []);
  });
  await withSession(async (session, folder) => {
    const train = source(folder, TRAIN);
    const uri = await session.open(train.file, train.text);
    const range = { start: { line: 0, character: 0 }, end: { line: 300, character: 0 } };
    assert.deepEqual(await session.request(rpc.InlayHintRequest.type, { textDocument: { uri }, range }), []);
  }, {}, { inlayHints: false });
});

test('completion offers the section\'s keywords as snippets, and section headers', async () => {
  await withSession(async (session, folder) => {
    const train = source(folder, TRAIN);
    const text = train.text.replace('[stazioni]\r\n', '[stazioni]\r\nsta\r\n');
    const uri = await session.open(train.file, text);
    const typed = text.split('\r\n').findIndex((l) => l === 'sta');
    const items = await session.request(rpc.CompletionRequest.type, {
      textDocument: { uri }, position: { line: typed, character: 3 },
    });
    const station = items.find((i) => i.label === 'stazione');
    assert.equal(station.insertTextFormat, rpc.InsertTextFormat.Snippet);
    assert.match(station.textEdit.newText, /^stazione, \$\{1:position\}, \$\{2:kind\}, .*\$\{17:name\}$/);
    assert.equal((station.textEdit.newText.match(/\$\{/g) || []).length, 17);
    assert.deepEqual(station.textEdit.range, { start: { line: typed, character: 0 }, end: { line: typed, character: 3 } });
    assert.ok(items.some((i) => i.label === '[fine]'));
    assert.ok(!items.some((i) => i.label === 'pendenza'), 'no line keyword in a train source');

    const line = source(folder, LINE);
    const lineUri = await session.open(line.file, line.text);
    const header = lineOf(line.text, 'sfondo uno');
    const headerItems = await session.request(rpc.CompletionRequest.type, {
      textDocument: { uri: lineUri }, position: { line: header.line, character: 0 },
    });
    assert.ok(headerItems.some((i) => i.label === 'lunghezza percorso'));
    const body = lineOf(line.text, 'pendenza,  22700');
    const bodyItems = await session.request(rpc.CompletionRequest.type, {
      textDocument: { uri: lineUri }, position: { line: body.line, character: 0 },
    });
    assert.ok(bodyItems.some((i) => i.label === 'montagna'));
    assert.ok(!bodyItems.some((i) => i.label === 'lunghezza percorso'));
    // Past the keyword field nothing is offered.
    assert.deepEqual(await session.request(rpc.CompletionRequest.type, {
      textDocument: { uri: lineUri }, position: { line: body.line, character: 12 },
    }), []);
  });
});

test('signature help shows the entry\'s values with the one under the cursor active', async () => {
  await withSession(async (session, folder) => {
    const train = source(folder, TRAIN);
    const uri = await session.open(train.file, train.text);
    const station = lineOf(train.text, 'stazione,   121050');
    const help = async (character) => session.request(rpc.SignatureHelpRequest.type, {
      textDocument: { uri }, position: { line: station.line, character },
    });
    const onStanding = await help(station.text.indexOf(' 30,') + 2);
    assert.equal(onStanding.activeParameter, 12);
    const [signature] = onStanding.signatures;
    assert.ok(signature.label.startsWith('stazione, position, kind, length'));
    assert.equal(signature.parameters.length, 17);
    const [from, to] = signature.parameters[12].label;
    assert.equal(signature.label.slice(from, to), 'standing s');
    assert.equal((await help(station.text.indexOf('121050'))).activeParameter, 0);
    assert.equal((await help(station.text.length)).activeParameter, 16);
  });
});

test('the outline holds the sections, stations by name with their kilometre, boards', async () => {
  await withSession(async (session, folder) => {
    const train = source(folder, TRAIN);
    const uri = await session.open(train.file, train.text);
    const symbols = await session.request(rpc.DocumentSymbolRequest.type, { textDocument: { uri } });
    assert.deepEqual(symbols.map((s) => s.name), ['[generale]', '[aderenze]', '[vel_limite]',
      '[stazioni]', '[rallentamenti]', '[segnali]', '[codici]', '[fine]']);
    const stations = symbols[3].children;
    assert.equal(stations.length, 35);
    assert.deepEqual([stations[1].name, stations[1].detail], ['MIRALTO', 'km 121+050']);
    assert.equal(stations[1].kind, rpc.SymbolKind.Key);
    assert.deepEqual(symbols[4].children.map((r) => r.detail),
      ['rallentamento, km 180+950', 'rallentamento, km 324+900']);
    assert.equal(symbols[5].children[0].detail, 'segnale, km 113+050');
    // Every symbol's name is selected inside its range.
    for (const section of symbols) {
      for (const child of section.children) {
        assert.ok(child.range.start.line >= section.range.start.line && child.range.end.line <= section.range.end.line);
      }
    }

    const line = source(folder, LINE);
    const lineUri = await session.open(line.file, line.text);
    const lineSymbols = await session.request(rpc.DocumentSymbolRequest.type, { textDocument: { uri: lineUri } });
    const boards = lineSymbols.find((s) => s.name === '[indicazioni]').children;
    assert.deepEqual(boards.map((b) => b.name), ['(Km 99+996)', '(Km 208+500)', '(Km 323+402)']);
    const tunnels = lineSymbols.find((s) => s.name === '[montagne]').children;
    assert.deepEqual(tunnels.map((t) => t.detail), ['montagna, km 135+400', 'montagna, km 204+400']);
  });
});

test('go to definition leads from a train position to the line source', async () => {
  await withSession(async (session, folder) => {
    const train = source(folder, TRAIN);
    const line = source(folder, LINE);
    const uri = await session.open(train.file, train.text);
    // A speed point inside the second tunnel.
    const speed = lineOf(train.text, 'velocita,  208550');
    const places = await session.request(rpc.DefinitionRequest.type, {
      textDocument: { uri }, position: { line: speed.line, character: speed.text.indexOf('208550') + 1 },
    });
    const lineLines = line.text.split('\r\n');
    const targets = places.map((p) => lineLines[p.range.start.line]);
    assert.ok(places.every((p) => p.uri.endsWith(`/${LINE}`)));
    assert.deepEqual(targets.filter((t) => !t.startsWith('curva')), [
      'pendenza, 206800,   -3',
      'montagna,   204400,  209250,  11',
      'indicatori_vmax, 208250,  105,  110,  115,  0,  105,  110,  115,  0',
    ]);
  });
});

test('formatting gives the layout of fmt, and nothing more the second time', async () => {
  await withSession(async (session, folder) => {
    const train = source(folder, TRAIN);
    // Spacing an author might type, in a station and a speed point.
    const messy = train.text.replace('stazione,   121050, 12,  500', 'stazione,121050,12,500')
      .replace('velocita,    1350,   160', 'velocita,1350 ,    160');
    assert.notEqual(messy, train.text);
    const uri = await session.open(train.file, messy);
    const edits = await session.request(rpc.DocumentFormattingRequest.type, {
      textDocument: { uri }, options: { tabSize: 4, insertSpaces: true },
    });
    assert.ok(edits.length > 0);
    const formatted = applyEdits(messy, edits);

    // The same bytes as `fmt` writes for the same text on disk.
    fs.writeFileSync(train.file, Buffer.from(messy, 'latin1'));
    const run = spawnSync(program, ['fmt', train.file]);
    assert.equal(run.status, 0, String(run.stderr));
    assert.equal(formatted, readSource(train.file));

    await session.change(uri, formatted);
    assert.deepEqual(session.published.get(uri), []);
    assert.deepEqual(await session.request(rpc.DocumentFormattingRequest.type, {
      textDocument: { uri }, options: { tabSize: 4, insertSpaces: true },
    }), []);

    // A character the code page cannot hold would be lost: no edit.
    await session.change(uri, messy.replace('MIRALTO', 'MIRALTO Ω'));
    assert.deepEqual(await session.request(rpc.DocumentFormattingRequest.type, {
      textDocument: { uri }, options: { tabSize: 4, insertSpaces: true },
    }), []);
  });
});
