#!/bin/sh
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a while.
#   fuzz/run.sh [seconds per target, default 60] [target...]   (targets: number options wordbase)
# Each target runs on a working copy of its corpus in build-fuzz/fuzz-corpus/<target>/, kept from
# run to run; new inputs land there, and crashes in build-fuzz/fuzz-out/<target>/. Inputs worth
# keeping are copied into fuzz/corpus/<target>/ by hand; the crash-* files there are the inputs of
# faults found and fixed, replayed by the corpus tests.
set -eu

cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-number options wordbase}
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DZORVIK_FUZZ=ON -DBUILD_TESTING=OFF \
    -DZORVIK_BENCH=OFF >/dev/null
cmake --build "$build" --target $(for t in $targets; do printf 'fuzz_%s ' "$t"; done)

status=0
summary=""
for t in $targets; do
    corpus=$build/fuzz-corpus/$t
    out=$build/fuzz-out/$t
    mkdir -p "$corpus" "$out"
    for f in fuzz/corpus/"$t"/*; do
        cp "$f" "$corpus/seed-$(basename "$f")"
    done
    dict=""
    [ -f "fuzz/$t.dict" ] && dict="-dict=fuzz/$t.dict"
    echo "== fuzz_$t: $seconds s"
    log=$out/last.log
    if "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$out/" $dict "$corpus" >"$log" 2>&1; then
        result=ok
    else
        result="FAILED (see $log; reproducer in $out/)"
        status=1
        grep -E 'check failed|ERROR|SUMMARY' "$log" | head -5
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    cov=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+' "$log" | tail -1)
    line="fuzz_$t: ${runs:-?} executions, ${rate:-?} exec/s, $cov, $result"
    echo "$line"
    summary="$summary$line
"
done
echo
printf '%s' "$summary"
exit $status
