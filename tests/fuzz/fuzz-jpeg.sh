#!/usr/bin/env bash
# Builds the JPEG decoder fuzz target with clang (libFuzzer + AddressSanitizer
# + UndefinedBehaviorSanitizer) and runs it.
#   tests/fuzz/fuzz-jpeg.sh [SECONDS] [extra libFuzzer flags...]
# Needs Debian's clang and libclang-rt-14-dev. Seeds: the test corpus
# (tests/assets/make_jpeg_corpus.sh). Work folder: build-fuzz/ (kept between
# runs; findings land in build-fuzz/jpeg-findings/).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
seconds=${1:-600}
shift || true
out=${VELMORA_FUZZ_DIR:-$root/build-fuzz}
mkdir -p "$out/jpeg-corpus" "$out/jpeg-findings"

clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$root/src" "$root/tests/fuzz/jpeg_fuzz.cpp" \
  "$root"/src/assets/input_stream.cpp "$root"/src/assets/jpeg_*.cpp \
  -o "$out/jpeg_fuzz"

"$root/tests/assets/make_jpeg_corpus.sh" "$out/jpeg-seeds"

exec "$out/jpeg_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=65536 -dict="$root/tests/fuzz/jpeg.dict" -artifact_prefix="$out/jpeg-findings/" \
  -print_final_stats=1 "$@" "$out/jpeg-corpus" "$out/jpeg-seeds"
