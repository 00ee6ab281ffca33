#!/usr/bin/env bash
# Start-up and memory of a real-time run, both renditions, every layer in:
#   launch -> window      from starting the program to its window's first swap
#                         (the loading picture's first fade-in frame)
#   window -> first frame from that swap to the production's first frame (the
#                         swap after the loading picture's fade in and out, 11
#                         frames each way)
#   peak RSS              the program's peak resident memory (GNU time's %M), in MiB
# Each run plays the whole production (about 35 s), which ends by itself.
# Prints every run and the median of RUNS (default 3) per rendition.
#   tools/docs/startup-figures.sh [BUILD_DIR] [RUNS]    (default: build 3)
# Needs xvfb-run and GNU time (/usr/bin/time); swaps are watched by
# the test shim build/tests/program/libvelmora_swap_watch.so.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-3}
fade_frames=11
max_seconds=90
watch=$build/tests/program/libvelmora_swap_watch.so

for need in "$build/velmora" "$watch" /usr/bin/time; do
  [ -x "$need" ] || [ -f "$need" ] || { echo "startup-figures: $need is missing" >&2; exit 1; }
done
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "startup-figures: RUNS must be a positive number, not $runs" >&2; exit 1; }

# Everything runs on one virtual display; the script starts it for itself.
if [ -z "${VELMORA_FIGURES_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env VELMORA_FIGURES_DISPLAY=1 "$0" "$build" "$runs"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
first_production_swap=$((2 * fade_frames + 1))

# GNU time waits for the program: the program is the one to end.
stop() {
  pkill -TERM -P "$1" 2>/dev/null || true
}

# One run: prints "launch->window window->first-frame peak-kB".
measure() {
  local rendition=$1 flags=() log=$work/swaps.log mem=$work/peak launched pid lines i
  [ "$rendition" = beta ] && flags=(--slow-gpu)
  rm -f "$log" "$mem"
  launched=$(date +%s.%N)
  env LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy /usr/bin/time -f %M -o "$mem" \
    env LD_PRELOAD="$watch" VELMORA_SWAP_LOG="$log" VELMORA_SWAP_BRIGHTNESS=0 VELMORA_SWAP_LOG_FRAMES=100000 \
    "$build/velmora" --run --windowed --no-music --messages stderr --data "$build/data" "${flags[@]}" \
    >/dev/null 2>"$work/err" &
  pid=$!
  for ((i = 0; i < 600; ++i)); do
    lines=$( (wc -l <"$log") 2>/dev/null || echo 0)
    [ "$lines" -ge "$first_production_swap" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ "${lines:-0}" -lt "$first_production_swap" ]; then
    stop "$pid"
    wait "$pid" 2>/dev/null || true
    echo "startup-figures: $rendition never showed its first frame" >&2
    cat "$work/err" >&2
    return 1
  fi
  # The whole production plays: memory grows as layers come in, and a
  # run cut short would understate the peak. It ends by itself at 33.5 s.
  for ((i = 0; i < 10 * max_seconds; ++i)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "startup-figures: $rendition still running after $max_seconds s" >&2
    stop "$pid"
  fi
  wait "$pid" 2>/dev/null || true
  awk -v launched="$launched" -v n="$first_production_swap" -v peak="$(tail -1 "$mem")" '
    NR == 1 { first = $2 }
    NR == n { production = $2 }
    END { printf "%.3f %.3f %d\n", first - launched, production - first, peak }' "$log"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "velmora start-up, $runs runs a rendition, $(nproc) cores, LIBGL_ALWAYS_SOFTWARE=1 under Xvfb"
printf '%-8s %4s %16s %22s %14s\n' rendition run "launch->window s" "window->first frame s" "peak RSS MiB"
for rendition in alpha beta; do
  : >"$work/$rendition"
  for ((r = 1; r <= runs; ++r)); do
    figures=$(measure "$rendition")
    read -r window first peak <<<"$figures"
    echo "$window $first $peak" >>"$work/$rendition"
    printf '%-8s %4d %16.3f %22.3f %14.1f\n' "$rendition" "$r" "$window" "$first" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')"
  done
done
echo "median"
for rendition in alpha beta; do
  printf '%-8s %4s %16.3f %22.3f %14.1f\n' "$rendition" "" \
    "$(cut -d' ' -f1 "$work/$rendition" | median)" "$(cut -d' ' -f2 "$work/$rendition" | median)" \
    "$(cut -d' ' -f3 "$work/$rendition" | median | awk '{ print $1 / 1024 }')"
done
