#!/usr/bin/env bash
# Builds the libFuzzer harnesses and runs each for a bounded time.
#   scripts/fuzz.sh [seconds-per-fuzzer] [fuzzer-name ...]
# The committed seed corpus (fuzz/corpus/<name>) is copied first, so runs
# never change the repository; what a run finds stays in build/fuzz/work/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for source in fuzz/*_fuzz.cc; do names+=("$(basename "$source" .cc)"); done
fi
status=0
for name in "${names[@]}"; do
  corpus=build/fuzz/work/${name%_fuzz}
  mkdir -p "$corpus"
  if [ -d "fuzz/corpus/${name%_fuzz}" ]; then
    cp -n "fuzz/corpus/${name%_fuzz}"/* "$corpus"/ 2>/dev/null || true
  fi
  log=build/fuzz/work/$name.log
  echo "--- $name for ${seconds}s"
  if ASAN_OPTIONS=detect_leaks=1 "build/fuzz/fuzz/$name" -max_total_time="$seconds" -max_len=4096 \
       -rss_limit_mb=4096 -artifact_prefix="build/fuzz/work/$name-" "$corpus" >"$log" 2>&1; then
    grep -E '^(#[0-9]+|Done)' "$log" | tail -1
    echo "$name: no crash"
  else
    tail -40 "$log"
    echo "$name: FAILED (artifacts in build/fuzz/work/)"
    status=1
  fi
done
exit $status
