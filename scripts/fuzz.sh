#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset, clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each in turn, starting from its seed corpus.
#   ./scripts/fuzz.sh                   every target, 600 seconds each
#   ./scripts/fuzz.sh 60                every target, 60 seconds each
#   ./scripts/fuzz.sh 600 fuzz_ini ...  the named targets only
# What a run finds new goes to build/fuzz/corpus/<target> (the seeds in fuzz/corpus stay as
# they are); an input that fails is written to build/fuzz/crash/ and the script stops there.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
case "$seconds" in
  -h|--help) sed -n '2,8p' "$0"; exit 0 ;;
  *[!0-9]*|'') echo "fuzz.sh: seconds must be a number, not '$seconds'" >&2; exit 2 ;;
esac
shift || true

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for seeds in fuzz/corpus/*/; do
    targets+=("$(basename "$seeds")")
  done
fi

./scripts/deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]}"

mkdir -p build/fuzz/crash
for target in "${targets[@]}"; do
  echo "== $target: $seconds s =="
  mkdir -p "build/fuzz/corpus/$target"
  "build/fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/crash/$target-" \
    "build/fuzz/corpus/$target" "fuzz/corpus/$target"
done
