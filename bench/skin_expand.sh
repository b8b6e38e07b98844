#!/usr/bin/env bash
# Benchmark: expansion speed of an ~800 KB skin made by the packer, natively and (when the
# MinGW compiler and Wine are present) as a Windows program under Wine, each as a ratio
# against `gzip -dc` of the same expanded bytes compressed with `gzip -9`, measured in this run.
# Prints one figure per line. Usage: bench/skin_expand.sh [SECONDS per measurement, default 3]
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${BUILD:-$ROOT/build}/bench-skin-expand
SECONDS_PER=${1:-3}
mkdir -p "$OUT"
SOURCES=("$ROOT/bench/skin_expand.cpp" "$ROOT"/skin/data/LZH.cpp "$ROOT"/skin/data/SkinRead.cpp
         "$ROOT"/skin/data/WinSkinIni.cpp "$ROOT/tools/skinpack/SkinPack.cpp")

g++ -std=c++20 -O2 -I"$ROOT" "${SOURCES[@]}" -o "$OUT/skin_expand"
"$OUT/skin_expand" make "$OUT/bench.skn" "$OUT/bench.raw"

# gzip: the same expanded bytes, gzip -9; 100 copies of the member in one file so that one
# `gzip -dc` run decodes 100 x the skin and process start-up does not dominate.
gzip -9 -c "$OUT/bench.raw" > "$OUT/bench.raw.gz"
: > "$OUT/bench.multi.gz"
for _ in $(seq 100); do cat "$OUT/bench.raw.gz" >> "$OUT/bench.multi.gz"; done
raw_bytes=$(stat -c %s "$OUT/bench.raw")
echo "gzip9_bytes $(stat -c %s "$OUT/bench.raw.gz")"
gzip_mbps() {
  local runs=0 start end
  start=$(date +%s%N)
  while :; do
    gzip -dc "$OUT/bench.multi.gz" > /dev/null
    runs=$((runs + 1))
    end=$(date +%s%N)
    [ $((end - start)) -ge $((SECONDS_PER * 1000000000)) ] && break
  done
  awk -v b="$raw_bytes" -v r="$runs" -v ns="$((end - start))" 'BEGIN { printf "%.1f", b * 100 * r / (ns / 1e9) / 1e6 }'
}
gz=$(gzip_mbps)
echo "gzip_dc_MBps $gz"

native=$("$OUT/skin_expand" time "$OUT/bench.skn" "$SECONDS_PER" | awk '/expand_MBps/ { print $2 }')
echo "skin_expand_native_MBps $native"
awk -v a="$native" -v g="$gz" 'BEGIN { printf "skin_expand_native_vs_gzip %.3f\n", a / g }'

MINGW=$(command -v i686-w64-mingw32-g++-posix || true)
WINE=$(command -v wine || command -v wine-stable || true)
if [ -n "$MINGW" ] && [ -n "$WINE" ]; then
  "$MINGW" -std=c++20 -O2 -static -I"$ROOT" "${SOURCES[@]}" -o "$OUT/skin_expand.exe"
  export WINEPREFIX=${WINEPREFIX:-${BUILD:-$ROOT/build}/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win32
  wine_mbps=$("$WINE" "$OUT/skin_expand.exe" time "$(winepath -w "$OUT/bench.skn" 2>/dev/null || echo "$OUT/bench.skn")" "$SECONDS_PER" |
              tr -d '\r' | awk '/expand_MBps/ { print $2 }')
  gz=$(gzip_mbps)  # again, right after the Wine run, for a fair pairing
  echo "skin_expand_wine_MBps $wine_mbps"
  awk -v a="$wine_mbps" -v g="$gz" 'BEGIN { printf "skin_expand_wine_vs_gzip %.3f\n", a / g }'
else
  echo "skin_expand_wine_MBps skipped (no MinGW compiler or Wine)"
fi
