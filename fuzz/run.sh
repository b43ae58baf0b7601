#!/bin/sh
# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a while:
#   fuzz/run.sh [seconds per target, default 60] [target...]   (targets: options wordbase)
# New inputs collect in build-fuzz/corpus/<target>/, crashes in build-fuzz/out/<target>/; copy the
# ones worth keeping into fuzz/corpus/<target>/, which the tests replay.
# Inputs reach 16 KiB, past the 4081-byte blocks the word scanner skips, so that every level of
# its skipping is fuzzed.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-options wordbase}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZORVIK_FUZZ=ON -DBUILD_TESTING=OFF -DZORVIK_BENCH=OFF >/dev/null
for t in $targets; do
    cmake --build build-fuzz --target "fuzz_$t"
    mkdir -p "build-fuzz/corpus/$t" "build-fuzz/out/$t"
    "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len=16384 -timeout=10 -print_final_stats=1 \
        $([ -f "fuzz/$t.dict" ] && echo "-dict=fuzz/$t.dict") \
        -artifact_prefix="build-fuzz/out/$t/" "build-fuzz/corpus/$t" "fuzz/corpus/$t"
done
