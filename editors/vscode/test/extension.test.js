// The extension as it is packaged: the manifest, the client's options, and
// the bundle (extension.js with vscode-languageclient, built by esbuild)
// started with a stand-in for the editor's API against a stand-in server,
// to see that it starts `PROGRAM lsp` and sends the settings.
//   node --test editors/vscode/test/extension.test.js
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const test = require('node:test');
const Module = require('node:module');

const root = path.join(__dirname, '..');
const manifest = JSON.parse(fs.readFileSync(path.join(root, 'package.json'), 'utf8'));
const { serverOptions, clientOptions } = require('../client_options');

test('the manifest: languages, settings, encoding, pinned packages', () => {
  const languages = Object.fromEntries(
    manifest.contributes.languages.map((l) => [l.id, l.filenamePatterns]),
  );
  assert.deepStrictEqual(languages, {
    'scenario-line': ['*_linea.txt'],
    'scenario-train': ['*-.txt'],
  });
  for (const language of Object.keys(languages)) {
    assert.strictEqual(
      manifest.contributes.configurationDefaults[`[${language}]`]['files.encoding'],
      'windows1252',
    );
  }
  const settings = manifest.contributes.configuration.properties;
  assert.strictEqual(settings['scenarioCompiler.path'].default, 'scenario-compiler');
  assert.strictEqual(settings['scenarioCompiler.inlayHints.enabled'].default, true);
  assert.strictEqual(manifest.main, './dist/extension.js');
  // Exact versions, the same as the lock file's.
  const lock = JSON.parse(fs.readFileSync(path.join(root, 'package-lock.json'), 'utf8'));
  for (const [name, version] of Object.entries({
    ...manifest.dependencies,
    ...manifest.devDependencies,
  })) {
    assert.match(version, /^\d+\.\d+\.\d+$/, name);
    assert.strictEqual(lock.packages[`node_modules/${name}`].version, version, name);
  }
  const ignored = fs.readFileSync(path.join(root, '.vscodeignore'), 'utf8');
  assert.match(ignored, /^node_modules\/\*\*$/m);
});

test('the client starts PROGRAM lsp for both languages with the settings', () => {
  const settings = { path: '/opt/bin/scenario-compiler', inlayHintsEnabled: false };
  assert.deepStrictEqual(serverOptions(settings).run, {
    command: '/opt/bin/scenario-compiler',
    args: ['lsp'],
  });
  const options = clientOptions(settings);
  assert.deepStrictEqual(
    [...new Set(options.documentSelector.map((s) => s.language))],
    ['scenario-line', 'scenario-train'],
  );
  assert.deepStrictEqual(options.initializationOptions, {
    scenarioCompiler: { path: '/opt/bin/scenario-compiler', inlayHints: { enabled: false } },
  });
  assert.strictEqual(options.synchronize.configurationSection, 'scenarioCompiler');
});

// Any name of the editor's API, as a function, a class and an object at once;
// `overrides` give the few answers that matter.
function standIn(name, overrides = {}) {
  const cache = new Map();
  const target = function () {};
  const proxy = new Proxy(target, {
    get(t, property) {
      if (property in overrides) return overrides[property];
      if (property === 'prototype') return t.prototype;
      if (property === 'then' || typeof property === 'symbol') return undefined;
      if (!cache.has(property)) cache.set(property, standIn(`${name}.${property}`));
      return cache.get(property);
    },
    apply: () => standIn(`${name}()`),
    // `new X()` gives another stand-in; a class that extends X gets itself.
    construct: (t, args, newTarget) =>
      newTarget === proxy ? standIn(`new ${name}`) : Reflect.construct(t, args, newTarget),
  });
  return proxy;
}

test('the bundle holds the client and starts the server it is set to', async (t) => {
  let esbuild;
  try {
    esbuild = require('esbuild');
  } catch {
    t.skip('no node_modules: run npm ci in editors/vscode');
    return;
  }
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'scenario-vsix-'));
  t.after(() => fs.rmSync(folder, { recursive: true, force: true }));
  const bundle = path.join(folder, 'extension.js');
  // The options of npm run bundle.
  const command = manifest.scripts.bundle.split(/\s+/);
  assert.deepStrictEqual(command.slice(0, 2), ['esbuild', 'extension.js']);
  esbuild.buildSync({
    entryPoints: [path.join(root, 'extension.js')],
    bundle: true,
    platform: 'node',
    format: 'cjs',
    target: 'node18',
    external: ['vscode'],
    outfile: bundle,
    logLevel: 'silent',
  });
  const required = new Set(
    [...fs.readFileSync(bundle, 'utf8').matchAll(/require\("([^"]+)"\)/g)].map((m) => m[1]),
  );
  for (const name of required) {
    assert.ok(name === 'vscode' || Module.isBuiltin(name), `the bundle requires ${name}`);
  }

  const log = path.join(folder, 'messages.jsonl');
  const program = path.join(folder, 'scenario-compiler');
  fs.writeFileSync(
    program,
    `#!/bin/sh\n[ "$1" = lsp ] || exit 9\nexec "${process.execPath}" "${path.join(__dirname, 'fake_server.js')}" "${log}"\n`,
    { mode: 0o755 },
  );
  const values = { path: program, 'inlayHints.enabled': false, executable: '' };
  const configuration = standIn('configuration', {
    get: (key, fallback) => (key in values ? values[key] : fallback),
    inspect: (key) => ({ globalValue: values[key] }),
  });
  const errors = [];
  const vscode = standIn('vscode', {
    version: '1.90.0',
    env: standIn('env', { appName: 'stand-in', language: 'en' }),
    workspace: standIn('workspace', {
      getConfiguration: () => configuration,
      workspaceFolders: undefined,
      textDocuments: [],
    }),
    window: standIn('window', {
      showErrorMessage: (message) => errors.push(message),
    }),
  });
  const load = Module._load;
  Module._load = (request, ...rest) => (request === 'vscode' ? vscode : load(request, ...rest));
  t.after(() => {
    Module._load = load;
  });
  const extension = require(bundle);
  const context = { subscriptions: [], extensionPath: root, asAbsolutePath: (p) => p };
  extension.activate(context);
  // The client is running once it has sent "initialized" (after the answer
  // to "initialize"): only then may it be stopped.
  let initialize;
  let initialized;
  for (let waited = 0; waited < 200 && !initialized; ++waited) {
    await new Promise((resolve) => setTimeout(resolve, 50));
    if (fs.existsSync(log)) {
      const messages = fs
        .readFileSync(log, 'utf8')
        .split('\n')
        .filter(Boolean)
        .map((line) => JSON.parse(line));
      initialize = messages.find((message) => message.method === 'initialize');
      initialized = messages.find((message) => message.method === 'initialized');
    }
  }
  assert.ok(initialize, `the server got no initialize; errors: ${errors.join('; ')}`);
  assert.deepStrictEqual(initialize.params.initializationOptions, {
    scenarioCompiler: { path: program, inlayHints: { enabled: false } },
  });
  await Promise.race([extension.deactivate(), new Promise((r) => setTimeout(r, 2000))]);
  // The stand-in API answers nothing for real: the server is ended here, and
  // whatever the client still holds is let go of.
  for (const line of fs.readFileSync(log, 'utf8').split('\n').filter(Boolean)) {
    const { pid } = JSON.parse(line);
    if (pid) {
      try {
        process.kill(pid);
      } catch {}
    }
  }
});
