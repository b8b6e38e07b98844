#!/usr/bin/env bash
# Benchmark: time from process start to the main window's first paint, against the least
# Win32 window started the same way in the same run, under Wine and Xvfb. Prints the medians
# and their ratio, one figure per line. Usage: bench/startup.sh [RUNS, default 7]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
RUNS=${1:-7}

ensure_packages
ensure_prefix
build_cross sealbox startup startup_ref >&2

run() {
  "$WINE" "$CROSS_BUILD/bench/startup.exe" "$(winepath -w "$CROSS_BUILD/app/sealbox.exe" 2>/dev/null)" \
    "$(winepath -w "$CROSS_BUILD/bench/startup_ref.exe" 2>/dev/null)" "$RUNS" | tr -d '\r'
}
if [ -z "${DISPLAY:-}" ]; then
  # xvfb-run is a POSIX shell script, which drops exported bash functions: pass the body.
  export CROSS_BUILD RUNS
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$(declare -f run); run"
else
  run
fi
