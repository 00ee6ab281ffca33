#!/usr/bin/env bash
# The Windows build checked under Wine, on one virtual display (Xvfb, with
# Mesa's llvmpipe behind Wine's OpenGL), beside the Linux build:
#   tools/windows/wine-checks.sh [LINUX_BUILD_DIR] [WINDOWS_DIST_DIR]
# (defaults: build and dist/velmora-windows, as ./setup.sh test and
# ./setup.sh windows leave them). Prints one line a check and a closing
# "N passed, M failed"; exits 1 when any failed.
set -euo pipefail
start=$SECONDS
. "$(dirname "${BASH_SOURCE[0]}")/wine-session.sh"
echo "wine prefix ready in $((SECONDS - start)) s"

exe=$dist/velmora.exe
passed=0
failed=0
pass() {
  echo "ok    $1"
  passed=$((passed + 1))
}
fail() {
  echo "FAIL  $1: $2"
  failed=$((failed + 1))
}
# Runs a command until it succeeds, at most SECONDS seconds; false if never.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}
# Wine runs the exe from the data folder, as a double click would.
wine_demo() { (cd "$dist" && timeout 120 wine "$exe" "$@"); }

# --version says what the Linux build says.
want=$("$linux/velmora" --version)
got=$(wine_demo --version 2>&1 | tr -d '\r')
if [ "$got" = "$want" ]; then pass "--version ($got)"; else fail "--version" "\"$got\", Linux says \"$want\""; fi

