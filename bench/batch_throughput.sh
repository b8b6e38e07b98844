#!/usr/bin/env bash
# Benchmark: batch encryption throughput. Encrypts a 200 MB random file with TCryptoApi under
# Wine (built-in key "470913", stream mode, derived-key form: RC4 under the 128-bit key
# MD5("470913")) with each of the engine's two chunk loops (blocking, and overlapped transfers
# around the cipher) and, in the same run, the same file with `openssl enc -rc4` (legacy
# provider, the same key); checks that all three outputs are equal and prints one figure per
# line, with the ratios engine/openssl for both loops (target: 1.10 or less). engine_seconds and
# engine_vs_openssl are those of the engine's default loop. Each side runs ROUNDS times,
# interleaved, with the destination removed before each run; the best time of each side counts.
# In the same rounds the file goes as a batch through the main window, shown and skinned with its
# built-in skin (its progress handler after every chunk: the skinned progress bar, the percentage
# panel and the window's messages), and through the same window unskinned; their outputs must
# equal the engine's. window_vs_engine is the skinned window against the engine's default loop
# (target: 1.05 or less); bar_repaint_* are one repaint of the window's progress bar drawn by the
# skin and by the system, and window_handler_seconds the time spent in the handler.
# Usage: bench/batch_throughput.sh [ROUNDS, default 3]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
ROUNDS=${1:-3}
SIZE=200000000
KEY=$(printf '%s' 470913 | openssl md5 -binary | od -An -tx1 | tr -d ' \n')

ensure_packages
# The window runs need a display.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
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
# The batch of the file through the main window (skinned, or "unskinned"): prints the seconds and
# leaves the output in $OUT/window-KIND/plain.bin.sbx; the skinned run's other figures go to
# $OUT/window.report.
window() {
  local kind=$1 dir=$OUT/window-$1 flag=--window report t
  [ "$kind" = unskinned ] && flag=--window-unskinned
  mkdir -p "$dir"
  rm -f "$dir/plain.bin.sbx"
  report=$("$WINE" "$EXE" "$WSRC" "$(winepath -w "$dir" 2>/dev/null)" "$flag" | tr -d '\r')
  t=$(awk '/^window_seconds/ { print $2 }' <<<"$report")
  [ -n "$t" ] || { echo "window run ($kind) failed" >&2; exit 1; }
  [ "$kind" = skinned ] && printf '%s\n' "$report" >> "$OUT/window.report"
  echo "$t"
}
rm -f "$OUT/window.report"

# Which loop the engine takes when not told.
rm -f "$OUT/default.sbx"
head -c 1000 "$SRC" > "$OUT/default.bin"
DEFAULT_LOOP=$("$WINE" "$EXE" "$(winepath -w "$OUT/default.bin" 2>/dev/null)" \
  "$(winepath -w "$OUT/default.sbx" 2>/dev/null)" | tr -d '\r' | awk '/^engine_loop/ { print $2 }')
rm -f "$OUT/default.bin" "$OUT/default.sbx"

best_blocking="" best_overlapped="" best_openssl="" best_window="" best_plain_window=""
for _ in $(seq "$ROUNDS"); do
  best_blocking=$(min "$best_blocking" "$(engine blocking)")
  best_overlapped=$(min "$best_overlapped" "$(engine overlapped)")
  best_window=$(min "$best_window" "$(window skinned)")
  best_plain_window=$(min "$best_plain_window" "$(window unskinned)")

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
for kind in skinned unskinned; do
  if ! cmp -s "$OUT/window-$kind/plain.bin.sbx" "$OUT/openssl.rc4"; then
    echo "window ($kind) and openssl outputs differ" >&2
    exit 1
  fi
done
# The skinned runs' own figures: the best of each.
figure() { awk -v k="$1" '$1 == k { if (best == "" || $2 + 0 < best + 0) best = $2 } END { print best }' "$OUT/window.report"; }
repaint_skinned=$(figure bar_repaint_skinned_ms)
repaint_system=$(figure bar_repaint_system_ms)
handler=$(figure window_handler_seconds)
rm -rf "$OUT"/engine-*.sbx "$OUT/openssl.rc4" "$OUT"/window-* "$OUT/window.report"

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
echo "window_seconds $best_window"
echo "window_unskinned_seconds $best_plain_window"
echo "window_MBps $(mbps "$best_window")"
echo "window_handler_seconds $handler"
echo "bar_repaint_skinned_ms $repaint_skinned"
echo "bar_repaint_system_ms $repaint_system"
echo "window_vs_engine $(ratio "$best_window" "$best_engine")"
echo "window_vs_unskinned_window $(ratio "$best_window" "$best_plain_window")"
