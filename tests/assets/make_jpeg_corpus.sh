#!/usr/bin/env bash
# Makes the JPEG test corpus in $1 (once: an existing complete corpus is kept).
# Pictures come from ImageMagick sources encoded with cjpeg/jpegtran; each
# decodable one gets djpeg's reference output (-nosmooth -dct fast) beside it.
# Built in a scratch folder and renamed into place, so test processes that
# start together never see half a corpus.
set -euo pipefail
out=$1
[ -f "$out/complete" ] && exit 0
mkdir -p "$(dirname "$out")"
tmp=$(mktemp -d "$out.tmp.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"

# Sources: a photo-like plasma with shapes, and a synthetic one with hard edges.
convert -seed 7 -size 320x240 plasma:fractal -blur 0x1 \
  -fill '#c03020' -draw 'circle 80,80 80,130' -fill '#2040e0' -draw 'rectangle 200,40 300,200' \
  -depth 8 photo.ppm
convert -size 200x120 gradient:'#ff0000'-'#0000ff' \
  -fill white -draw 'rectangle 20,20 60,100' -fill black -draw 'line 100,0 199,119' \
  -depth 8 synth.ppm
convert photo.ppm -resize 1x1! -depth 8 px1x1.ppm
convert photo.ppm -resize 7x9! -depth 8 px7x9.ppm
convert photo.ppm -resize 17x33! -depth 8 px17x33.ppm
convert -size 8192x24 gradient:'#10e020'-'#e01090' -seed 3 -attenuate 0.3 +noise Uniform -depth 8 wide.ppm

cat > scans_sa.txt <<'S'
0,1,2: 0-0, 0, 1;
0: 1-5, 0, 2;
2: 1-63, 0, 1;
1: 1-63, 0, 1;
0: 6-63, 0, 2;
0: 1-63, 2, 1;
0,1,2: 0-0, 1, 0;
2: 1-63, 1, 0;
1: 1-63, 1, 0;
0: 1-63, 1, 0;
S
cat > scans_spectral.txt <<'S'
0: 0-0, 0, 0;
1: 0-0, 0, 0;
2: 0-0, 0, 0;
0: 1-9, 0, 0;
0: 10-63, 0, 0;
1: 1-63, 0, 0;
2: 1-63, 0, 0;
S
cat > scans_sequential.txt <<'S'
0;
1;
2;
S
printf '%s\n' "300 301 302 303 304 305 306 307" "308 309 310 311 312 313 314 315" \
  "316 317 318 319 320 321 322 323" "324 325 326 327 328 329 330 331" \
  "332 333 334 335 336 337 338 339" "340 341 342 343 344 345 346 347" \
  "348 349 350 351 352 353 354 355" "356 357 358 359 360 361 362 363" > qt16.txt

enc() { local name=$1 src=$2; shift 2; cjpeg "$@" "$src" > "$name.jpg" 2> /dev/null; }
enc base_444 photo.ppm -quality 90 -sample 1x1
enc base_422 photo.ppm -quality 90 -sample 2x1
enc base_440 photo.ppm -quality 90 -sample 1x2
enc base_420 photo.ppm -quality 90 -sample 2x2
enc synth_420 synth.ppm -quality 75 -sample 2x2
enc synth_444_q100 synth.ppm -quality 100 -sample 1x1
enc grey photo.ppm -quality 90 -grayscale
enc optimized_422 photo.ppm -quality 85 -sample 2x1 -optimize
enc ext_qt16 photo.ppm -qtables qt16.txt -sample 2x2
enc ext_q3 photo.ppm -quality 3 -sample 1x1
enc restart_1 photo.ppm -quality 90 -sample 2x2 -restart 1B
enc restart_7 photo.ppm -quality 90 -sample 1x1 -restart 7B
enc restart_grey_5 photo.ppm -quality 90 -grayscale -restart 5B
enc prog_420 photo.ppm -quality 90 -sample 2x2 -progressive
enc prog_444 photo.ppm -quality 90 -sample 1x1 -progressive
enc prog_grey photo.ppm -quality 90 -grayscale -progressive
enc prog_sa_422 photo.ppm -quality 90 -sample 2x1 -scans scans_sa.txt
enc prog_spectral_440 photo.ppm -quality 90 -sample 1x2 -scans scans_spectral.txt
enc prog_restart_3 photo.ppm -quality 90 -sample 2x2 -progressive -restart 3B
enc seq_scans_420 photo.ppm -quality 90 -sample 2x2 -scans scans_sequential.txt
enc tiny_1x1 px1x1.ppm -quality 90
enc tiny_1x1_grey px1x1.ppm -quality 90 -grayscale
enc odd_7x9_420 px7x9.ppm -quality 90 -sample 2x2
enc odd_17x33_422 px17x33.ppm -quality 90 -sample 2x1
enc odd_17x33_440_prog px17x33.ppm -quality 90 -sample 1x2 -progressive
enc wide_8192_420 wide.ppm -quality 90 -sample 2x2
enc wide_8192_prog wide.ppm -quality 90 -sample 2x2 -progressive
jpegtran -grayscale base_420.jpg > grey_from_420.jpg
jpegtran -progressive restart_7.jpg > prog_from_restart.jpg

for f in *.jpg; do djpeg -nosmooth -dct fast -pnm "$f" > "${f%.jpg}.pnm"; done

# A kind the decoder refuses (no reference output), for the inspect tool.
convert photo.ppm -colorspace CMYK -quality 90 refuse_cmyk.jpg

rm -f ./*.ppm ./*.txt
touch complete
cd /
if ! mv "$tmp" "$out" 2>/dev/null; then
  [ -f "$out/complete" ] || { echo "corpus: cannot place $out" >&2; exit 1; }
fi
trap - EXIT
