#!/usr/bin/env bash
# Benchmark: a full repaint of the main window with all its children, skinned with its built-in
# skin against the same window unskinned, in one run under Wine and Xvfb. Prints one figure per
# line (medians over the rounds and the ratio); every round goes to stderr.
# Usage: bench/window_paint.sh [ROUNDS, default 7 [REPEATS, default 30]]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
ROUNDS=${1:-7}
REPEATS=${2:-30}

ensure_packages
ensure_prefix
[ -f "$NATIVE_BUILD/CMakeCache.txt" ] || cmake -S "$ROOT" -B "$NATIVE_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$NATIVE_BUILD" -j "$JOBS" --target skingen skinpack >&2
build_cross window_paint >&2

run() {
  "$WINE" "$CROSS_BUILD/bench/window_paint.exe" "$ROUNDS" "$REPEATS" | tr -d '\r'
}
if [ -z "${DISPLAY:-}" ]; then
  export CROSS_BUILD ROUNDS REPEATS
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$(declare -f run); run"
else
  run
fi
