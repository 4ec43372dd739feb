#!/usr/bin/env bash
# Builds the project and runs every test. Exits non-zero on any failure.
#   ./scripts/test.sh             default preset (RelWithDebInfo)
#   ./scripts/test.sh --sanitize  also the asan (Address + UB) and tsan presets
# With CI=true it also builds the Debian package from the default preset and installs, runs and
# purges it on this machine (tests/package/install_test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=0
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=1 ;;
    -h|--help) sed -n '2,6p' "$0"; exit 0 ;;
    *) echo "unknown option: $arg" >&2; exit 2 ;;
  esac
done

./scripts/deps.sh

jobs=$(nproc)
run_preset() {
  local preset=$1
  echo "== $preset =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
}

run_preset default
./tests/package/install_test.sh
if [ "$sanitize" -eq 1 ]; then
  run_preset asan
  run_preset tsan
fi
