#!/usr/bin/env bash
# A short smoke run of every fuzzer (scripts/fuzz.sh runs them longer).
set -euo pipefail
cd "$(dirname "$0")/../.."
./scripts/fuzz.sh "${FUZZ_SMOKE_SECONDS:-30}"
