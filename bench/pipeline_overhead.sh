#!/usr/bin/env bash
# Driver overhead of a full run: talvo_s on a.c and b.c with do-nothing tools
# against a shell script that runs the same eight command lines, each with
# "sh -c", as the driver's system() calls do. The sides are timed in
# alternating blocks; the figure is the median time per run of each side.
# The build links the C++ runtime into talvo_s (TALVO_STATIC_RUNTIME; the C
# library stays shared): loading the shared C++ library alone would cost
# about half a millisecond per run.
#
#   bench/pipeline_overhead.sh [build dir, default build/release] [runs per block, default 100] [blocks, default 10]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-100}
blocks=${3:-10}
talvo_s=$(realpath "$build/talvo_s")

work=$(mktemp -d "${TMPDIR:-/tmp}/talvo_overhead.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/project" "$work/root/libtalvo/include/stdinclude"
touch "$work/root/libtalvo/include/stdinclude/stdio.h"
for tool in lurin dravik talvoChk seltor nuvar pomsk kivard; do
  ln -s "$(type -P true)" "$work/bin/$tool"
done
echo 'float a;' >"$work/project/a.c"
echo 'float b;' >"$work/project/b.c"
cat >"$work/baseline.sh" <<'LINES'
sh -c 'lurin -notitle -o zel_work/elb/lurin.cfi a.c b.c -i $TALVO/libtalvo/include/stdinclude  '
sh -c 'dravik -pf -notitle -o zel_work/elb/lurin.cdfg zel_work/elb/lurin.cfi '
sh -c 'talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -mev '
sh -c 'seltor -read -inc zel_work/infoinclude.icd a.c b.c '
sh -c 'nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg -pointer '
sh -c 'kivard -notitle zel_work/elb/elb_lurin.cdfg -mfile zel_work/elb/elb_  '
sh -c 'talvoChk zel_work/elb/elb_lurin.cdfg zel_work/elaboration.inf -nochk -dsp -mev '
sh -c 'seltor -write -inc zel_work/infoinclude.icd zel_work/elb/elb_a.c zel_work/elb/elb_b.c -s _elb.c -add  '
LINES
cd "$work/project"
export PATH="$work/bin:$PATH" TALVO="$work/root"
unset TVM TVPOMSK

"$talvo_s" a.c b.c >/dev/null || { echo "talvo_s failed" >&2; exit 1; }

# Nanoseconds for one block of $runs runs of the given command.
block() {
  local start end
  start=$(date +%s%N)
  for ((i = 0; i < runs; i++)); do "$@" >/dev/null; done
  end=$(date +%s%N)
  echo $(((end - start) / runs))
}

driver=()
shell=()
for ((b = 0; b < blocks; b++)); do
  driver+=("$(block "$talvo_s" a.c b.c)")
  shell+=("$(block sh "$work/baseline.sh")")
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Each block of the driver is set against the script's block run right after
# it, so drift in the machine's speed cancels out; the verdict is the median
# of those ratios.
ratios=()
for ((b = 0; b < blocks; b++)); do
  ratios+=("$(awk -v d="${driver[b]}" -v s="${shell[b]}" 'BEGIN { printf "%.5f", d / s }')")
done
d=$(median "${driver[@]}")
s=$(median "${shell[@]}")
r=$(median "${ratios[@]}")
readelf -d "$talvo_s" | grep -q 'NEEDED.*libstdc++' && linkage="C++ runtime shared" || linkage="C++ runtime linked in"
awk -v d="$d" -v s="$s" -v r="$r" -v runs="$runs" -v blocks="$blocks" -v linkage="$linkage" 'BEGIN {
  printf "%d blocks of %d runs each side\n", blocks, runs
  printf "sh script, 8 x sh -c        %8.3f ms per run (median block)\n", s / 1e6
  printf "talvo_s a.c b.c            %8.3f ms per run (median block, %s)\n", d / 1e6, linkage
  printf "median of the paired block ratios: %+.1f %%\n", (r - 1) * 100
  printf "driver overhead %s the 5 %% target\n", (r - 1) * 100 <= 5 ? "within" : "OVER"
}'
