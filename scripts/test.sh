#!/usr/bin/env bash
# Builds the project and runs every test. Exits non-zero on any failure.
#   ./scripts/test.sh             default preset (RelWithDebInfo)
#   ./scripts/test.sh --sanitize  also the asan (Address + UB) and tsan presets
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=0
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=1 ;;
    -h|--help) sed -n '2,4p' "$0"; exit 0 ;;
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
if [ "$sanitize" -eq 1 ]; then
  run_preset asan
  run_preset tsan
fi
