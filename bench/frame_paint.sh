#!/usr/bin/env bash
# Benchmark: frame repaint, whole-window redraw and 200 interactive-size steps of a window made
# like the main window, skinned with the built-in skin against the same window unskinned, in one
# run under Wine and Xvfb. Prints one figure per line (medians over the rounds, and the ratios);
# every round goes to stderr. Usage: bench/frame_paint.sh [ROUNDS, default 7 [REPEATS, default 200]]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
ROUNDS=${1:-7}
REPEATS=${2:-200}

ensure_packages
ensure_prefix
# The native tools that draw and pack the built-in skins, and the Windows program.
[ -f "$NATIVE_BUILD/CMakeCache.txt" ] || cmake -S "$ROOT" -B "$NATIVE_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$NATIVE_BUILD" -j "$JOBS" --target skingen skinpack >&2
build_cross frame_paint >&2

run() {
  "$WINE" "$CROSS_BUILD/bench/frame_paint.exe" "$ROUNDS" "$REPEATS" | tr -d '\r'
}
if [ -z "${DISPLAY:-}" ]; then
  # A screen tall enough for both windows one above the other at their largest.
  export CROSS_BUILD ROUNDS REPEATS
  xvfb-run -a -s "-screen 0 1600x1600x24" bash -c "$(declare -f run); run"
else
  run
fi
