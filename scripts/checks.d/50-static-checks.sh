#!/usr/bin/env bash
# clang-tidy and cppcheck over the project's own sources; both must be clean.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/release
[ -f "$build/compile_commands.json" ] || cmake --preset release >/dev/null
mapfile -t sources < <(find driver settings constraint pipeline tools docs -name '*.cc' ! -name '*_test.cc' | sort)
echo "clang-tidy over ${#sources[@]} files"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! printf '%s\n' "${sources[@]}" | xargs -P 2 -n 4 clang-tidy -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option >"$log" 2>&1; then
  grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated' "$log" || true
  echo "clang-tidy reported problems" >&2
  exit 1
fi
echo "cppcheck over ${#sources[@]} files"
cppcheck --quiet --error-exitcode=1 --enable=warning,performance,portability --std=c++20 --language=c++ \
  --inline-suppr -I . "${sources[@]}"
echo "static checks clean"
