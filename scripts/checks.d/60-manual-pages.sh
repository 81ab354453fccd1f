#!/usr/bin/env bash
# The manual pages render without a single groff warning.
set -euo pipefail
cd "$(dirname "$0")/../.."
for page in docs/man/*.[0-9]; do
  warnings=$(groff -man -ww -z "$page" 2>&1)
  if [ -n "$warnings" ]; then
    echo "$page:"
    echo "$warnings"
    exit 1
  fi
  man -l "$page" >/dev/null
  echo "$page renders cleanly"
done
