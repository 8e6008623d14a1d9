#!/usr/bin/env bash
# Runs a build's test suites with CTest, two tests at a time, and keeps everything they wrote in
# BUILD/Testing/test.log. A run that passes ends in one line: how many tests passed and were skipped, how long
# they took and where the log is. A run that fails shows each failed test's output and the list of failed
# tests, and exits with CTest's status, so that whatever runs it fails too. Run by `make test`.
#
#   tests/run.sh BUILD [CTEST-ARGUMENTS...]   e.g. tests/run.sh build -R '^Download'
set -uo pipefail
build=$1
shift
log=$build/Testing/test.log
mkdir -p "$build/Testing"

ctest --test-dir "$build" --output-on-failure --no-tests=error -j2 "$@" >"$log" 2>&1
status=$?

# CTest's closing lines: "100% tests passed, 0 tests failed out of 1234", "Total Test time (real) = 61.20
# sec", and under "The following tests did not run:" one line per skipped test.
total=$(sed -n 's/^[0-9]*% tests passed, [0-9]* tests\? failed out of \([0-9]*\)$/\1/p' "$log")
failed=$(sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests\? failed out of [0-9]*$/\1/p' "$log")
skipped=$(grep -c '^[[:space:]]*[0-9]* - .* (Skipped)$' "$log")
seconds=$(sed -n 's/^Total Test time (real) = *\([0-9]*\)\..*/\1/p' "$log")
took=$([ "${seconds:-0}" -ge 60 ] && echo "$((seconds / 60)) min $((seconds % 60)) s" || echo "${seconds:-0} s")

if [ "$status" -eq 0 ]; then
    echo "Tests: $((total - failed - skipped)) passed, $skipped skipped, in $took; the full log is $log"
    exit 0
fi

# Each failed test's status line with the output that CTest writes under it, up to the next test's lines.
awk '
    /^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / { show = /\*\*\*/ && !/\*\*\*Skipped/ }
    /^ +Start +[0-9]+: / || /^[0-9]+% tests passed/ { show = 0 }
    show' "$log"
if [ -n "$total" ]; then
    sed -n '/^The following tests FAILED:/,/^[^[:space:]]/{/^Errors while running CTest/d;p}' "$log"
    echo "Tests: $failed of $total failed, $skipped skipped, in $took; the full log is $log"
else
    tail -n 20 "$log"
    echo "Tests: CTest did not run them; the full log is $log"
fi
exit "$status"
