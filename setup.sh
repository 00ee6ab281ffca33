#!/usr/bin/env bash
# Velmora's set-up commands:
#   ./setup.sh play     install what is missing, build, make the data, play the demo
#   ./setup.sh test     install what is missing, build, run every test headless
#   ./setup.sh windows  install what is missing, cross-build velmora.exe, lay
#                       out dist/velmora-windows/ and zip it
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${VELMORA_BUILD_DIR:-$root/build}
jobs=$(nproc 2>/dev/null || echo 2)

install_missing_packages() {
  local wanted missing=()
  wanted=$(grep -v -E '^\s*(#|$)' "${1:-$root/deps/debian-packages.txt}")
  for pkg in $wanted; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$build" -j "$jobs"
}

case "${1:-}" in
  play)
    shift
    install_missing_packages
    configure_and_build
    data="$build/data"
    [ -d "$data" ] || mkdir -p "$data"
    exec "$build/velmora" --data "$data" "$@"
    ;;
  test)
    install_missing_packages
    configure_and_build
    # Every test sees one virtual screen; GL runs on Mesa's llvmpipe.
    xvfb-run -a -s "-screen 0 1280x1024x24" \
      env SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 \
      ctest --test-dir "$build" --output-on-failure -j "$jobs"
    ;;
  windows)
    install_missing_packages
    install_missing_packages "$root/deps/windows-packages.txt"
    # The data is made by the Linux generator: it is the same on both.
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" -j "$jobs" --target velmora_data
    windows_build=${VELMORA_WINDOWS_BUILD_DIR:-$root/build-windows}
    cmake -S "$root" -B "$windows_build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
    cmake --build "$windows_build" -j "$jobs" --target velmora
    exec "$root/tools/windows/make-dist.sh" "$windows_build/velmora.exe" "$build/data" "$root/dist"
    ;;
  *)
    echo "usage: $0 play|test|windows" >&2
    exit 2
    ;;
esac
