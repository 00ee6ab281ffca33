#!/usr/bin/env bash
# Remakes every picture under docs/ from a built tree, and the choreography
# page beside them:
#   contact-sheet-alpha.png, contact-sheet-beta.png  (tools/docs/contact-sheets.sh)
#   choreography.md        velmora-choreography-table
#   datagen-meshes.png     each generated mesh drawn by velmora-mesh-previews
#   datagen-pictures.png   every generated picture, named with its size
#   setup-dialog.png       the setup dialog as the demo opens it
#   line-layers-moments.jpg  --shot at the line layers' moments, both renditions
#   look/spectrogram.png   the track with its hits, for the look review (docs/look.md;
#                          its "before" pictures and every-frame-*.jpg compare with an
#                          earlier build: tools/docs/before-after.sh)
#   tools/docs/remake-pictures.sh [BUILD_DIR]    (default: build)
# Needs xvfb-run, ImageMagick, xdotool, sox and fonts-liberation.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
data=$build/data
docs=$root/docs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
font=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf  # fonts-liberation
headless=(xvfb-run -a -s "-screen 0 1280x1024x24" env LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy)
export LC_ALL=C  # file order as the bytes sort, capitals first

for tool in velmora tools/velmora-choreography-table tools/velmora-mesh-previews; do
  [ -x "$build/$tool" ] || { echo "remake-pictures: $build/$tool is missing: build first" >&2; exit 1; }
done
[ -d "$data/meshes" ] && [ -d "$data/textures" ] || { echo "remake-pictures: no data in $data" >&2; exit 1; }
[ -f "$font" ] || { echo "remake-pictures: no font $font (fonts-liberation)" >&2; exit 1; }

"$root/tools/docs/contact-sheets.sh" "$build"

"$build/tools/velmora-choreography-table" >"$docs/choreography.md"
echo "docs/choreography.md"

# The five meshes side by side, each named under its picture.
"${headless[@]}" "$build/tools/velmora-mesh-previews" "$data" "$work/meshes" 600 >/dev/null
tiles=()
for name in man gon heart ground quad; do
  convert "$work/meshes/$name.png" -resize 300x300 -set label "$name" "$work/meshes/$name.tile.png"
  tiles+=("$work/meshes/$name.tile.png")
done
montage "${tiles[@]}" -tile 5x -geometry 300x300+2+2 -background '#202020' -fill '#e0e0e0' \
  -font "$font" -pointsize 13 "$docs/datagen-meshes.png"
echo "docs/datagen-meshes.png"

# Every generated picture: the textures, then the meshes' maps.
montage -label '%f %wx%h' "$data"/textures/*.jpg "$data"/meshes/*.jpg "$data"/meshes/*.JPG \
  -tile 10x -geometry 150x150+3+3 -background '#202020' -fill '#d0d0d0' -font "$font" -pointsize 10 \
  "$docs/datagen-pictures.png"
echo "docs/datagen-pictures.png"

# The setup dialog, as the demo opens it without flags; Escape closes it.
"${headless[@]}" bash -c '
  set -e
  "$1" --data "$2" --messages stderr 2>"$3/dialog.log" &
  pid=$!
  window=$(timeout 30 xdotool search --sync --name " Velmora  by Drov - 2006 " | head -1)
  sleep 0.5  # let it draw once
  import -window "$window" "$3/setup-dialog.png"
  # The dialog is gone by the key release, which then has no window: not a fault.
  xdotool key --window "$window" Escape 2>/dev/null || true
  wait "$pid"
' _ "$build/velmora" "$data" "$work"
convert "$work/setup-dialog.png" -strip "$docs/setup-dialog.png"
echo "docs/setup-dialog.png"

# The line layers' moments: shader rendition left, fixed function right.
tiles=()
for t in 2 6 9.5 12 19 25 30; do
  for rendition in alpha beta; do
    flags=()
    [ "$rendition" = beta ] && flags=(--slow-gpu)
    "${headless[@]}" "$build/velmora" --data "$data" "${flags[@]}" --shot "$t" "$work/$rendition-$t.png" \
      >/dev/null 2>"$work/shot.log" || { cat "$work/shot.log" >&2; exit 1; }
    convert "$work/$rendition-$t.png" -resize 320x240 -font "$font" -fill white -pointsize 13 \
      -gravity southwest -annotate +4+2 "$t s" "$work/$rendition-$t.tile.png"
    tiles+=("$work/$rendition-$t.tile.png")
  done
done
montage "${tiles[@]}" -tile 2x -geometry 320x240+2+2 -background white -quality 90 "$docs/line-layers-moments.jpg"
echo "docs/line-layers-moments.jpg"

# The look review's track: the spectrogram with the hits marked (docs/look.md).
sox "$data/music/velmora.ogg" -n spectrogram -r -x 1072 -y 160 -o "$work/spectrogram.png"
seconds=$(soxi -D "$data/music/velmora.ogg")
marks=()
for hit in 9.2 12.3 16.2 18.0; do
  x=$(awk -v t="$hit" -v d="$seconds" 'BEGIN { printf "%d", t / d * 1072 }')
  marks+=(-stroke '#ffd060' -draw "line $x,0 $x,159" -stroke none -fill '#ffd060' -draw "text $((x + 3)),14 '$hit s'")
done
convert "$work/spectrogram.png" -font "$font" -pointsize 12 "${marks[@]}" "$docs/look/spectrogram.png"
echo "docs/look/spectrogram.png"
