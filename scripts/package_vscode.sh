#!/usr/bin/env bash
# Packages the VS Code extension of editors/vscode as a .vsix beside it, with
# @vscode/vsce from npm (node and npm must be installed). Not part of CI.
#   scripts/package_vscode.sh
# then: code --install-extension editors/vscode/scenario-sources-VERSION.vsix
set -euo pipefail
cd "$(dirname "$0")/../editors/vscode"
npx --yes @vscode/vsce package --allow-missing-repository "$@"
