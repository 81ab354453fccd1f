#!/usr/bin/env bash
# No message from shellcheck, not even a style note, on the project's scripts
# and on the generated bash completion.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset release >/dev/null
cmake --build --preset release --target completion >/dev/null
mapfile -t scripts < <(find scripts bench .ci -type f \( -name '*.sh' -o -path '.ci/*' \) | sort)
echo "shellcheck over ${#scripts[@]} scripts and the completion"
shellcheck "${scripts[@]}"
shellcheck -s bash build/release/docs/talvo_s.bash
echo "shell scripts clean"
