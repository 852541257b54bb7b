#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz preset and runs every fuzz target for SECONDS on a copy of its seed corpus
# (fuzz/corpus/<target> plus the matching golden files of tests/data). Fails on any crash, hang,
# leak, sanitizer report or broken property; the input that broke a target is kept under
# $WORK/artifacts and named in the output.
#
#   scripts/fuzz-smoke.sh [SECONDS]        (default 20)
#
# Environment: PELLIMO_FUZZ_BUILD_DIR (default build/fuzz), PELLIMO_FUZZ_WORK (default a new
# temporary folder), PELLIMO_FUZZ_JOBS (targets run at once, default 1).
set -euo pipefail

seconds=${1:-20}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds < 1)); then
    echo "usage: $0 [SECONDS]" >&2
    exit 2
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build=${PELLIMO_FUZZ_BUILD_DIR:-$root/build/fuzz}
work=${PELLIMO_FUZZ_WORK:-$(mktemp -d "${TMPDIR:-/tmp}/pellimo-fuzz.XXXXXX")}
jobs=${PELLIMO_FUZZ_JOBS:-1}
targets=(profilereader settings dateformat commandline pdfplacement)

cd "$root"
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target pellimo_fuzzers -j2

# The golden files of tests/data that make sense as seeds for each target.
seeds_from_test_data() {
    case $1 in
    profilereader) ls tests/data/*.dat ;;
    settings) ls tests/data/*.ini ;;
    *) ;;
    esac
}

run_target() {
    local target=$1
    local corpus=$work/corpus/$target
    local artifacts=$work/artifacts/$target/
    mkdir -p "$corpus" "$artifacts"
    cp fuzz/corpus/"$target"/* "$corpus"/
    local seed
    for seed in $(seeds_from_test_data "$target"); do
        cp "$seed" "$corpus/testdata-$(basename "$seed")"
    done
    local status=0
    "$build/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="$artifacts" -print_final_stats=1 \
        >"$work/$target.log" 2>&1 || status=$?
    local stats
    stats=$(grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$work/$target.log" |
        sed 's/^stat:://' | tr '\n' ' ')
    if ((status != 0)) || [[ -n $(ls -A "$artifacts") ]]; then
        echo "FAIL fuzz_$target (exit $status): see $work/$target.log"
        grep -E -A1 'ERROR|property failed|SUMMARY|Test unit written' "$work/$target.log" | head -20
        # The inputs themselves, so that a run on another machine can be replayed here.
        local input
        for input in "$artifacts"*; do
            [[ -f $input ]] || continue
            echo "input $(basename "$input") as base64:"
            base64 -w 100 "$input" | head -40
        done
        return 1
    fi
    echo "ok   fuzz_$target: $stats corpus $(find "$corpus" -type f | wc -l) files"
}

echo "fuzzing each target for ${seconds}s in $work"
failed=0
pids=()
names=()
for target in "${targets[@]}"; do
    run_target "$target" >"$work/$target.result" 2>&1 &
    pids+=($!)
    names+=("$target")
    if ((${#pids[@]} >= jobs)); then
        wait "${pids[0]}" || failed=1
        cat "$work/${names[0]}.result"
        pids=("${pids[@]:1}")
        names=("${names[@]:1}")
    fi
done
for i in "${!pids[@]}"; do
    wait "${pids[$i]}" || failed=1
    cat "$work/${names[$i]}.result"
done

if ((failed)); then
    echo "fuzzing found a problem; inputs are in $work/artifacts"
    exit 1
fi
echo "all fuzz targets ran ${seconds}s without a finding"
