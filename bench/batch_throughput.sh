#!/usr/bin/env bash
# Benchmark: batch encryption throughput. Encrypts a 200 MB random file with TCryptoApi under
# Wine (built-in key "470913", stream mode, derived-key form: RC4 under the 128-bit key
# MD5("470913")) and, in the same run, the same file with `openssl enc -rc4` (legacy provider,
# the same key); checks that both outputs are equal and prints one figure per line, with the
# ratio engine/openssl (target: 1.25 or less). Each side runs ROUNDS times, interleaved, with
# the destination removed before each run; the best time of each side counts.
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
cat "$SRC" > /dev/null  # both sides read it from the page cache
WSRC=$(winepath -w "$SRC" 2>/dev/null)
WDST=$(winepath -w "$OUT/engine.sbx" 2>/dev/null)

best_engine="" best_openssl=""
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b + 0 < a + 0) ? b : a }'; }
for _ in $(seq "$ROUNDS"); do
  rm -f "$OUT/engine.sbx"
  # The engine's own time: EncryptFile alone, without Wine's process start.
  t=$("$WINE" "$EXE" "$WSRC" "$WDST" | tr -d '\r' | awk '/^engine_seconds/ { print $2 }')
  [ -n "$t" ] || { echo "engine run failed" >&2; exit 1; }
  best_engine=$(min "$best_engine" "$t")

  rm -f "$OUT/openssl.rc4"
  start=$(date +%s%N)
  openssl enc -rc4 -provider legacy -provider default -K "$KEY" -nosalt -in "$SRC" -out "$OUT/openssl.rc4"
  end=$(date +%s%N)
  best_openssl=$(min "$best_openssl" "$(awk -v ns="$((end - start))" 'BEGIN { printf "%.3f", ns / 1e9 }')")
done

if ! cmp -s "$OUT/engine.sbx" "$OUT/openssl.rc4"; then
  echo "engine and openssl outputs differ" >&2
  exit 1
fi
rm -f "$OUT/engine.sbx" "$OUT/openssl.rc4"

echo "file_bytes $SIZE"
echo "engine_seconds $best_engine"
echo "openssl_seconds $best_openssl"
awk -v s="$SIZE" -v t="$best_engine" 'BEGIN { printf "engine_MBps %.1f\n", s / t / 1e6 }'
awk -v s="$SIZE" -v t="$best_openssl" 'BEGIN { printf "openssl_MBps %.1f\n", s / t / 1e6 }'
awk -v a="$best_engine" -v b="$best_openssl" 'BEGIN { printf "engine_vs_openssl %.3f\n", a / b }'
