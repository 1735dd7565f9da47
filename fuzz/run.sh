#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs each fuzz target of a fuzz build for SECONDS over its seeds, made anew, and the corpus it grew
# before. Stops at the first target that crashes, showing the end of its report; the input that
# did it is kept beside the log.
# Usage: fuzz/run.sh BUILD [SECONDS]
set -eu
build=$1
seconds=${2:-60}
work=$build/fuzz-work
mkdir -p "$work"
rm -rf "$work/seeds"
QT_QPA_PLATFORM=offscreen "$build/fuzz/pelorix_fuzz_seeds" "$work/seeds"

for target in picture import numbers commandline; do
    corpus=$work/corpus/$target
    # An import starts from the same pictures as the loader.
    seeds=$work/seeds/$target
    [ "$target" = import ] && seeds=$work/seeds/picture
    log=$work/$target.log
    mkdir -p "$corpus"
    echo "== fuzzing $target for $seconds s (log: $log)"
    # Stderr is closed for the target's own chatter (libpng prints every damaged file); the
    # fuzzer's and the sanitizers' reports still reach the log.
    if ! QT_QPA_PLATFORM=offscreen "$build/fuzz/pelorix_fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -close_fd_mask=2 -print_final_stats=1 -artifact_prefix="$work/$target-" \
        "$corpus" "$seeds" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz: $target crashed; the input is in $work/$target-*"
        exit 1
    fi
    grep -E '^Done [0-9]+ runs' "$log" | sed "s/^/$target: /"
done
echo "fuzz: no crash"
