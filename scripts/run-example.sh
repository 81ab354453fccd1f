#!/usr/bin/env bash
# Builds everything and runs talvo_s on the example project, with the
# project's substitute tools first on PATH and TALVO at the bundled
# installation root; then shows the work directory the run produced.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

run_dir=$top/build/example-run
rm -rf "$run_dir"
cp -r examples/project "$run_dir"
cd "$run_dir"
export PATH="$top/build/release/tools:$PATH"
export TALVO="$top/examples/talvo_root"
args=(*.c)
[ -f run.args ] && mapfile -t args < run.args
echo "\$ cd $run_dir"
echo "\$ TALVO=$TALVO talvo_s ${args[*]}"
status=0
"$top/build/release/talvo_s" "${args[@]}" || status=$?
echo "(exit status $status)"
if [ -d zel_work ]; then
  echo "\$ find zel_work"
  find zel_work | sort
fi
exit $status
