#!/bin/sh
# Runs every harness built into BUILD/fuzz for SECONDS each: the corpus it grows is kept in BUILD/corpus/NAME,
# seeded from fuzz/seeds/NAME (the PDF harness from the shared test documents beside the checkout, where they
# are); a crash is written to BUILD/crashes/ and ends the run with its harness's name. The harnesses find the
# engine in BUILD/bin.
set -eu
build=$1
seconds=$2
source=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$build/crashes"
for harness in "$build"/fuzz/*_fuzzer; do
    name=$(basename "$harness" _fuzzer)
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    seeds="$source/fuzz/seeds/$name"
    [ -d "$seeds" ] || seeds=
    if [ "$name" = pdf_document ] && [ -d "$source/../shared/testdata" ]; then
        seeds=$(find "$source/../shared/testdata" -type d | tr '\n' ' ')
    fi
    echo "fuzzing $name for $seconds s"
    if ! LD_LIBRARY_PATH="$build/bin" "$harness" -rss_limit_mb=4096 -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/crashes/$name-" \
        "$corpus" $seeds >"$build/$name.log" 2>&1; then
        tail -n 40 "$build/$name.log"
        echo "fuzzing $name found a crash: see $build/crashes/"
        exit 1
    fi
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ *DONE)' "$build/$name.log" || true
done
