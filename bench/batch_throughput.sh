#!/usr/bin/env bash
# Benchmark: batch encryption throughput. Encrypts a 200 MB random file with TCryptoApi under
# Wine (built-in key "470913", stream mode, derived-key form: RC4 under the 128-bit key
# MD5("470913")) with each of the engine's two chunk loops (blocking, and overlapped transfers
# around the cipher) and, in the same run, the same file with `openssl enc -rc4` (legacy
# provider, the same key); checks that all three outputs are equal and prints one figure per
# line, with the ratios engine/openssl for both loops (target: 1.10 or less). engine_seconds and
# engine_vs_openssl are those of the engine's default loop. Each side runs ROUNDS times,
# interleaved, with the destination removed before each run; the best time of each side counts.
# Usage: bench/batch_throughput.sh [ROUNDS, default 3]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
ROUNDS=${1:-3}
SIZE=200000000
KEY=$(printf '%s' 470913 | openssl md5 -binary | od -An -tx1 | tr -d ' \n')

ensure_packages
ensure_prefix
build_cross batch_throughput >&2
EXE=$CROSS_BUILD/bench/batch_throughput.exe

OUT=$BUILD/bench-batch-throughput
mkdir -p "$OUT"
SRC=$OUT/plain.bin
if [ ! -f "$SRC" ] || [ "$(stat -c %s "$SRC")" != "$SIZE" ]; then
  head -c "$SIZE" /dev/urandom > "$SRC"
fi
cat "$SRC" > /dev/null  # every side reads it from the page cache
WSRC=$(winepath -w "$SRC" 2>/dev/null)

min() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b + 0 < a + 0) ? b : a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
mbps() { awk -v s="$SIZE" -v t="$1" 'BEGIN { printf "%.1f", s / t / 1e6 }'; }

# The engine's own time: EncryptFile alone, without Wine's process start. Prints the seconds
# and leaves the output in $OUT/engine-LOOP.sbx.
engine() {
  local loop=$1 dst=$OUT/engine-$1.sbx report t
  rm -f "$dst"
  report=$("$WINE" "$EXE" "$WSRC" "$(winepath -w "$dst" 2>/dev/null)" "--$loop" | tr -d '\r')
  t=$(awk '/^engine_seconds/ { print $2 }' <<<"$report")
  [ -n "$t" ] || { echo "engine run ($loop) failed" >&2; exit 1; }
  echo "$t"
}
# Which loop the engine takes when not told.
rm -f "$OUT/default.sbx"
head -c 1000 "$SRC" > "$OUT/default.bin"
DEFAULT_LOOP=$("$WINE" "$EXE" "$(winepath -w "$OUT/default.bin" 2>/dev/null)" \
  "$(winepath -w "$OUT/default.sbx" 2>/dev/null)" | tr -d '\r' | awk '/^engine_loop/ { print $2 }')
rm -f "$OUT/default.bin" "$OUT/default.sbx"

best_blocking="" best_overlapped="" best_openssl=""
for _ in $(seq "$ROUNDS"); do
  best_blocking=$(min "$best_blocking" "$(engine blocking)")
  best_overlapped=$(min "$best_overlapped" "$(engine overlapped)")

  rm -f "$OUT/openssl.rc4"
  start=$(date +%s%N)
  openssl enc -rc4 -provider legacy -provider default -K "$KEY" -nosalt -in "$SRC" -out "$OUT/openssl.rc4"
  end=$(date +%s%N)
  best_openssl=$(min "$best_openssl" "$(awk -v ns="$((end - start))" 'BEGIN { printf "%.3f", ns / 1e9 }')")
done

for loop in blocking overlapped; do
  if ! cmp -s "$OUT/engine-$loop.sbx" "$OUT/openssl.rc4"; then
    echo "engine ($loop loop) and openssl outputs differ" >&2
    exit 1
  fi
done
rm -f "$OUT"/engine-*.sbx "$OUT/openssl.rc4"

if [ "$DEFAULT_LOOP" = overlapped ]; then best_engine=$best_overlapped; else best_engine=$best_blocking; fi
echo "file_bytes $SIZE"
echo "engine_loop $DEFAULT_LOOP"
echo "engine_seconds $best_engine"
echo "engine_blocking_seconds $best_blocking"
echo "engine_overlapped_seconds $best_overlapped"
echo "openssl_seconds $best_openssl"
echo "engine_MBps $(mbps "$best_engine")"
echo "engine_blocking_MBps $(mbps "$best_blocking")"
echo "engine_overlapped_MBps $(mbps "$best_overlapped")"
echo "openssl_MBps $(mbps "$best_openssl")"
echo "engine_vs_openssl $(ratio "$best_engine" "$best_openssl")"
echo "blocking_vs_openssl $(ratio "$best_blocking" "$best_openssl")"
echo "overlapped_vs_openssl $(ratio "$best_overlapped" "$best_openssl")"
echo "overlapped_vs_blocking $(ratio "$best_overlapped" "$best_blocking")"
