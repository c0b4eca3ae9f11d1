// What the language client starts and tells the server, from the settings
// alone (no vscode module here, so a plain node test can read it).

/** The settings' section; the server reads the same keys under it. */
const SECTION = 'scenarioCompiler';

/** The two languages, on disk and in unsaved editors. */
const LANGUAGES = ['scenario-line', 'scenario-train'];

/** `scenario-compiler lsp` over standard input and output. */
function serverOptions(settings) {
  const run = { command: settings.path, args: ['lsp'] };
  return { run, debug: run };
}

/**
 * The documents the server is for, and the settings it starts with:
 * initializationOptions hold the same object as the section of
 * workspace/didChangeConfiguration ({ scenarioCompiler: { path, inlayHints:
 * { enabled } } }).
 */
function clientOptions(settings) {
  return {
    documentSelector: LANGUAGES.flatMap((language) => [
      { scheme: 'file', language },
      { scheme: 'untitled', language },
    ]),
    initializationOptions: {
      [SECTION]: { path: settings.path, inlayHints: { enabled: settings.inlayHintsEnabled } },
    },
    synchronize: { configurationSection: SECTION },
  };
}

module.exports = { SECTION, LANGUAGES, serverOptions, clientOptions };
