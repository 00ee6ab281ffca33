#!/usr/bin/env bash
# Lays out the Windows release and zips it:
#   tools/windows/make-dist.sh VELMORA_EXE DATA_DIR OUT_DIR
# OUT_DIR/velmora-windows/ holds the exe, the data folders and README.txt;
# OUT_DIR/velmora-windows.zip the same. Fails when the exe imports a DLL
# that a fresh Windows does not have.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
exe=$1
data=$2
out=$3

# Windows' own libraries; anything else would have to ship beside the exe.
system_dlls="kernel32.dll user32.dll gdi32.dll opengl32.dll glu32.dll winmm.dll msvcrt.dll"
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n -E 's/^\s*DLL Name: (.*)$/\1/p' | tr 'A-Z' 'a-z' | sort -u)
for dll in $imports; do
  if [[ " $system_dlls " != *" $dll "* ]]; then
    echo "velmora.exe imports $dll, which Windows does not ship" >&2
    exit 1
  fi
done
echo "velmora.exe imports only system DLLs: $(echo $imports)"

dist=$out/velmora-windows
rm -rf "$dist" "$out/velmora-windows.zip"
mkdir -p "$dist"
cp "$exe" "$dist/velmora.exe"
x86_64-w64-mingw32-strip "$dist/velmora.exe"
for folder in textures meshes cgeffects music; do
  cp -r "$data/$folder" "$dist/"
done
# Notepad reads either line end; CR LF is what every Windows tool expects.
sed 's/$/\r/' "$root/tools/windows/README.txt" >"$dist/README.txt"
(cd "$out" && cmake -E tar cf velmora-windows.zip --format=zip velmora-windows)
echo "$out/velmora-windows.zip: $(du -h "$out/velmora-windows.zip" | cut -f1)"
