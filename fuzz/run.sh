#!/usr/bin/env bash
# Runs every harness built into BUILD/fuzz for SECONDS each, as many at once as the machine has cores: the
# corpus it grows is kept in BUILD/corpus/NAME, seeded from fuzz/seeds/NAME (the PDF harness from the shared
# test documents beside the checkout, where they are); a crash is written to BUILD/crashes/ and fails the run
# with its harness's name. The harnesses find the engine in BUILD/bin.
set -euo pipefail
build=$1
seconds=$2
source=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$build/crashes"

# Fuzzes one harness for the given time; its log is BUILD/NAME.log.
fuzzOne() {
    local harness=$1 name corpus seeds
    name=$(basename "$harness" _fuzzer)
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    seeds=()
    [ -d "$source/fuzz/seeds/$name" ] && seeds=("$source/fuzz/seeds/$name")
    if [ "$name" = pdf_document ] && [ -d "$source/../shared/testdata" ]; then
        mapfile -t seeds < <(find "$source/../shared/testdata" -type d)
    fi
    echo "fuzzing $name for $seconds s"
    if ! LD_LIBRARY_PATH="$build/bin" "$harness" -rss_limit_mb=4096 -max_total_time="$seconds" \
        -print_final_stats=1 -artifact_prefix="$build/crashes/$name-" "$corpus" "${seeds[@]}" \
        >"$build/$name.log" 2>&1; then
        tail -n 40 "$build/$name.log"
        echo "fuzzing $name found a crash: see $build/crashes/"
        return 1
    fi
    echo "$name: $(grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$build/$name.log" | tr '\n' ' ')"
}

cores=$(nproc)
running=0
failed=0
for harness in "$build"/fuzz/*_fuzzer; do
    if [ "$running" -ge "$cores" ]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
    fuzzOne "$harness" &
    running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=1
    running=$((running - 1))
done
exit "$failed"
