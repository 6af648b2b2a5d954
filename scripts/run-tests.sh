#!/usr/bin/env bash
# Every test: installs and builds from nothing, runs the whole suite (unit, pty, console, window),
# then the unit and window tests again under AddressSanitizer + UndefinedBehaviorSanitizer and
# under ThreadSanitizer, then prints the benchmark figures.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=build ./scripts/setup.sh
echo "== all tests"
ctest --test-dir build --output-on-failure -j2 --timeout 300

for san in "address,undefined" "thread"; do
  dir=build-${san//,/-}
  echo "== unit and window tests under -fsanitize=$san"
  BUILD_DIR=$dir BUILD_TYPE=Debug ./scripts/setup.sh -DSANITIZE="$san" -DWITH_BENCHMARKS=OFF
  # setarch -R: ThreadSanitizer needs an address layout without randomisation on newer kernels.
  setarch "$(uname -m)" -R ctest --test-dir "$dir" --output-on-failure -j2 -L 'unit|window' --timeout 300
done

echo "== benchmarks (figures, not pass/fail)"
./build/bench/link_bench
