#!/usr/bin/env bash
# How closely the picture follows the heard music when frames are slow:
# plays the demo live from demo time START (default 24) with every frame
# held to FRAME_MS (default 50) by the test swap watcher, the sound going
# to SDL's disk driver at the real rate, and prints |demo time - music
# heard when the frame was shown| over the frames after the first second
# (median, 95th and 99th percentile, maximum), from the frame log.
#   tools/bench/music-lock.sh [BUILD_DIR] [START] [FRAME_MS] [--slow-gpu]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
start=${2:-24}
frame_ms=${3:-50}
extra=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

xvfb-run -a -s "-screen 0 1280x1024x24" env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/heard.raw" \
  LD_PRELOAD="$build/tests/program/libvelmora_swap_watch.so" VELMORA_SWAP_DELAY_MS="$frame_ms" \
  "$build/velmora" --run --windowed --messages stderr --data "$build/data" --start "$start" $extra \
  --frame-log "$work/frames.log" 2>/dev/null

awk -v from="$start" '$1 >= from + 1 && $1 < 33.5 { d = ($1 - $2) * 1000; print (d < 0 ? -d : d), $3 * 1000 }' \
  "$work/frames.log" | sort -g | awk '
  function at(share) { i = int(share * NR + 0.999999); if (i < 1) i = 1; return gap[i] }
  { gap[NR] = $1; steps += $2 }
  END {
    if (NR == 0) { print "no frames logged"; exit 1 }
    printf "%d frames after the first second, mean step %.1f ms\n", NR, steps / NR
    printf "|demo - heard| ms: median %.2f, 95th %.2f, 99th %.2f, max %.2f\n", at(0.5), at(0.95), at(0.99), gap[NR]
  }'
