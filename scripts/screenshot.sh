#!/usr/bin/env bash
# Takes docs/screenshot.png: the real program under a virtual X server, with a data file of a
# few tickets and a winning number, after F5 has checked them.
#   scripts/screenshot.sh [BUILD_DIR] [OUTPUT]
# Needs xvfb-run, xdotool and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
output=${2:-docs/screenshot.png}

if [ "${PELMORA_IN_XVFB:-}" != 1 ]; then
  for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is not installed" >&2; exit 1; }
  done
  [ -x "$build/pelmora" ] || { echo "screenshot.sh: no $build/pelmora; build it first" >&2; exit 1; }
  PELMORA_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$build" "$output"
fi

# A program folder of its own, so the data file written here never touches the build's, and a
# runtime folder of its own, so a copy the developer has open does not count as running.
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/runtime" "$work/home"
cp "$build/pelmora" "$work/pelmora"
cp resources/pelmora.hlp "$work/pelmora.hlp"

crlf() { printf '%s\r\n' "$@"; }
crlf '[Numbers]' 'TOTAL=8' 'W=04-11-19-27-38-52' \
  '1=04-11-19-30-41-55' \
  '2=02-08-15-23-36-49' \
  '3=04-11-19-27-38-50' \
  '4=07-12-19-27-44-58' \
  '5=01-11-22-33-44-55' \
  '6=04-10-27-38-45-59' \
  '7=03-09-17-26-31-47' \
  '8=11-19-27-38-52-04' >"$work/pelmora.pmd"

env -u DBUS_SESSION_BUS_ADDRESS HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$work/pelmora" &
pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name 'Pelmora' | head -n1)
[ -n "$window" ] || { echo "screenshot.sh: the main window did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$window"
sleep 0.5
xdotool key --window "$window" F5
# Let the colour flash of the winning-number boxes run out, so the picture shows them at rest.
sleep 5

mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
echo "wrote $output"
