#!/usr/bin/env bash
# The manual pages render without a single message from mandoc -T lint (style
# messages included), man --warnings or groff -ww.
set -euo pipefail
cd "$(dirname "$0")/../.."
for page in docs/man/*.[0-9]; do
  messages=$(
    mandoc -T lint -W style "$page" 2>&1 || true
    MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null
    groff -man -ww -z "$page" 2>&1
  )
  if [ -n "$messages" ]; then
    echo "$page:"
    echo "$messages"
    exit 1
  fi
  echo "$page is clean"
done
