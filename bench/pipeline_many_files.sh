#!/usr/bin/env bash
# 5,000 input files with 40-character names, end to end: once with
# do-nothing tools, once with the substitute tools. Each run must succeed and
# leave no "<input>.p" behind. The reader's command line (about 200 KiB)
# is longer than the kernel takes in one argument, so the driver hands it to
# the shell as a script file. The time of the temporary-file removal alone
# is measured by bench/pipeline_temporary_files_bench.
#
#   bench/pipeline_many_files.sh [build dir, default build/release] [file count, default 5000]
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
build=${1:-build/release}
count=${2:-5000}
talvo_s=$(realpath "$build/talvo_s")
tools=$(realpath "$build/tools")

work=$(mktemp -d "${TMPDIR:-/tmp}/talvo_many.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/project"
for tool in lurin dravik talvoChk seltor nuvar pomsk kivard; do
  ln -s "$(type -P true)" "$work/bin/$tool"
done
cd "$work/project"
names=()
for ((i = 0; i < count; i++)); do
  name=$(printf 'input_%06d_with_a_name_of_forty_chars' "$i")
  name=${name:0:38}.c
  echo "float f$i(float x) { return x; }" >"$name"
  names+=("$name")
done
export TALVO="$top/examples/talvo_root"
unset TVM TVPOMSK

run() {
  local label=$1 path=$2 start end status
  touch "${names[@]/%/.p}"  # the do-nothing tools leave no .p files of their own
  start=$(date +%s%N)
  set +e
  PATH="$path:$PATH" "$talvo_s" "${names[@]}" >"$work/out.txt" 2>"$work/err.txt"
  status=$?
  set -e
  end=$(date +%s%N)
  local left
  left=$(find . -maxdepth 1 -name '*.c.p' | wc -l)
  printf '%-22s status %d, %5d .p files left, %8.1f ms\n' "$label" "$status" "$left" "$(((end - start) / 1000))e-3"
  if [ "$status" -ne 0 ] || [ "$left" -ne 0 ]; then
    cat "$work/out.txt" "$work/err.txt" >&2
    exit 1
  fi
}
echo "$count input files, reader line $(printf '%s ' "${names[@]}" | wc -c) bytes of names"
run "do-nothing tools" "$work/bin"
run "substitute tools" "$tools"
