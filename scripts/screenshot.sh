#!/usr/bin/env bash
# Takes a picture of the driver's main window for the docs: builds the driver (default preset),
# starts it on a virtual screen (Xvfb) with the emulated keyboard, waits for its window, saves it
# as a PNG and ends the driver.
#   ./scripts/screenshot.sh [output.png]     default: docs/driver.png
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  -h|--help) sed -n '2,5p' "$0"; exit 0 ;;
esac
output=$(realpath -m "${1:-docs/driver.png}")

# import (imagemagick) grabs the window, xwininfo (x11-utils) finds it.
QX_DEPS_EXTRA="imagemagick x11-utils" ./scripts/deps.sh

build=build/default
cmake --preset default >/dev/null
cmake --build "$build" -j "$(nproc)" --target qx480-driver

if [ -z "${QX_SCREENSHOT_INNER:-}" ]; then
  # Again, on a screen of its own.
  exec env QX_SCREENSHOT_INNER=1 xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$output"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export RADODOR_BACKEND=sim RADODOR_SIM_STATE="$work/keyboard.state"

"$build/bin/qx480-driver" &
driver=$!
stop_driver() {
  "$build/bin/qx480-driver" /Kill || true
  for _ in $(seq 50); do kill -0 "$driver" 2>/dev/null || return 0; sleep 0.1; done
  kill "$driver" 2>/dev/null || true
}

# The window opens by itself at the first attach of the emulated keyboard; it is the one mapped
# window of the program with the main caption.
window=""
for _ in $(seq 150); do
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Varkon QX480 Driver"/ && /[0-9]+x[0-9]+\+/ {print $1; exit}')
  if [ -n "$window" ] && xwininfo -id "$window" | grep -q "Map State: IsViewable"; then
    break
  fi
  window=""
  sleep 0.2
done
if [ -z "$window" ]; then
  echo "screenshot.sh: the driver's window did not appear" >&2
  stop_driver
  exit 1
fi
sleep 1  # let the first attach's refresh paint
mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
stop_driver
echo "Saved $output"
