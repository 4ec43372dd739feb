#!/usr/bin/env bash
# Takes a picture of the driver's main window for the docs: builds the driver (default preset),
# starts it on a virtual screen (Xvfb) with the emulated keyboard, waits for its window, saves it
# as a PNG and ends the driver.
#   ./scripts/screenshot.sh [output.png]     default: docs/driver.png
# QX_BUILD_DIR picks another build folder of the same tree (default build/default).
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  -h|--help) sed -n '2,6p' "$0"; exit 0 ;;
esac
output=$(realpath -m "${1:-docs/driver.png}")

# import (imagemagick) grabs the window, xwininfo (x11-utils) finds it, xdotool moves the pointer
# out of its way.
QX_DEPS_EXTRA="imagemagick x11-utils xdotool" ./scripts/deps.sh

build="${QX_BUILD_DIR:-build/default}"
if [ -z "${QX_BUILD_DIR:-}" ]; then
  cmake --preset default >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target qx480-driver

if [ -z "${QX_SCREENSHOT_INNER:-}" ]; then
  # Again, on a screen of its own.
  # A screen large enough that its centre, where Xvfb may keep the pointer, lies outside the
  # window once the window sits in the top left corner.
  exec env QX_SCREENSHOT_INNER=1 xvfb-run -a -s "-screen 0 2400x1400x24" "$0" "$output"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export RADODOR_BACKEND=sim RADODOR_SIM_STATE="$work/keyboard.state"
# The lighting panel switched on, so that the picture shows its controls.
mkdir -p "$XDG_DATA_HOME/Varkon QX480 Driver"
printf '[KEYCOLOR]\nDengCheck=1\n' >"$XDG_DATA_HOME/Varkon QX480 Driver/zadi.ini"

xdotool mousemove 0 0  # no key under the pointer, no pointer in the picture
"$build/bin/qx480-driver" &
driver=$!
stop_driver() {
  "$build/bin/qx480-driver" /Kill || true
  for _ in $(seq 50); do kill -0 "$driver" 2>/dev/null || return 0; sleep 0.1; done
  kill "$driver" 2>/dev/null || true
}

# The window opens by itself at the first attach of the emulated keyboard: the largest viewable
# window of the program with the main caption.
window=""
for _ in $(seq 150); do
  window=""
  best=0
  for id in $(xwininfo -root -tree 2>/dev/null | awk '/"Varkon QX480 Driver"/ {print $1}'); do
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    grep -q "Map State: IsViewable" <<<"$info" || continue
    width=$(awk '/Width:/ {print $2}' <<<"$info")
    height=$(awk '/Height:/ {print $2}' <<<"$info")
    if [ $((width * height)) -gt "$best" ] && [ "$width" -gt 200 ]; then
      best=$((width * height))
      window=$id
    fi
  done
  [ -n "$window" ] && break
  sleep 0.2
done
if [ -z "$window" ]; then
  echo "screenshot.sh: the driver's window did not appear" >&2
  stop_driver
  exit 1
fi
# Xvfb may ignore the pointer warp above; with the window in the corner the pointer (the screen's
# centre) is outside it, so no key shows hovered and the software cursor is not in the picture.
xdotool windowmove "$window" 0 0 || true
sleep 2.5  # let the first attach's refresh (profile, lighting) paint
mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
stop_driver
echo "Saved $output"
