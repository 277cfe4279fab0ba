#!/usr/bin/env bash
# Builds an optimised copy into build-bench/, runs every benchmark (on a private X server when there is no
# display) and prints each figure next to the floor measured in the same run, then the steady-state allocation
# verdict. Extra arguments go to the benchmark binary, e.g. --benchmark_filter=Game or --benchmark_repetitions=3.
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_missing_packages
build_into build-bench -DCMAKE_BUILD_TYPE=Release

results="$VOIDSKIRMISH_ROOT/build-bench/benchmarks.json"
console="$VOIDSKIRMISH_ROOT/build-bench/benchmarks.log"
display=()
if [ -z "${DISPLAY:-}" ]; then
  display=(xvfb-run -a -s "-screen 0 1280x1024x24")
fi

# The game prints its help on stdout while it sets up, so the JSON goes to a file of its own.
cd "$VOIDSKIRMISH_ROOT"
echo "Running the benchmarks (a few minutes; console output in $console)"
"${display[@]}" build-bench/bench/voidskirmish_bench --benchmark_out="$results" --benchmark_out_format=json "$@" \
  >"$console" 2>&1
echo
python3 scripts/bench_report.py "$results"
echo "Load at the end: $(uptime)"
