#!/usr/bin/env bash
# Installs what building and testing need, on a Debian machine, when missing.
#   scripts/setup.sh [fuzz] [coverage]   also what scripts/fuzz.sh or scripts/coverage.sh need
set -euo pipefail
packages=(g++ cmake make libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev)
for extra in "$@"; do
  case "$extra" in
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    coverage) packages+=(gcovr) ;;
    *) echo "setup.sh: unknown set '$extra' (fuzz, coverage)" >&2; exit 64 ;;
  esac
done
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
    || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y "${missing[@]}"
fi
