#!/usr/bin/env bash
# Remakes the pictures that compare the code with an earlier build of it:
#   every-frame-9.4.jpg    four frames from 9.4 s of the shader rendition, earlier above
#   every-frame-29.5.jpg   the man's wires at 29.5 s, both renditions, earlier above
#   look/contact-sheet-alpha-before.jpg, look/contact-sheet-beta-before.jpg
#                          the earlier build's contact sheets (docs/look.md)
#   tools/docs/before-after.sh BEFORE_BUILD [BUILD_DIR]
# BEFORE_BUILD is a build folder (velmora and its data) of the earlier code:
# for the pictures under docs/, main at ddcb63b. BUILD_DIR defaults to build.
# Needs xvfb-run, ImageMagick and fonts-liberation.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BEFORE_BUILD [BUILD_DIR]" >&2; exit 2; }
before=$(cd "$1" && pwd)
after=$(cd "${2:-$root/build}" && pwd)
docs=$root/docs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
font=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf  # fonts-liberation
headless=(xvfb-run -a -s "-screen 0 1280x1024x24" env LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy)

# capture BUILD NAME START END [FLAGS...]: frames at 10 a second into $work/NAME
capture() {
  local build=$1 name=$2 start=$3 end=$4
  shift 4
  "${headless[@]}" "$build/velmora" --data "$build/data" "$@" --capture "$work/$name" --start "$start" --end "$end" \
    --fps 10 >/dev/null 2>"$work/log" || { cat "$work/log" >&2; exit 1; }
}

# Several frames in a row: what a viewer sees from the second frame on.
tiles=()
for side in before after; do
  build=$before
  [ "$side" = after ] && build=$after
  capture "$build" "$side-94" 9.4 9.8
  for n in 0 1 2 3; do
    convert "$work/$side-94/frame_0000$n.png" -resize 320x240 -font "$font" -fill white -pointsize 13 \
      -gravity southwest -annotate +4+2 "$side, 9.$((4 + n)) s" "$work/$side-94-$n.png"
    tiles+=("$work/$side-94-$n.png")
  done
done
montage "${tiles[@]}" -tile 4x2 -geometry +2+2 -background '#202020' "$docs/every-frame-9.4.jpg"
echo "docs/every-frame-9.4.jpg"

tiles=()
for side in before after; do
  build=$before
  [ "$side" = after ] && build=$after
  for rendition in alpha beta; do
    flags=()
    [ "$rendition" = beta ] && flags=(--slow-gpu)
    capture "$build" "$side-$rendition-295" 29.4 29.6 "${flags[@]}"
    convert "$work/$side-$rendition-295/frame_00001.png" -crop 400x300+280+150 +repage -font "$font" \
      -fill white -pointsize 13 -gravity southwest -annotate +4+2 "$side, $rendition, 29.5 s" \
      "$work/$side-$rendition-295.png"
    tiles+=("$work/$side-$rendition-295.png")
  done
done
montage "${tiles[@]}" -tile 2x2 -geometry +2+2 -background '#202020' "$docs/every-frame-29.5.jpg"
echo "docs/every-frame-29.5.jpg"

"$root/tools/docs/contact-sheets.sh" "$before" "$docs/look/contact-sheet-%s-before.jpg"
