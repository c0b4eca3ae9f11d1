// The language server in Italian: under an Italian locale, or when the
// editor says its locale is Italian, every word for the author is Italian
// and the fixes still mend what they name.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const { rpc, applyEdits, lineOf, withSession, source } = require('./client');

const TRAIN = 'Orvale_Varcona_593-.txt';
const LINE = 'Orvale_Varcona_linea.txt';
const ITALIAN = { LANGUAGE: '', LC_ALL: '', LC_MESSAGES: '', LANG: 'it_IT.UTF-8' };
const ENGLISH = { LANGUAGE: '', LC_ALL: 'C', LC_MESSAGES: '', LANG: 'C' };

test('under an Italian locale a finding, its fix, hover, hints and completion are Italian', async () => {
  await withSession(async (session, folder) => {
    const train = source(folder, TRAIN);
    const text = train.text.replace('velocita,   31200', 'velocta,   31200');
    const uri = await session.open(train.file, text);
    const [finding] = session.published.get(uri);
    assert.equal(finding.code, 'unknown-keyword');
    assert.equal(finding.message, '"velocta" non è una parola chiave valida qui (la sorgente del ' +
      'treno) e viene scartato, con i valori che lo seguono; forse intendevi "velocita"?');
    if (finding.codeDescription) {
      assert.match(finding.codeDescription.href, /diagnostics\.it\.md#unknown-keyword-/);
    }
    const actions = await session.request(rpc.CodeActionRequest.type, {
      textDocument: { uri }, range: finding.range, context: { diagnostics: [finding] },
    });
    assert.equal(actions[0].title, 'Sostituisci con "velocita"');
    await session.change(uri, applyEdits(text, actions[0].edit.changes[uri]));
    assert.deepEqual(session.published.get(uri), []);

    const station = lineOf(text, 'stazione,   121050');
    const hover = async (character) => (await session.request(rpc.HoverRequest.type, {
      textDocument: { uri }, position: { line: station.line, character } })).contents.value;
    assert.match(await hover(2), /\*\*stazione\*\*: stazione\n\n1\. progressiva in metri/);
    const position = await hover(station.text.indexOf('121050') + 2);
    assert.match(position, /\*\*progressiva in metri\*\*, valore 1 della voce «stazione»/);
    assert.match(position, /unità: m\n\nintervallo: da 0 a /);
    assert.match(position, /km 121\+050, cella 2421/);
    assert.match(position, /il modello compilato alla cella 2421: .*limite di velocità 170 km\/h; pendenza 2 per mille/);

    const range = { start: { line: station.line, character: 0 }, end: { line: station.line, character: 200 } };
    const hints = await session.request(rpc.InlayHintRequest.type, { textDocument: { uri }, range });
    assert.deepEqual(hints.slice(0, 3).map((h) => h.label), ['progressiva:', 'km 121+050', 'tipo:']);

    const line = source(folder, LINE);
    const lineUri = await session.open(line.file, line.text);
    const body = lineOf(line.text, 'pendenza,  22700');
    const items = await session.request(rpc.CompletionRequest.type, {
      textDocument: { uri: lineUri }, position: { line: body.line, character: 0 },
    });
    const gradient = items.find((i) => i.label === 'pendenza');
    assert.equal(gradient.detail, 'pendenza da una progressiva in poi');
    assert.match(gradient.textEdit.newText, /^pendenza, \$\{1:progressiva\}, \$\{2:per mille\}$/);
    assert.equal(items.find((i) => i.label === '[fine]').detail, 'intestazione di sezione');
  }, {}, undefined, { env: ITALIAN });
});

test('the editor\'s locale picks Italian over an English environment, and English back', async () => {
  const keywordHover = async (session, folder) => {
    const train = source(folder, TRAIN);
    const uri = await session.open(train.file, train.text);
    const station = lineOf(train.text, 'stazione,   121050');
    return (await session.request(rpc.HoverRequest.type, {
      textDocument: { uri }, position: { line: station.line, character: 2 } })).contents.value;
  };
  const cases = [
    { env: ENGLISH, locale: 'it', meaning: 'stazione' },
    { env: ITALIAN, locale: 'en-US', meaning: 'station' },
    { env: ENGLISH, locale: 'fr', meaning: 'station' },
  ];
  for (const c of cases) {
    await withSession(async (session, folder) => {
      assert.match(await keywordHover(session, folder), new RegExp(`^\\*\\*stazione\\*\\*: ${c.meaning}\\n`),
        `${c.locale}`);
    }, {}, undefined, { env: c.env, locale: c.locale });
  }
});
