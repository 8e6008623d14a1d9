#!/bin/sh
# Runs every benchmark program of a build (bench_* in <build>/bin) and prints its results. The machines are
# shared and noisy, so each runs in repetitions with the cases interleaved at random, and the mean, median
# and spread are reported; compare the ratios, not the absolute times.
set -eu
build=${1:-build}
found=0
for program in "$build"/bin/bench_*; do
    [ -x "$program" ] || continue
    found=1
    echo "== $(basename "$program")"
    "$program" --benchmark_repetitions=10 --benchmark_min_time=0.5 \
        --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
done
[ "$found" = 1 ] || { echo "no benchmark programs in $build/bin: build them first" >&2; exit 1; }
echo "== the whole print job"
python3 "$(dirname "$0")/job.py" "$build"
