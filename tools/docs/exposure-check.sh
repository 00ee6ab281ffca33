#!/usr/bin/env bash
# The exposure bound of the look: outside 0.6 s after each hit of the track
# (9.2, 12.3, 16.2 and 18.0 s demo time) no frame's mean brightness is above
# 100 of 255, and no frame has more than 3 % of its pixels at 250 or more in
# all three channels. Captures both renditions at 4 frames a second and
# prints every frame that breaks the bound; exits 1 when any does.
#   tools/docs/exposure-check.sh [BUILD_DIR] [FPS]    (defaults: build, 4)
# Needs xvfb-run and ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
fps=${2:-4}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

broken=0
for rendition in alpha beta; do
  flags=()
  [ "$rendition" = beta ] && flags=(--slow-gpu)
  xvfb-run -a -s "-screen 0 1280x1024x24" env LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy \
    "$build/velmora" --data "$build/data" "${flags[@]}" --capture "$work/$rendition" --fps "$fps" \
    >/dev/null 2>"$work/log" || { cat "$work/log" >&2; exit 1; }
  worst_mean=0
  worst_white=0
  for frame in "$work/$rendition"/frame_*.png; do
    n=$((10#$(basename "$frame" .png | sed 's/frame_//')))
    t=$(awk -v n="$n" -v f="$fps" 'BEGIN { printf "%.2f", n / f }')
    mean=$(convert "$frame" -format '%[fx:255*mean]' info:)
    white=$(convert "$frame" -separate -threshold 98% -evaluate-sequence min -format '%[fx:100*mean]' info:)
    flash=$(awk -v t="$t" 'BEGIN { split("9.2 12.3 16.2 18.0", h, " "); for (i in h) if (t >= h[i] && t < h[i] + 0.6) { print 1; exit } print 0 }')
    worst_mean=$(awk -v a="$worst_mean" -v b="$mean" -v f="$flash" 'BEGIN { print (f == 0 && b > a) ? b : a }')
    worst_white=$(awk -v a="$worst_white" -v b="$white" -v f="$flash" 'BEGIN { print (f == 0 && b > a) ? b : a }')
    if [ "$flash" = 0 ] && awk -v m="$mean" -v w="$white" 'BEGIN { exit !(m > 100 || w > 3) }'; then
      printf '%s %6.2f s: mean %5.1f of 255, %4.1f %% of pixels at 250 or more\n' "$rendition" "$t" "$mean" "$white"
      broken=1
    fi
  done
  printf '%s: outside the hits the brightest mean is %.1f of 255, the most white pixels %.1f %%\n' \
    "$rendition" "$worst_mean" "$worst_white"
done
exit "$broken"
