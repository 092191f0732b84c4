#!/bin/sh
# Runs the benchmarks and prints their figures. GL benchmarks run under a virtual X server.
# Usage: tools/bench.sh [BUILD_DIR]
set -eu
build=${1:-build}
"$build/bench/read_bench" --benchmark_counters_tabular=true
xvfb-run -a -s "-screen 0 1600x1200x24" "$build/bench/viewer_bench" --benchmark_counters_tabular=true
env -u DISPLAY "$build/bench/export_bench" --benchmark_counters_tabular=true
# The stitch-out replay is measured on a screen of 1920 x 1080, its maximised window's size.
xvfb-run -a -s "-screen 0 1920x1080x24" "$build/bench/animate_bench" --benchmark_counters_tabular=true
env -u DISPLAY "$build/bench/print_bench" --benchmark_counters_tabular=true
xvfb-run -a -s "-screen 0 1600x1200x24" "$build/bench/browser_bench" --benchmark_counters_tabular=true
