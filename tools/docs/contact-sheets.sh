#!/usr/bin/env bash
# Remakes docs/contact-sheet-alpha.png and docs/contact-sheet-beta.png: a
# frame of each rendition every half second of demo time, from 0 to 33.5,
# captured by the demo itself (--capture at 2 frames a second) and laid out
# by ImageMagick, each tile labelled with its demo time.
#   tools/docs/contact-sheets.sh [BUILD_DIR] [OUT_PATTERN]
# BUILD_DIR defaults to build; OUT_PATTERN names each sheet, %s standing for
# the rendition (default docs/contact-sheet-%s.png; a .jpg name is written
# as a JPEG).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
pattern=${2:-$root/docs/contact-sheet-%s.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
font=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf  # fonts-liberation

for rendition in alpha beta; do
  flags=()
  [ "$rendition" = beta ] && flags=(--slow-gpu)
  xvfb-run -a -s "-screen 0 1280x1024x24" env LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy \
    "$build/velmora" --data "$build/data" "${flags[@]}" --capture "$work/$rendition" --fps 2 \
    >/dev/null 2>"$work/log" || { cat "$work/log" >&2; exit 1; }
  tiles=()
  for frame in "$work/$rendition"/frame_*.png; do
    n=$((10#$(basename "$frame" .png | sed 's/frame_//')))
    label=$(printf '%d.%d s' $((n / 2)) $((n % 2 * 5)))
    convert "$frame" -resize 200x150 -font "$font" -fill white -pointsize 14 -gravity southwest \
      -annotate +4+2 "$label" "$frame.tile.png"
    tiles+=("$frame.tile.png")
  done
  # shellcheck disable=SC2059  # the pattern is the caller's format
  out=$(printf "$pattern" "$rendition")
  montage "${tiles[@]}" -tile 8x -geometry 200x150+2+2 -background '#202020' -quality 82 "$out"
  echo "${out#"$root"/}: ${#tiles[@]} frames"
done
