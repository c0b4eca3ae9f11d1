#!/usr/bin/env bash
# Packages the VS Code extension of editors/vscode as a .vsix beside it, with
# @vscode/vsce from npm (node and npm must be installed). The packages of
# package-lock.json are installed first; vsce bundles extension.js and the
# language client into dist/extension.js (npm run bundle, esbuild), and the
# .vsix holds that bundle, not node_modules. Not part of CI, which builds and
# starts the bundle (EditorExtension.BundleStartsTheLanguageServer).
#   scripts/package_vscode.sh
# then: code --install-extension editors/vscode/scenario-sources-VERSION.vsix
set -euo pipefail
cd "$(dirname "$0")/../editors/vscode"
npm ci --no-audit --no-fund
npx --yes @vscode/vsce package --no-dependencies --allow-missing-repository "$@"
