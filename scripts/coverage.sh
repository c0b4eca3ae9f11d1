#!/usr/bin/env bash
# Builds with gcov instrumentation in build-coverage, runs every test, and
# prints the line and branch coverage of src/ (test files left out), in all
# and for each folder.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh coverage

cmake -S . -B build-coverage -DCMAKE_BUILD_TYPE=Debug -DCOVERAGE=ON -DBUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-coverage -j2
find build-coverage -name '*.gcda' -delete
# Runs under a file-size limit are left out: the child cannot write its own
# coverage counts either, which leaves them torn and adds a message of gcov's
# to the standard error those tests compare.
tests_failed=0
ctest --test-dir build-coverage -j2 --output-on-failure -E 'SizeLimit|FailedWriteKeepsTheEarlierFile' ||
  tests_failed=1

# Exception paths the compiler adds and unreachable branches are left out of
# the branch count: they are the standard library's, not this program's.
summary() {
  gcovr --root . --object-directory build-coverage --filter "$1" --exclude '.*_test\.cpp$' \
    --exclude-throw-branches --exclude-unreachable-branches --print-summary --txt /dev/null build-coverage |
    sed -n 's/^\(lines\|branches\): */\1 /p' | tr '\n' ' '
}
printf '%-14s %s\n' "src/" "$(summary 'src/')"
for folder in app builtin model output sources; do
  printf '%-14s %s\n' "src/$folder/" "$(summary "src/$folder/")"
done
[ "$tests_failed" -eq 0 ] || { echo "some tests failed: the figures above are for a failing run" >&2; exit 1; }
