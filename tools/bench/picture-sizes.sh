#!/usr/bin/env bash
# Draw time and peak memory by picture size: `--bench` at 800 x 600 and at
# the 4:3 pictures of 1920 x 1080 and 3840 x 2160 frames, both renditions,
# at FPS steps a second (default 5: the whole run in 168 frames, so that the
# largest size ends in minutes on a software rasteriser). One row each:
# picture, median, 95th and 99th percentile, maximum, peak resident memory.
#   tools/bench/picture-sizes.sh [BUILD_DIR] [FPS]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
fps=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "| rendition | frame size | picture drawn | median | 95th | 99th | maximum | peak memory |"
echo "|---|---|---|---|---|---|---|---|"
for rendition in alpha beta; do
  for size in 800x600 1920x1080 3840x2160; do
    xvfb-run -a -s "-screen 0 1280x1024x24" env LIBGL_ALWAYS_SOFTWARE=1 \
      /usr/bin/time -f "%M" -o "$work/kib" \
      "$build/velmora" --data "$build/data" --bench --fps "$fps" --rendition "$rendition" --size "$size" \
      --bench-json "$work/bench.json" >/dev/null 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
    python3 - "$work/bench.json" "$work/kib" "$rendition" "$size" <<'PY'
import json, sys
j = json.load(open(sys.argv[1]))
kib = int(open(sys.argv[2]).read().split()[-1])
f = j["frameMs"]
w, h = j["picture"]
print(f"| {sys.argv[3]} | {sys.argv[4]} | {w} x {h} | {f['median']:.1f} ms | {f['p95']:.1f} ms | {f['p99']:.1f} ms "
      f"| {f['max']:.1f} ms | {kib / 1024:.0f} MiB |")
PY
  done
done
