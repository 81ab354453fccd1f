#!/usr/bin/env bash
# Every include of the project points down: settings/ includes nothing of the
# project, constraint/ and pipeline/ include settings/ and themselves only,
# driver/ may include all four, and tools/ includes nothing of the driver.
# Unit tests beside the code are held to the same rule. Names every include
# that points up and fails.
#   30-includes.sh [tree]   checks another tree (default: this repository)
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"

layers=(settings constraint pipeline driver tools)
declare -A may=(
  [settings]="settings"
  [constraint]="constraint settings"
  [pipeline]="pipeline settings"
  [driver]="driver pipeline constraint settings"
  [tools]="tools"
)

up=0
for folder in "${layers[@]}"; do
  while IFS=: read -r file line text; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]*)[">].*/\1/' <<<"$text")
    if [[ $target == ../* || $target == ./* ]]; then
      target=$(realpath -m --relative-to=. "$(dirname "$file")/$target")
    fi
    top=${target%%/*}
    if [[ -z ${may[$top]+set} || " ${may[$folder]} " == *" $top "* ]]; then
      continue  # not a layer of the project, or one below
    fi
    echo "$file:$line: $folder/ includes $target, which is not below it"
    up=1
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include' --include='*.cc' --include='*.h' "$folder" | sort -t: -k1,1 -k2,2n)
done
if [ "$up" -ne 0 ]; then
  echo "includes point up (see README.md, Layout)" >&2
  exit 1
fi
echo "every include points down"
