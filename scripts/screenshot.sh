#!/usr/bin/env bash
# Takes a picture of one of the driver's windows for the docs: builds the driver (default
# preset), starts it on a virtual screen (Xvfb) with the emulated keyboard, waits for its window,
# opens the window asked for with a click as a user would, saves it as a PNG and ends the driver.
#   ./scripts/screenshot.sh [--click X,Y]... [output.png] [main|profiles|update]
#     main (default): the main window, default docs/driver.png
#     profiles: the profile manager, default docs/profile_manager.png
#     update: the firmware update window (the menu button's last item), default
#       docs/firmware_update.png
#   Each --click clicks at X,Y inside the driver's newest window (the main window at first, in
#   the top-left corner); a window a click opens is moved to that corner too and is the picture.
#   Without clicks the lighting panel is switched on, so that the picture shows its controls;
#   with them it starts off, so that a click on a key opens its assignment.
# QX_BUILD_DIR picks another build folder of the same tree (default build/default).
set -euo pipefail
cd "$(dirname "$0")/.."
clicks=()
while [ $# -gt 0 ]; do
  case $1 in
    -h|--help) sed -n '2,14p' "$0"; exit 0 ;;
    --click) clicks+=("${2:?--click needs X,Y}"); shift 2 ;;
    *) break ;;
  esac
done
shown="${2:-main}"
case "$shown" in
  main) default_output=docs/driver.png ;;
  profiles) default_output=docs/profile_manager.png ;;
  update) default_output=docs/firmware_update.png ;;
  *) echo "screenshot.sh: unknown window '$shown' (main, profiles or update)" >&2; exit 2 ;;
esac
output=$(realpath -m "${1:-$default_output}")

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
  exec env QX_SCREENSHOT_INNER=1 xvfb-run -a -s "-screen 0 2400x1400x24" "$0" \
    ${clicks[@]+$(printf -- '--click %s ' "${clicks[@]}")} "$output" "$shown"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export RADODOR_BACKEND=sim RADODOR_SIM_STATE="$work/keyboard.state"
mkdir -p "$XDG_DATA_HOME/Varkon QX480 Driver"
printf '[KEYCOLOR]\nDengCheck=%d\n' $((${#clicks[@]} == 0)) \
  >"$XDG_DATA_HOME/Varkon QX480 Driver/zadi.ini"

xdotool mousemove 0 0  # no key under the pointer, no pointer in the picture
"$build/bin/qx480-driver" &
driver=$!
stop_driver() {
  "$build/bin/qx480-driver" /Kill || true
  for _ in $(seq 50); do kill -0 "$driver" 2>/dev/null || return 0; sleep 0.1; done
  kill "$driver" 2>/dev/null || true
}

# The largest viewable window of the program with one of the given titles (wider than 200 pixels,
# so no tooltip), or nothing.
largest_window() {
  local best=0 found="" id info width height title
  for title in "$@"; do
    for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | awk '{print $1}'); do
      info=$(xwininfo -id "$id" 2>/dev/null) || continue
      grep -q "Map State: IsViewable" <<<"$info" || continue
      width=$(awk '/Width:/ {print $2}' <<<"$info")
      height=$(awk '/Height:/ {print $2}' <<<"$info")
      if [ $((width * height)) -gt "$best" ] && [ "$width" -gt 200 ]; then
        best=$((width * height))
        found=$id
      fi
    done
  done
  echo "$found"
}

# Waits up to 30 s for such a window.
wait_for_window() {
  local found=""
  for _ in $(seq 150); do
    found=$(largest_window "$@")
    [ -n "$found" ] && break
    sleep 0.2
  done
  echo "$found"
}

# The window opens by itself at the first attach of the emulated keyboard.
window=$(wait_for_window "Varkon QX480 Driver")
if [ -z "$window" ]; then
  echo "screenshot.sh: the driver's window did not appear" >&2
  stop_driver
  exit 1
fi
# Xvfb may ignore the pointer warp above; with the window in the corner the pointer (the screen's
# centre) is outside it, so no key shows hovered and the software cursor is not in the picture.
xdotool windowmove "$window" 0 0 || true
sleep 2.5  # let the first attach's refresh (profile, lighting) paint

# Clicks the middle of the main window's button placed by skin key $1.
click_main_button() {
  local bx by bw bh
  IFS=, read -r bx by bw bh _ < <(sed -n "s/^$1=//p" "$build/bin/Skins/Main.ini" | tr -d '\r')
  xdotool mousemove --window "$window" $((bx + bw / 2)) $((by + bh / 2)) click 1
}

if [ "$shown" = profiles ] || [ "$shown" = update ]; then
  if [ "$shown" = profiles ]; then
    # A click on the profiles button opens the manager.
    click_main_button FUNC_PROFILES
    title_key=PROFILE_MANAGER_TITLE
  else
    # The menu button's menu, then its last item, chosen with the keys a user would press.
    click_main_button CONTROL_MENU
    sleep 1
    xdotool key Up Return
    title_key=UPDATE_TITLE
  fi
  # The window's title is the language file's, in either language.
  mapfile -t titles < <(sed -n "s/^$title_key=//p" "$build"/bin/Lang*.ini | tr -d '\r')
  window=$(wait_for_window "${titles[@]}")
  if [ -z "$window" ]; then
    echo "screenshot.sh: the $shown window did not open" >&2
    stop_driver
    exit 1
  fi
  # Away from the pointer, which stays where it clicked.
  xdotool windowmove "$window" 1200 700 || true
  sleep 1
fi

# The viewable windows of the driver larger than a tooltip, as "id" lines.
driver_windows() {
  for id in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ {print $1}'); do
    [ "$(xprop -id "$id" _NET_WM_PID 2>/dev/null)" = "_NET_WM_PID(CARDINAL) = $driver" ] || continue
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    grep -q "Map State: IsViewable" <<<"$info" || continue
    [ "$(awk '/Width:/ {print $2}' <<<"$info")" -gt 200 ] || continue
    [ "$(awk '/Height:/ {print $2}' <<<"$info")" -gt 150 ] || continue
    echo "$id"
  done
}
for click in ${clicks[@]+"${clicks[@]}"}; do
  before=$(driver_windows)
  xdotool mousemove --window "$window" "${click%,*}" "${click#*,}" click 1
  sleep 1.5
  for id in $(driver_windows); do
    if ! grep -qx "$id" <<<"$before"; then
      window=$id
      xdotool windowmove "$window" 0 0 || true
      sleep 1
      break
    fi
  done
done
if [ ${#clicks[@]} -gt 0 ]; then
  xdotool mousemove 2399 1399  # off every window: nothing shows hovered
  sleep 0.5
fi
mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
stop_driver
echo "Saved $output"
