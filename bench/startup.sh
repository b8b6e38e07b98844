#!/usr/bin/env bash
# Benchmark: time from process start to the main window's first paint, in one run under Wine and
# Xvfb, for four programs started in turn: the program skinned with the built-in skin file
# (--skin; the paint counted is the first one after the skin is on), the program as it starts by
# default (skinned from the skin stored in its form), the same program with --no-skin, and the
# least Win32 window. Prints the medians and the ratios (each the median of
# the rounds' own ratios), one figure per line; startup_ratio is the unskinned program against the
# bare window. Every sample goes to stderr.
# Usage: bench/startup.sh [RUNS, default 15]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
RUNS=${1:-15}

ensure_packages
ensure_prefix
# The native tools that draw and pack the built-in skins, and the Windows programs.
[ -f "$NATIVE_BUILD/CMakeCache.txt" ] || cmake -S "$ROOT" -B "$NATIVE_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$NATIVE_BUILD" -j "$JOBS" --target skingen skinpack >&2
build_cross sealbox startup startup_ref builtin_skins >&2

run() {
  local program skin reference out
  program=$(winepath -w "$CROSS_BUILD/app/sealbox.exe" 2>/dev/null)
  skin=$(winepath -w "$CROSS_BUILD/skins/default.skn" 2>/dev/null)
  reference=$(winepath -w "$CROSS_BUILD/bench/startup_ref.exe" 2>/dev/null)
  out=$("$WINE" "$CROSS_BUILD/bench/startup.exe" "$RUNS" \
    skinned "\"$program\" --skin \"$skin\"" \
    stored "\"$program\"" \
    unskinned "\"$program\" --no-skin" \
    reference "\"$reference\"" | tr -d '\r')
  echo "$out"
  # startup_ratio: the unskinned program against the bare window.
  echo "$out" | awk '$1 == "startup_unskinned_over_reference" { printf "startup_ratio %s\n", $2 }'
}
if [ -z "${DISPLAY:-}" ]; then
  # xvfb-run is a POSIX shell script, which drops exported bash functions: pass the body.
  export CROSS_BUILD RUNS
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$(declare -f run); run"
else
  run
fi
