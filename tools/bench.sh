#!/bin/sh
# Runs the benchmarks and prints their figures beside the targets.
# Usage: tools/bench.sh [BUILD_DIR]
set -eu
build=${1:-build}
"$build/bench/read_bench" --benchmark_counters_tabular=true
