#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when they are missing.
# Used by run.sh and test.sh; safe to run again (it does nothing when everything is present).
set -euo pipefail

packages=(
  cmake ninja-build g++ clang pkg-config
  qt6-base-dev libgl-dev libudev-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libclang-rt-14-dev
  fonts-dejavu-core fonts-wqy-microhei
  xvfb xauth
)
if [ "${QX_DEPS_EXTRA:-}" != "" ]; then
  read -r -a extra <<<"${QX_DEPS_EXTRA}"
  packages+=("${extra[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
