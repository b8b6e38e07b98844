#!/usr/bin/env bash
# Benchmark: the load of the built-in skin (expand, archive, description, records, derived
# bitmaps) as a share of the program's start-up (process start to the main window's first
# paint), both measured in this run under Wine and Xvfb. The load is timed in fresh processes,
# first load of each, as start-up does it. Prints one figure per line.
# Usage: bench/skin_load.sh [RUNS, default 7]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
RUNS=${1:-7}

ensure_packages
ensure_prefix
build_cross sealbox startup startup_ref skin_load >&2

run() {
  local startup first=() median=() out
  startup=$("$WINE" "$CROSS_BUILD/bench/startup.exe" "$RUNS" \
    program "\"$(winepath -w "$CROSS_BUILD/app/sealbox.exe" 2>/dev/null)\"" \
    reference "\"$(winepath -w "$CROSS_BUILD/bench/startup_ref.exe" 2>/dev/null)\"" | tr -d '\r')
  echo "$startup"
  for _ in $(seq "$RUNS"); do
    out=$("$WINE" "$CROSS_BUILD/bench/skin_load.exe" 9 | tr -d '\r')
    first+=("$(echo "$out" | awk '/skin_load_first_ms/ {print $2}')")
    median+=("$(echo "$out" | awk '/skin_load_median_ms/ {print $2}')")
  done
  mid() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
  local load program
  load=$(mid "${first[@]}")
  program=$(echo "$startup" | awk '/startup_program_ms/ {print $2}')
  echo "skin_load_first_ms $load"
  echo "skin_load_repeat_ms $(mid "${median[@]}")"
  awk -v l="$load" -v p="$program" 'BEGIN { printf "skin_load_share_of_startup_percent %.2f\n", 100 * l / p }'
}
if [ -z "${DISPLAY:-}" ]; then
  export CROSS_BUILD RUNS
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$(declare -f run); run"
else
  run
fi
