#!/usr/bin/env python3
"""`loomscope --info` of a million-record design against pyembroidery's DST reader, side by
side in one run on the same file, with the ratio of their times.

pyembroidery is on no package index this project uses: unpack a copy outside the repository
and point PYTHONPATH at it. Without it the script says so and measures loomscope alone.

Usage: bench/info_vs_pyembroidery.py [BUILD_DIR]
The design is the one read_bench generates (it is made by running read_bench once if absent).
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

build = sys.argv[1] if len(sys.argv) > 1 else "build"
loomscope = os.path.join(build, "loomscope")
design = os.path.join(tempfile.gettempdir(), "loomscope-bench-1m.dst")

if not os.path.exists(design):
    subprocess.run([os.path.join(build, "bench", "read_bench"),
                    "--benchmark_filter=BM_InfoProcessMillion"],
                   check=True, stdout=subprocess.DEVNULL)


def median_seconds(run, times):
    samples = []
    for _ in range(times):
        start = time.perf_counter()
        run()
        samples.append(time.perf_counter() - start)
    return statistics.median(samples)


def info():
    subprocess.run([loomscope, "--info", design], check=True, stdout=subprocess.DEVNULL)


ours = median_seconds(info, 31)
print(f"loomscope --info (whole process, median of 31): {ours * 1000:.1f} ms")
try:
    import pyembroidery
except ImportError:
    print("pyembroidery not found (set PYTHONPATH to an unpacked copy): no ratio")
    sys.exit(0)
theirs = median_seconds(lambda: pyembroidery.read_dst(design), 3)
print(f"pyembroidery read_dst (in process, median of 3): {theirs * 1000:.0f} ms")
print(f"ratio: {theirs / ours:.0f} times faster")
