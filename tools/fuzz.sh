#!/bin/bash
# Builds the fuzz targets with clang and runs each for a bounded number of inputs, starting
# from generated seeds (and the real files beside the project, when they are there).
# Usage: tools/fuzz.sh [RUNS]   (default 20000 inputs per target). Fails on any finding.
set -euo pipefail
runs=${1:-20000}
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-fuzz"
CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLOOMSCOPE_FUZZ=ON -DLOOMSCOPE_GUI=OFF -DLOOMSCOPE_TESTS=OFF -DLOOMSCOPE_BENCH=OFF >/dev/null
cmake --build "$build" -j2 >/dev/null
seeds="$build/seeds"
rm -rf "$seeds" && "$build/fuzz/make_fuzz_seeds" "$seeds"
corpus="$top/../shared/corpus"
status=0
for kind in dst lsc edr tch pes pec jef exp vp3 xxx; do
    work="$build/work-$kind"
    real="$build/real-$kind"
    rm -rf "$work" "$real" && mkdir -p "$work" "$real"
    # Real files are linked, never copied, as extra seeds.
    if [ -d "$corpus" ]; then
        for f in "$corpus"/* "$corpus"/formats/*; do
            lower=$(echo "$f" | tr 'A-Z' 'a-z')
            [ "${lower##*.}" = "$kind" ] && ln -sf "$f" "$real/"
        done
    fi
    log="$build/fuzz_$kind.log"
    # A failing input is kept in the build folder, not in the working folder.
    if "$build/fuzz/fuzz_$kind" -runs="$runs" -max_len=8192 -seed=1 -print_final_stats=1 \
        -artifact_prefix="$build/" \
        "$work" "$seeds/$kind" "$real" >"$log" 2>&1; then
        echo "fuzz_$kind: $(grep -o 'Done [0-9]* runs.*' "$log")"
    else
        echo "fuzz_$kind FAILED:"
        grep -A20 -E 'ERROR|runtime error|deadly signal' "$log" | head -40
        status=1
    fi
done
exit $status
