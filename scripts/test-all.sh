#!/usr/bin/env bash
# Builds and runs every test: the release and sanitizer test suites, the
# fuzz smoke runs and the static checks. Stops at the first failing stage.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

stage() { printf '\n=== %s\n' "$*"; }

stage "release build and tests"
cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release

stage "sanitizer build (ASan, UBSan, LeakSanitizer) and tests"
cmake --preset asan >/dev/null
cmake --build --preset asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset asan

for extra in scripts/checks.d/*.sh; do
  [ -e "$extra" ] || continue
  stage "$(basename "$extra" .sh)"
  bash "$extra"
done

stage "all stages passed"
