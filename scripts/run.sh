#!/usr/bin/env bash
# Installs what is missing, builds the driver (default preset) and starts it on the emulated
# keyboard, whose memory persists between runs in the user's data folder. The keyboard is present
# at start, so the driver's window opens at once. Arguments are passed to the driver.
#   ./scripts/run.sh              start the driver
#   ./scripts/run.sh /Kill        ask the running driver to close
#   xvfb-run -a ./scripts/run.sh  without a desktop, on a virtual screen
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
  -h|--help) sed -n '2,8p' "$0"; exit 0 ;;
esac

data_home="${XDG_DATA_HOME:-$HOME/.local/share}"
state_folder="$data_home/Varkon QX480 Driver"
state_file="${RADODOR_SIM_STATE:-$state_folder/emulated-keyboard.state}"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MSG
run.sh: no display (DISPLAY and WAYLAND_DISPLAY are empty), so the driver's window cannot open.
  Run it on a virtual screen:   xvfb-run -a ./scripts/run.sh
  Or build the command-line tool (cmake --preset default && cmake --build build/default
  --target qx480ctl) and use it on the same emulated keyboard:
    RADODOR_BACKEND=sim RADODOR_SIM_STATE="$state_file" build/default/bin/qx480ctl status
MSG
  exit 1
fi

./scripts/deps.sh

build=build/default
cmake --preset default >/dev/null
if ! cmake --build "$build" --target help | grep -q '^qx480-driver:'; then
  echo "run.sh: this tree does not build the driver's window yet; building qx480ctl and qx480-sim." >&2
  cmake --build "$build" -j "$(nproc)" --target qx480ctl qx480-sim
  echo "Try the emulated keyboard with: RADODOR_BACKEND=sim $build/bin/qx480ctl status" >&2
  exit 1
fi
cmake --build "$build" -j "$(nproc)" --target qx480-driver qx480ctl

mkdir -p "$(dirname "$state_file")"
export RADODOR_BACKEND=sim
export RADODOR_SIM_STATE="$state_file"

echo "Emulated keyboard: $RADODOR_SIM_STATE"
exec "$build/bin/qx480-driver" "$@"
