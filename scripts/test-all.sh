#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds and runs every test (the ci preset: the release's optimisation without debug
# information or benchmarks, so that a fresh machine builds it quickly), then a short run of each
# fuzzer (libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer).
#   scripts/test-all.sh [FUZZ_SECONDS]     (default 20 seconds per fuzz target)
# The whole suite under the sanitizers: scripts/test-asan.sh (longer; not part of this run).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset ci
cmake --build --preset ci
ctest --preset ci

PELLIMO_FUZZ_JOBS=${PELLIMO_FUZZ_JOBS:-2} scripts/fuzz-smoke.sh "${1:-20}"
