#!/usr/bin/env bash
# Where a whole `--bench` run spends the machine: records it with perf under
# Xvfb and prints the share of samples by thread (llvmpipe's rasteriser
# threads against the demo's own), by library (llvmpipe's JIT-compiled
# shaders and rasteriser, swrast_dri.so, against velmora itself) and the
# demo's own hottest functions.
#   tools/bench/perf-profile.sh [BUILD_DIR] [FPS] [--rendition alpha|beta]
# Needs perf (linux-perf) and kernel.perf_event_paranoid <= 2.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
fps=${2:-10}
shift $(($# < 2 ? $# : 2))
command -v perf >/dev/null || { echo "perf-profile: perf is not installed (apt-get install linux-perf)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

xvfb-run -a -s "-screen 0 1280x1024x24" env LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy \
  perf record -q -F 499 -g -o "$work/perf.data" "$build/velmora" --bench --fps "$fps" --data "$build/data" "$@" |
  sed -n '1,2p'

report() { perf report -i "$work/perf.data" --no-children -g none "$@" 2>/dev/null | grep -v '^#' | grep -v '^$'; }
echo "by thread:"
report --sort comm | head -5
echo "by library:"
report --sort dso | head -6
echo "the demo's own hottest functions:"
report --dsos velmora --sort sym | head -8
