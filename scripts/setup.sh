#!/usr/bin/env bash
# Installs what building and testing need, on a Debian machine, when missing.
#   scripts/setup.sh            the Linux build and its tests
#   scripts/setup.sh windows    also the Windows cross-build and its check under
#                               wine (scripts/windows_check.sh)
#   scripts/setup.sh fuzz       also clang and libFuzzer (scripts/fuzz.sh)
#   scripts/setup.sh coverage   also gcovr (scripts/coverage.sh)
# Several sets may be named together.
set -euo pipefail
packages=(g++ cmake make libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev chromium)
# The packaging tests: man renders the manual page; cpack's Debian package
# finds its dependencies with dpkg-shlibdeps (dpkg-dev) and file.
packages+=(man-db file dpkg-dev)
# The message catalogue: xgettext extracts po/scenario-compiler.pot, msgfmt
# and msgcmp check po/it.po (scripts/catalogue.py).
packages+=(gettext)
# The language server's tests: Node.js with npm for the protocol's reference
# client, Neovim as an editor. A Node.js already installed (with its own npm)
# is kept.
packages+=(neovim)
command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)
# The test of the git diff driver runs git.
packages+=(git)
# Without recommends: wine would bring in sound, video and printing support.
windows_packages=()
for extra in "$@"; do
  case "$extra" in
    windows) windows_packages=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth x11-utils xdotool) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    coverage) packages+=(gcovr) ;;
    *) echo "setup.sh: unknown set '$extra' (windows, fuzz, coverage)" >&2; exit 64 ;;
  esac
done

missing_of() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
      || echo "$package"
  done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t windows_missing < <(missing_of "${windows_packages[@]}")
if [ ${#missing[@]} -gt 0 ] || [ ${#windows_missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y "${missing[@]}"
  fi
  if [ ${#windows_missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends \
      "${windows_missing[@]}"
  fi
fi

# The npm packages of the language server's tests, as the lock file pins them.
lsp_tests="$(cd "$(dirname "$0")/../tests/lsp" && pwd)"
if [ ! -d "$lsp_tests/node_modules" ] || [ "$lsp_tests/package-lock.json" -nt "$lsp_tests/node_modules" ]; then
  (cd "$lsp_tests" && npm ci --no-audit --no-fund)
  touch "$lsp_tests/node_modules"
fi

# The VS Code extension's npm packages (its language client and bundler), at
# the versions of its package-lock.json.
if [ ! -d "$(dirname "$0")/../editors/vscode/node_modules" ]; then
  npm ci --prefix "$(dirname "$0")/../editors/vscode" --no-audit --no-fund
fi
