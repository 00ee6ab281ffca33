# Sourced by the scripts that run velmora.exe under Wine, with their
# arguments [LINUX_BUILD_DIR] [WINDOWS_DIST_DIR]: sets root, linux, dist and
# work (a scratch folder), runs the calling script again on a virtual display
# of its own (Xvfb; Wine's OpenGL on Mesa's llvmpipe), makes the Wine prefix
# once and keeps its server up until the script ends.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
linux=$(cd "${1:-$root/build}" && pwd)
dist=$(cd "${2:-$root/dist/velmora-windows}" && pwd)
if [ -z "${VELMORA_WINE_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env VELMORA_WINE_DISPLAY=1 "$0" "$linux" "$dist"
fi

work=$(mktemp -d /tmp/velmora-wine.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all LIBGL_ALWAYS_SOFTWARE=1
# No .NET or HTML engine: nothing to install into the prefix, nothing to ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_session_end() {
  exec 3>&-
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap wine_session_end EXIT
mkdir -p "$WINEPREFIX"
wineserver -p
wineboot --init >/dev/null 2>&1
# Wine's own services (the desktop, RPC) end with the last Windows program
# and start again with the next one, which can then wait ten seconds for
# them: a console program idles on an open pipe for the whole session.
mkfifo "$work/idle"
wine cmd.exe <"$work/idle" >/dev/null 2>&1 &
exec 3>"$work/idle"
