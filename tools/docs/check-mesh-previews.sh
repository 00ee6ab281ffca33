#!/usr/bin/env bash
# The mesh pictures of docs/datagen-meshes.png: each of the five generated
# meshes drawn, framed and lit (not a blank or black square), and a data
# folder without meshes refused with a message and exit 1. Needs a display.
#   check-mesh-previews.sh TOOL DATA_DIR
set -euo pipefail
tool=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

"$tool" "$data" "$work/out" 96 >/dev/null
for name in man gon heart ground quad; do
  picture=$work/out/$name.png
  if [ ! -f "$picture" ]; then
    echo "no picture of $name" >&2
    status=1
    continue
  fi
  # The mesh's share of the picture (whatever is not the clear colour), and
  # whether it is lit: some of it well above the ambient light.
  covered=$(convert "$picture" -fuzz 2% -fill black -opaque '#121212' -fill white +opaque black \
    -colorspace gray -format '%[fx:mean]' info:)
  brightest=$(convert "$picture" -colorspace gray -format '%[fx:maxima]' info:)
  if awk -v c="$covered" 'BEGIN { exit !(c < 0.03 || c > 0.9) }'; then
    echo "$name covers $covered of its picture: not framed" >&2
    status=1
  fi
  if awk -v b="$brightest" 'BEGIN { exit !(b < 0.4) }'; then
    echo "$name is at most $brightest bright: not lit" >&2
    status=1
  fi
done

mkdir -p "$work/empty"
if "$tool" "$work/empty" "$work/none" 96 >/dev/null 2>"$work/err"; then
  echo "a data folder without meshes was accepted" >&2
  status=1
elif ! grep -q "meshes/man.3ds" "$work/err"; then
  echo "the refusal does not name the missing mesh:" >&2
  cat "$work/err" >&2
  status=1
fi
exit $status
