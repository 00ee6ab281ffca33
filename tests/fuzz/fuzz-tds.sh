#!/usr/bin/env bash
# Builds the 3DS loader fuzz target with clang (libFuzzer + AddressSanitizer
# + UndefinedBehaviorSanitizer) and runs it.
#   tests/fuzz/fuzz-tds.sh [SECONDS] [extra libFuzzer flags...]
# Needs Debian's clang and libclang-rt-14-dev. Seeds: small hand-made files
# (tests/fuzz/tds_seeds.cpp) and, when generated, the first 64 KiB of the
# content generator's meshes (VELMORA_MESH_DIR, default build/data/meshes).
# Work folder: build-fuzz/ (kept between runs; findings land in
# build-fuzz/tds-findings/).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
seconds=${1:-600}
shift || true
out=${VELMORA_FUZZ_DIR:-$root/build-fuzz}
meshes=${VELMORA_MESH_DIR:-$root/build/data/meshes}
mkdir -p "$out/tds-corpus" "$out/tds-findings" "$out/tds-seeds"

clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$root/src" "$root/tests/fuzz/tds_fuzz.cpp" \
  "$root"/src/assets/byte_reader.cpp "$root"/src/assets/mesh_*.cpp "$root"/src/assets/tds_*.cpp \
  "$root"/src/math/matrix4d.cpp \
  -o "$out/tds_fuzz"

clang++ -std=c++20 -O1 -I "$root/tests/assets" "$root/tests/fuzz/tds_seeds.cpp" -o "$out/tds_seeds"
"$out/tds_seeds" "$out/tds-seeds"
for mesh in "$meshes"/*.3ds; do
  [ -e "$mesh" ] && head -c 65536 "$mesh" > "$out/tds-seeds/$(basename "$mesh")"
done

exec "$out/tds_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=65536 -dict="$root/tests/fuzz/tds.dict" -artifact_prefix="$out/tds-findings/" \
  -print_final_stats=1 "$@" "$out/tds-corpus" "$out/tds-seeds"
