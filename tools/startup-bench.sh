#!/bin/bash
# Start-up figures of the viewer, under a virtual X server:
#   - from the process start to the first frame of a 100,000-stitch design;
#   - from a second start (with another design) to that design shown by the first instance.
# Needs the benchmarks built (they generate the design). Usage: tools/startup-bench.sh [BUILD] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-5}
design=/tmp/loomscope-bench-100k.dst
[ -f "$design" ] || xvfb-run -a "$build/bench/viewer_bench" --benchmark_filter=lines_100k \
    --benchmark_min_time=0.01 >/dev/null 2>&1 || true
[ -f "$design" ] || { echo "no generated design at $design" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/run.sh" <<'SCRIPT'
set -eu
build=$1 design=$2 runs=$3 work=$4 sample=$5
export LOOMSCOPE_HOME="$work/home" LOOMSCOPE_TIMING=1
# Waits up to 20 s for a line matching $2 in file $1 and prints its time stamp.
stamp() {
    for _ in $(seq 2000); do
        line=$(grep -m1 "$2" "$1" 2>/dev/null || true)
        [ -n "$line" ] && { echo "$line" | cut -d' ' -f3; return; }
        sleep 0.01
    done
    echo "timed out waiting for $2" >&2; exit 1
}
for i in $(seq "$runs"); do
    export XDG_RUNTIME_DIR="$work/runtime-$i"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    cp "$sample" "$work/second-$i.dst"
    start=$(date +%s%3N)
    "$build/loomscope" "$design" 2>"$work/first-$i.log" &
    pid=$!
    first=$(stamp "$work/first-$i.log" "frame")
    sleep 0.5
    second=$(date +%s%3N)
    "$build/loomscope" "$work/second-$i.dst"
    shown=$(stamp "$work/first-$i.log" "second-$i.dst")
    echo "start to first frame: $((first - start)) ms; second start to design shown: $((shown - second)) ms"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done
SCRIPT
xvfb-run -a -s "-screen 0 1600x1200x24" bash "$work/run.sh" "$build" "$design" "$runs" "$work" \
    "$build/../data/samples/rose-badge.dst"
