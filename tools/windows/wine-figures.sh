#!/usr/bin/env bash
# Figures of the Windows build under Wine beside the Linux build, on one
# virtual display (Xvfb, llvmpipe), both renditions:
#   tools/windows/wine-figures.sh [LINUX_BUILD_DIR] [WINDOWS_DIST_DIR]
# - launch to first frame: from starting the program to the first line of
#   its frame log (a real-time run, --run --windowed --no-music), the log
#   polled every 10 ms;
# - live frames: how many the whole 33.5 s run drew, and their mean interval;
# - --bench: the draw time per frame at a fixed step (median, 95th percentile).
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine-session.sh"

live() {  # platform rendition-flags...
  local platform=$1
  shift
  rm -f "$work/frames.log"
  local start
  start=$(date +%s.%N)
  if [ "$platform" = wine ]; then
    (cd "$dist" && wine velmora.exe --run --windowed --no-music --frame-log "$work/frames.log" "$@" 2>/dev/null) &
  else
    "$linux/velmora" --data "$dist" --run --windowed --no-music --frame-log "$work/frames.log" "$@" 2>/dev/null &
  fi
  local pid=$!
  until [ -s "$work/frames.log" ] || ! kill -0 $pid 2>/dev/null; do sleep 0.01; done
  local first
  first=$(echo "$(date +%s.%N) - $start" | bc)
  wait $pid
  awk -v f="$first" 'END { printf "first frame %.2f s after launch, %d frames live, %.1f ms apart", f, NR, 33500 / NR }' "$work/frames.log"
}

bench() {  # platform rendition
  if [ "$1" = wine ]; then
    (cd "$dist" && wine velmora.exe --bench --rendition "$2" 2>&1 | tr -d '\r')
  else
    "$linux/velmora" --data "$dist" --bench --rendition "$2" 2>&1
  fi | grep -m1 -i 'median'
}

for rendition in alpha beta; do
  flags=()
  [ $rendition = beta ] && flags=(--slow-gpu)
  for platform in linux wine; do
    echo "$platform $rendition: $(live $platform "${flags[@]}"); bench: $(bench $platform $rendition)"
  done
done
