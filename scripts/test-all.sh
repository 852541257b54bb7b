#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds and runs every test: the whole suite in the normal build, the whole suite again with
# AddressSanitizer and UndefinedBehaviorSanitizer (leaks included), then a short run of each fuzzer.
#   scripts/test-all.sh [FUZZ_SECONDS]     (default 20 seconds per fuzz target)
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default
cmake --build --preset default
ctest --preset default

cmake --preset asan
cmake --build --preset asan
ctest --preset asan

scripts/fuzz-smoke.sh "${1:-20}"
