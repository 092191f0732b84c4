#!/bin/sh
# Rebuilds docs/screenshot.png: the viewer on the sample design in the thread look, taken
# under a virtual X server. Usage: tools/screenshot.sh [BUILD_DIR]
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cmake --build "$build" --target screenshot >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tools/screenshot" \
    "$top/data/samples/rose-badge.dst" "$top/docs/screenshot.png"
echo "wrote docs/screenshot.png"