# Shots of both renditions against the Linux ones of the same moment. The
# two run the same llvmpipe, so they should agree to the bit; the bound
# leaves room for a driver that rounds otherwise: mean absolute difference
# at most 0.5 of 255, at most 0.2 % of the pixels off by more than 3 %.
for moment in 9 25; do
  for rendition in shader fixed; do
    flags=()
    [ $rendition = fixed ] && flags=(--slow-gpu)
    name="--shot $moment ${flags[*]}"
    "$linux/velmora" --data "$dist" "${flags[@]}" --shot $moment "$work/linux.png" 2>"$work/linux.err" ||
      { fail "$name" "the Linux build failed: $(cat "$work/linux.err")"; continue; }
    if ! wine_demo "${flags[@]}" --shot $moment "$work/windows.png" 2>"$work/wine.err"; then
      fail "$name" "velmora.exe failed: $(tr -d '\r' <"$work/wine.err")"
      continue
    fi
    mae=$(compare -metric MAE "$work/linux.png" "$work/windows.png" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/') || true
    off=$(compare -metric AE -fuzz 3% "$work/linux.png" "$work/windows.png" null: 2>&1) || true
    if awk -v m="$mae" -v o="$off" 'BEGIN { exit !(m + 0 <= 0.5 / 255 && o + 0 <= 0.002 * 800 * 600) }'; then
      pass "$name (mean difference $(awk -v m="$mae" 'BEGIN { printf "%.3f", m * 255 }') of 255, $off pixels off)"
    else
      fail "$name" "mean difference $mae, $off pixels off by more than 3 %"
    fi
  done
done

# One second captured to PNG files: ten 800 x 600 frames.
if wine_demo --capture "$work/frames" --fps 10 --start 5 --end 6 2>"$work/wine.err"; then
  count=$(find "$work/frames" -name 'frame_*.png' | wc -l)
  sizes=$(identify -format '%wx%h\n' "$work/frames"/frame_*.png 2>/dev/null | sort -u | tr '\n' ' ')
  if [ "$count" -eq 10 ] && [ "$sizes" = "800x600 " ]; then
    pass "--capture of one second (10 PNG frames, 800 x 600)"
  else
    fail "--capture" "$count frames of sizes $sizes"
  fi
else
  fail "--capture" "$(tr -d '\r' <"$work/wine.err")"
fi

# A video with no ffmpeg on the PATH: the same message and exit code as the
# Linux build's without ffmpeg, nothing left behind.
linux_code=0
env PATH=/nonexistent "$linux/velmora" --data "$dist" --capture "$work/linux.mp4" --fps 10 --start 5 --end 5.2 \
  2>"$work/linux.err" || linux_code=$?
wine_code=0
wine_demo --capture "$work/wine.mp4" --fps 10 --start 5 --end 5.2 2>"$work/wine.err" || wine_code=$?
linux_says=$(grep -F ffmpeg "$work/linux.err" || true)
wine_says=$(tr -d "\r" <"$work/wine.err" | grep -F ffmpeg || true)
left=$(find "$work" -maxdepth 1 -name '*.mp4*' | wc -l)
if [ -n "$wine_says" ] && [ "$wine_says" = "$linux_says" ] && [ $wine_code = $linux_code ] && [ "$left" = 0 ]; then
  pass "video without ffmpeg.exe: \"$wine_says\", exit code $wine_code, as on Linux"
else
  fail "video without ffmpeg.exe" "Wine said \"$wine_says\" ($wine_code), Linux \"$linux_says\" ($linux_code), $left files left"
fi

# A video at 1080p through the pipe to a helper found on the PATH: a stand-in
# for ffmpeg.exe counts what comes (three 1920 x 1080 frames, the picture
# framed between bars), and the result appears under its own name.
mkdir -p "$work/bin"
x86_64-w64-mingw32-gcc -O2 -o "$work/bin/ffmpeg.exe" "$root/tools/windows/stand_in_ffmpeg.c"
want="$((3 * 1920 * 1080 * 3)) bytes of 1920x1080 frames"
if WINEPATH="$(winepath -w "$work/bin")" wine_demo --capture "$work/piped.mp4" --no-music --size 1920x1080 --fps 10 \
  --start 5 --end 5.3 2>"$work/wine.err" && [ "$(cat "$work/piped.mp4" 2>/dev/null)" = "$want" ]; then
  pass "video through the pipe to ffmpeg.exe on the PATH ($want)"
else
  fail "video through a pipe" "\"$(cat "$work/piped.mp4" 2>/dev/null)\", wanted \"$want\": $(tr -d '\r' <"$work/wine.err")"
fi

# A shot at 1920 x 1080 (the picture drawn into a surface of its own,
# framed between bars) against the Linux one.
"$linux/velmora" --data "$dist" --shot 12 "$work/linux-wide.png" --size 1920x1080 --fps 10 2>"$work/linux.err"
if wine_demo --shot 12 "$work/wine-wide.png" --size 1920x1080 --fps 10 2>"$work/wine.err"; then
  mae=$(compare -metric MAE "$work/linux-wide.png" "$work/wine-wide.png" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/') || true
  if awk -v m="$mae" 'BEGIN { exit !(m + 0 <= 0.5 / 255) }'; then
    pass "--shot 12 --size 1920x1080 (mean difference $(awk -v m="$mae" 'BEGIN { printf "%.3f", m * 255 }') of 255)"
  else
    fail "--shot 12 --size 1920x1080" "mean difference $mae"
  fi
else
  fail "--shot 12 --size 1920x1080" "$(tr -d '\r' <"$work/wine.err")"
fi

# The setup dialog: found by its title, its three boxes where the template
# puts them (Music preset off, Windowed on, Slow graphics card off), and Run
# plays the demo, here without music, to its end at 33.5 s.
template=$root/src/resources/setup_dialog_template.h
control() { grep -E "DialogControlKind::[A-Za-z]+, \"$1\"" "$template" | sed -E 's/.*"[^"]*", *([0-9]+), *([0-9]+), *([0-9]+), *([0-9]+).*/\1 \2 \3 \4/'; }
read -r dialog_w dialog_h < <(grep -A7 'constexpr DialogTemplate kTemplate' "$template" | sed -n '7,8p' | tr -d ' ,' | paste -sd' ')
title=$(grep -A1 'constexpr DialogTemplate kTemplate' "$template" | tail -1 | sed -E 's/^ *"(.*)",$/\1/')
(cd "$dist" && timeout 120 wine "$exe" --windowed --no-music --frame-log "$work/live.log" >"$work/live.out" 2>&1; echo $? >"$work/live.code") &
find_dialog() { dialog=$(xdotool search --name "^${title}\$" 2>/dev/null | head -1) && [ -n "$dialog" ]; }
# A box is a white square in the dialog's picture, ticked when black
# pixels lie in it: "x" ticked, "-" empty, "?" no box there.
box_state() {
  local x y w h
  read -r x y w h < <(control "$1")
  local area="15x15+$((x * width / dialog_w - 1))+$(((2 * y + h) * height / dialog_h / 2 - 7))"
  local white black
  white=$(convert "$work/dialog.png" -crop "$area" -colorspace gray -threshold 99% -format '%[fx:mean*w*h]' info:)
  black=$(convert "$work/dialog.png" -crop "$area" -colorspace gray -negate -threshold 90% -format '%[fx:mean*w*h]' info:)
  awk -v w="$white" -v b="$black" 'BEGIN { print (w < 50 ? "?" : b >= 5 ? "x" : "-") }'
}
if wait_for 60 find_dialog; then
  eval "$(xdotool getwindowgeometry --shell "$dialog")"
  width=$WIDTH
  height=$HEIGHT
  boxes() {
    import -window "$dialog" "$work/dialog.png" 2>/dev/null || return 1
    states=$(box_state Music)$(box_state Windowed)$(box_state "Slow graphics card")
    [ "$states" = "-x-" ]
  }
  if wait_for 20 boxes; then
    pass "setup dialog \"$title\" with its three boxes (Music off, Windowed on, Slow graphics card off)"
  else
    fail "setup dialog" "boxes read \"$states\", expected \"-x-\" (x ticked, - empty, ? none)"
  fi
  read -r x y w h < <(control "Run ... ")
  xdotool mousemove --window "$dialog" $(((2 * x + w) * width / dialog_w / 2)) $(((2 * y + h) * height / dialog_h / 2)) click 1
else
  fail "setup dialog" "no window named \"$title\""
fi
live_ended() { [ -s "$work/live.code" ]; }
if wait_for 110 live_ended; then
  code=$(cat "$work/live.code")
  last=$(tail -1 "$work/live.log" 2>/dev/null | cut -d' ' -f1)
  frames=$(wc -l <"$work/live.log" 2>/dev/null || echo 0)
  if [ "$code" = 0 ] && awk -v t="${last:-0}" 'BEGIN { exit !(t >= 33.5) }'; then
    pass "Run plays the demo without music to $last s in $frames frames, exit code 0"
    awk -v n="$frames" 'BEGIN { printf "      %.1f ms a frame on average under Wine\n", 33500 / n }'
  else
    fail "live run" "exit code $code, last frame at ${last:-none} s: $(tr -d '\r' <"$work/live.out" | tail -3)"
  fi
else
  fail "live run" "still running after 110 s"
fi

# A missing picture: the same message and exit code as on Linux.
mkdir -p "$work/data"
cp -rs "$dist"/{textures,meshes,cgeffects,music} "$work/data/"
rm "$work/data/textures/1night_negy.jpg"
linux_code=0
"$linux/velmora" --data "$work/data" --run --windowed --no-music --messages stderr 2>"$work/linux.err" || linux_code=$?
wine_code=0
(cd "$work/data" && timeout 120 wine "$exe" --run --windowed --no-music --messages stderr) 2>"$work/wine.err" || wine_code=$?
linux_says=$(grep -F 1night_negy "$work/linux.err" | paste -sd"|" || true)
wine_says=$(tr -d "\r" <"$work/wine.err" | grep -F 1night_negy | paste -sd"|" || true)
if [ -n "$linux_says" ] && [ "$wine_says" = "$linux_says" ] && [ $wine_code = $linux_code ]; then
  pass "missing picture: \"$wine_says\", exit code $wine_code, as on Linux"
else
  fail "missing picture" "Wine said \"$wine_says\" ($wine_code), Linux \"$linux_says\" ($linux_code)"
fi

echo "wine: $passed passed, $failed failed"
[ $failed -eq 0 ]
